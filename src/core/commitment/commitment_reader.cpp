// Reading a canonical text back, for checking it: every fault is found with its line, and only a
// text that is exactly what the program writes is read.
#include "base/state.h"
#include "commitment.h"

#include <QStringDecoder>

#include <array>

namespace commitment {

namespace {

// The fields in the order the text holds them; participants repeat.
enum Field { Memo, Mode, Round, FixedAt, Participant, Nonce, Done };
constexpr std::array<const char *, Done> kKeys = {"memo", "mode", "round", "fixed-at", "participant", "nonce"};
constexpr int kMinParticipants = 2;

QString keyName(int field)
{
    return QString::fromLatin1(kKeys[size_t(field)]);
}

int fieldOf(const QByteArray &key)
{
    for (size_t i = 0; i < kKeys.size(); ++i) {
        if (key == kKeys[i])
            return int(i);
    }
    return -1;
}

// A text written with escapes, back as it was; a lone or unknown escape, or a tab, is a fault.
std::optional<QString> unescaped(const QByteArray &value, QString *why)
{
    QByteArray out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '\t') {
            *why = QStringLiteral("値のなかにタブがあります。");
            return std::nullopt;
        }
        if (c != '\\') {
            out += c;
            continue;
        }
        const char next = i + 1 < value.size() ? value[i + 1] : '\0';
        switch (next) {
        case '\\': out += '\\'; break;
        case 't': out += '\t'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        default:
            *why = QStringLiteral("「\\」のあとの文字が \\\\、\\t、\\n、\\r のどれでもありません。");
            return std::nullopt;
        }
        ++i;
    }
    return QString::fromUtf8(out);
}

class Reader
{
public:
    explicit Reader(const QByteArray &bytes) : m_bytes(bytes) {}

    Reading read();

private:
    Reading fault(int line, const QString &text) const { return Reading{std::nullopt, line, text}; }
    std::optional<QString> readValue(int field, const QByteArray &value);

    const QByteArray &m_bytes;
    Content m_content;
    QString m_why;
};

Reading Reader::read()
{
    if (m_bytes.isEmpty())
        return fault(0, QStringLiteral("ファイルが空です。"));
    QList<QByteArray> lines = m_bytes.split('\n');
    // Bytes that are no text are said before anything about the lines.
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int number = int(i + 1);
        if (lines[i].contains('\0'))
            return fault(number, QStringLiteral("文字ではないバイト（NUL）があります。テキストファイルではありません。"));
        QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
        const QString decoded = utf8.decode(lines[i]);
        if (utf8.hasError())
            return fault(number, QStringLiteral("UTF-8 として読めないバイトがあります。"));
        if (lines[i].contains('\r'))
            return fault(number, QStringLiteral("行末に CR があります（改行は LF だけです）。"));
    }
    // The text ends with a line feed: the last piece of the split is empty.
    if (!lines.constLast().isEmpty())
        return fault(int(lines.size()), QStringLiteral("最後の行が改行（LF）で終わっていません。"));
    lines.removeLast();
    const QByteArray first(kFirstLine);
    const QByteArray formatName = first.left(first.indexOf(' ') + 1);
    if (lines[0] != first) {
        if (lines[0].startsWith(formatName))
            return fault(1, QStringLiteral("照合用テキストの版「%1」には対応していません（読めるのは「%2」です）。")
                                .arg(QString::fromUtf8(lines[0].mid(formatName.size())),
                                     QString::fromLatin1(first.mid(formatName.size()))));
        return fault(1, QStringLiteral("あみだくじの照合用テキストではありません（1行目が「%1」ではありません）。")
                            .arg(QString::fromLatin1(first)));
    }

    int expected = Memo;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const int number = int(i + 1);
        const QByteArray &line = lines[i];
        const qsizetype tab = line.indexOf('\t');
        if (tab < 0)
            return fault(number, QStringLiteral("項目名のあとにタブがありません。"));
        const QByteArray key = line.left(tab);
        const int field = fieldOf(key);
        if (field < 0)
            return fault(number, QStringLiteral("知らない項目「%1」です。").arg(QString::fromUtf8(key)));
        if (expected == Done)
            return fault(number, QStringLiteral("nonce の行のあとに行があります。"));
        const bool participantsGoOn = field == Participant && expected == Nonce;
        if (field < expected && !participantsGoOn)
            return fault(number, QStringLiteral("項目「%1」が二度あります。").arg(keyName(field)));
        if (field > expected)
            return fault(number, QStringLiteral("項目「%1」がありません（「%2」の前にあるはずです）。")
                                     .arg(keyName(expected), keyName(field)));
        if (field == Nonce && m_content.rows.size() < kMinParticipants)
            return fault(number, QStringLiteral("参加者が %1 人より少なくなっています。").arg(kMinParticipants));
        if (!readValue(field, line.mid(tab + 1)))
            return fault(number, m_why);
        // After a participant comes another one or the nonce.
        expected = field == Participant ? Nonce : field + 1;
    }
    if (expected != Done)
        return fault(int(lines.size()) + 1, QStringLiteral("項目「%1」がありません。").arg(keyName(expected)));
    // Anything the fields allow but the program would write otherwise (a padded number, a time
    // in another form) is not the text that was hashed.
    const QByteArray again = canonicalText(m_content);
    if (again != m_bytes)
        return fault(firstDifferentLine(again, m_bytes), QStringLiteral("この行はプログラムが書く形ではありません。"));
    return Reading{m_content, 0, QString()};
}

