// Writing a lottery's canonical text, its hash and the short code.
#include "commitment.h"

#include <QCryptographicHash>

namespace commitment {

namespace {

// One text on one line: the characters that would break the line or the fields escaped.
QByteArray escaped(const QString &text)
{
    QByteArray out;
    const QByteArray bytes = text.toUtf8();
    out.reserve(bytes.size());
    for (const char c : bytes) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
    return out;
}

QByteArray field(const char *key, const QByteArray &value)
{
    return QByteArray(key) + '\t' + value + '\n';
}

} // namespace

QByteArray modeWord(int mode)
{
    switch (mode) {
    case 0: return "winner";
    case 1: return "lottery";
    case 2: return "number";
    default: return {};
    }
}

QByteArray timeText(const QDateTime &time)
{
    const int offset = time.offsetFromUtc();
    const int minutes = (offset < 0 ? -offset : offset) / 60;
    return time.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")).toLatin1() + (offset < 0 ? '-' : '+')
        + QStringLiteral("%1:%2").arg(minutes / 60, 2, 10, QLatin1Char('0')).arg(minutes % 60, 2, 10, QLatin1Char('0')).toLatin1();
}

QByteArray canonicalText(const Content &content)
{
    QByteArray text = QByteArray(kFirstLine) + '\n';
    text += field("memo", escaped(content.memo));
    text += field("mode", modeWord(content.mode));
    text += field("round", QByteArray::number(content.round));
    text += field("fixed-at", timeText(content.fixedAt));
    for (const Row &row : content.rows)
        text += field("participant", escaped(row.name) + '\t' + escaped(row.result));
    text += field("nonce", content.nonce.toHex());
    return text;
}

QByteArray sha256Hex(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

QString shortCode(const QByteArray &hashHex)
{
    if (hashHex.size() < 8)
        return {};
    return QString::fromLatin1(hashHex.left(4) + '-' + hashHex.mid(4, 4));
}

Commitment commit(const Content &content)
{
    Commitment made;
    made.text = canonicalText(content);
    made.hash = sha256Hex(made.text);
    made.nonceHex = content.nonce.toHex();
    made.fixedAt = content.fixedAt;
    return made;
}

int firstDifferentLine(const QByteArray &a, const QByteArray &b)
{
    if (a == b)
        return 0;
    const QList<QByteArray> left = a.split('\n');
    const QList<QByteArray> right = b.split('\n');
    for (qsizetype i = 0; i < std::max(left.size(), right.size()); ++i) {
        if (i >= left.size() || i >= right.size() || left[i] != right[i])
            return int(i + 1);
    }
    return 0;
}

} // namespace commitment
