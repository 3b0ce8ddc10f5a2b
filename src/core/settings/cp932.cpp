#include "cp932.h"

#include <algorithm>

#include <QStringDecoder>
#include <QStringEncoder>

#include <array>
#include <atomic>
#include <cstdint>

namespace settings {

namespace {

// ICU's converter of this name swaps 0x1A, 0x1C and 0x7F with one another, and its mark for a
// bad byte is U+001A; so ASCII never goes through it, only characters above ASCII, one at a time.
constexpr char kConverterName[] = "windows-31j";
constexpr QChar kReplacement = QChar::ReplacementCharacter;

bool isLeadByte(uchar b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool isTrailByte(uchar b)
{
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

bool isHalfWidthKana(uchar b)
{
    return b >= 0xA1 && b <= 0xDF;
}

// One character of one or two bytes; U+FFFD when code page 932 has none there.
QChar convertToChar(QByteArrayView unit)
{
    QStringDecoder decoder(kConverterName);
    const QString text = decoder(unit);
    if (decoder.hasError() || text.size() != 1 || text[0].unicode() < 0x80 || text[0].isSurrogate())
        return kReplacement;
    return text[0];
}

// Characters that input methods produce where code page 932 has a look-alike under another
// code point: each is stored as the character the look-alike's bytes decode to.
QChar mended(QChar c)
{
    switch (c.unicode()) {
    case 0x301C: return QChar(0xFF5E); // WAVE DASH -> 0x8160
    case 0x2016: return QChar(0x2225); // DOUBLE VERTICAL LINE -> 0x8161
    case 0x2212: return QChar(0xFF0D); // MINUS SIGN -> 0x817C
    case 0x00A2: return QChar(0xFFE0); // CENT SIGN -> 0x8191
    case 0x00A3: return QChar(0xFFE1); // POUND SIGN -> 0x8192
    case 0x00AC: return QChar(0xFFE2); // NOT SIGN -> 0x81CA
    case 0x2014: return QChar(0x2015); // EM DASH -> 0x815C
    default: return c;
    }
}

// The bytes of one non-ASCII character, or nothing when code page 932 cannot hold it.
QByteArray convertToBytes(QChar c)
{
    if (c.isSurrogate() || c == kReplacement)
        return {};
    QStringEncoder encoder(kConverterName);
    const QByteArray bytes = encoder(QStringView(&c, 1));
    if (encoder.hasError() || bytes.isEmpty() || bytes.size() > 2 || uchar(bytes[0]) < 0x80)
        return {};
    return bytes;
}

// Opening a converter costs far more than converting one character, and a file holds thousands
// of them; so each unit is converted once per run and remembered. Entries are only ever added,
// and threads that race on one compute the same value. 0 marks a unit not converted yet.
QChar decodeUnit(QByteArrayView unit)
{
    static std::array<std::atomic<char16_t>, 0x10000> known;
    const uint key = unit.size() == 1 ? uchar(unit[0]) : uint(uchar(unit[0])) << 8 | uchar(unit[1]);
    char16_t c = known[key].load(std::memory_order_relaxed);
    if (c == 0) {
        c = convertToChar(unit).unicode();
        known[key].store(c, std::memory_order_relaxed);
    }
    return QChar(c);
}

// One character's bytes in code page 932; none when it cannot hold the character.
struct EncodedUnit
{
    char bytes[2] = {};
    qsizetype size = 0;
    QByteArrayView view() const { return QByteArrayView(bytes, size); }
};

// The same for encoding; an entry holds a "known" bit, the byte count and the bytes.
EncodedUnit encodeUnit(QChar c)
{
    static std::array<std::atomic<uint32_t>, 0x10000> known;
    constexpr uint32_t kKnown = 1u << 24;
    uint32_t entry = known[c.unicode()].load(std::memory_order_relaxed);
    if (entry == 0) {
        const QByteArray bytes = convertToBytes(c);
        entry = kKnown | uint32_t(bytes.size()) << 16;
        for (qsizetype i = 0; i < bytes.size(); ++i)
            entry |= uint32_t(uchar(bytes[i])) << (8 * (1 - i));
        known[c.unicode()].store(entry, std::memory_order_relaxed);
    }
    return EncodedUnit{{char(entry >> 8 & 0xFF), char(entry & 0xFF)}, qsizetype(entry >> 16 & 0xFF)};
}

bool isLineBreak(QChar c)
{
    return c == u'\r' || c == u'\n' || c == QChar(0x0085) || c == QChar::LineSeparator
        || c == QChar::ParagraphSeparator;
}

} // namespace

bool cp932Available()
{
    QStringEncoder encoder(kConverterName);
    QStringDecoder decoder(kConverterName);
    if (!encoder.isValid() || !decoder.isValid())
        return false;
    const QByteArray bytes = encoder(u"\u3042");
    const QString text = decoder(bytes);
    return bytes == "\x82\xA0" && text == u"\u3042";
}

qsizetype cp932CompleteLength(QByteArrayView bytes)
{
    qsizetype i = 0;
    while (i < bytes.size()) {
        const uchar b = uchar(bytes[i]);
        if (!isLeadByte(b))
            ++i;
        else if (i + 1 == bytes.size())
            return i;
        else
            i += isTrailByte(uchar(bytes[i + 1])) ? 2 : 1;
    }
    return i;
}

QString decodeCp932(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size());
    qsizetype i = 0;
    while (i < bytes.size()) {
        const uchar b = uchar(bytes[i]);
        if (b < 0x80) {
            text += QChar(b);
            ++i;
        } else if (isHalfWidthKana(b)) {
            text += decodeUnit(QByteArrayView(bytes).sliced(i, 1));
            ++i;
        } else if (isLeadByte(b) && i + 1 < bytes.size() && isTrailByte(uchar(bytes[i + 1]))) {
            text += decodeUnit(QByteArrayView(bytes).sliced(i, 2));
            i += 2;
        } else {
            text += kReplacement;
            ++i;
        }
    }
    return text;
}

void appendCp932(QByteArray &bytes, QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.unicode() < 0x80) {
            bytes += char(c.unicode());
            continue;
        }
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        const EncodedUnit unit = encodeUnit(mended(c));
        bytes += unit.size == 0 ? QByteArrayView("?") : unit.view();
    }
}

QByteArray encodeCp932(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size() * 2);
    appendCp932(bytes, text);
    return bytes;
}

bool cp932Encodable(QChar c)
{
    return c.unicode() < 0x80 || encodeUnit(mended(c)).size != 0;
}

QString singleLine(const QString &text, int *position)
{
    const auto breakOnlyFrom = [&text](qsizetype from) {
        for (qsizetype j = from; j < text.size(); ++j) {
            if (!isLineBreak(text[j]))
                return false;
        }
        return true;
    };

    // Most texts have no line break: they are their own line, and the cursor stays.
    if (std::none_of(text.begin(), text.end(), isLineBreak))
        return text;
    const qsizetype cursor = position ? *position : -1;
    QString line;
    line.reserve(text.size());
    bool pendingBreak = false;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i == cursor)
            *position = int(line.size()) + (pendingBreak && !line.isEmpty() && !breakOnlyFrom(i) ? 1 : 0);
        if (i == text.size())
            break;
        const QChar c = text[i];
        if (isLineBreak(c)) {
            pendingBreak = true;
            continue;
        }
        if (pendingBreak && !line.isEmpty())
            line += u' ';
        pendingBreak = false;
        line += c;
    }
    return line;
}

} // namespace settings