std::optional<QString> Reader::readValue(int field, const QByteArray &value)
{
    switch (field) {
    case Memo:
        if (std::optional<QString> memo = unescaped(value, &m_why)) {
            m_content.memo = *memo;
            return memo;
        }
        return std::nullopt;
    case Mode:
        for (int mode = 0; !modeWord(mode).isEmpty(); ++mode) {
            if (value == modeWord(mode)) {
                m_content.mode = int16_t(mode);
                return QString::fromLatin1(value);
            }
        }
        m_why = QStringLiteral("モードは winner、lottery、number のどれかです。");
        return std::nullopt;
    case Round: {
        bool ok = false;
        const int round = value.toInt(&ok);
        if (!ok || round < 1 || QByteArray::number(round) != value) {
            m_why = QStringLiteral("回は 1 以上の整数です。");
            return std::nullopt;
        }
        m_content.round = round;
        return QString::fromLatin1(value);
    }
    case FixedAt: {
        const QDateTime time = QDateTime::fromString(QString::fromLatin1(value), Qt::ISODate);
        if (!time.isValid() || timeText(time) != value) {
            m_why = QStringLiteral("日時は 2026-12-07T13:44:05+09:00 の形です。");
            return std::nullopt;
        }
        m_content.fixedAt = time;
        return QString::fromLatin1(value);
    }
    case Participant: {
        if (m_content.rows.size() >= kBoxCount) {
            m_why = QStringLiteral("参加者が %1 人を超えています。").arg(kBoxCount);
            return std::nullopt;
        }
        const qsizetype tab = value.indexOf('\t');
        if (tab < 0) {
            m_why = QStringLiteral("名前と結果の間にタブがありません。");
            return std::nullopt;
        }
        const std::optional<QString> name = unescaped(value.left(tab), &m_why);
        const std::optional<QString> result = name ? unescaped(value.mid(tab + 1), &m_why) : std::nullopt;
        if (!result)
            return std::nullopt;
        if (name->isEmpty() || result->isEmpty()) {
            m_why = QStringLiteral("名前と結果のどちらかが空です。");
            return std::nullopt;
        }
        m_content.rows.append(Row{*name, *result});
        return name;
    }
    case Nonce: {
        const QByteArray bytes = QByteArray::fromHex(value);
        if (value.size() != 2 * kNonceBytes || bytes.toHex() != value) {
            m_why = QStringLiteral("nonce は小文字の 16 進数 %1 桁です。").arg(2 * kNonceBytes);
            return std::nullopt;
        }
        m_content.nonce = bytes;
        return QString::fromLatin1(value);
    }
    default:
        return std::nullopt;
    }
}

} // namespace

Reading readText(const QByteArray &bytes)
{
    return Reader(bytes).read();
}

} // namespace commitment
