#include "name_list.h"

#include "base/state.h"
#include "cells.h"
#include "settings/cp932.h"
#include "storable.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringDecoder>

#include <algorithm>
#include <optional>

namespace names {

namespace {

NameListRead failure(const QString &reason)
{
    NameListRead read;
    read.error = reason;
    return read;
}

// Whether bytes that are no valid UTF-8 are still UTF-8 with a few stray bytes (a name typed in
// another encoding, a byte cut off): far more well-formed sequences of two to four bytes than
// bytes that fit none. Read as code page 932, such a file would garble every name; read as UTF-8,
// only the names with the stray bytes show replacement characters, which the preview marks.
bool mostlyUtf8(const QByteArray &bytes)
{
    qsizetype sequences = 0;
    qsizetype stray = 0;
    for (qsizetype i = 0; i < bytes.size();) {
        const uchar b = uchar(bytes[i]);
        const int length = b < 0x80 ? 1 : (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : (b & 0xF8) == 0xF0 ? 4 : 0;
        bool wellFormed = length > 0 && i + length <= bytes.size();
        for (int k = 1; wellFormed && k < length; ++k)
            wellFormed = (uchar(bytes[i + k]) & 0xC0) == 0x80;
        if (!wellFormed) {
            ++stray;
            ++i;
            continue;
        }
        sequences += length > 1 ? 1 : 0;
        i += length;
    }
    return sequences > 4 * stray;
}

// The text of a file's bytes: by its byte-order mark (UTF-8, UTF-16), as UTF-8 when the bytes are
// (mostly) valid UTF-8, otherwise as code page 932, what Excel and Notepad on a Japanese Windows write.
// Nothing when NUL bytes show a binary file (in UTF-16 they are part of every ASCII character).
std::optional<QString> decodedText(const QByteArray &bytes, TextEncoding *encoding)
{
    if (const auto marked = QStringConverter::encodingForData(bytes)) {
        *encoding = *marked == QStringConverter::Utf8 ? TextEncoding::Utf8 : TextEncoding::Utf16;
        QStringDecoder decoder(*marked); // skips the byte-order mark
        return decoder.decode(bytes);
    }
    if (bytes.contains('\0'))
        return std::nullopt;
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString text = utf8.decode(bytes);
    *encoding = TextEncoding::Utf8;
    if (!utf8.hasError() || mostlyUtf8(bytes))
        return text;
    *encoding = TextEncoding::Cp932;
    return settings::decodeCp932(bytes);
}

// Whether decoded text reads as text: at most half of its visible characters are control
// characters or characters the decoding could not make out.
bool readsAsText(const QString &text)
{
    qsizetype visible = 0;
    qsizetype garbled = 0;
    for (QChar c : text) {
        if (c.isSpace())
            continue;
        ++visible;
        if (c == QChar::ReplacementCharacter || c.category() == QChar::Other_Control)
            ++garbled;
    }
    return garbled * 2 <= visible;
}

bool isLatinLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isHalfWidthKana(QChar c)
{
    return c >= QChar(0xFF61) && c <= QChar(0xFF9F);
}

} // namespace

ListFormat listFormatOf(const QString &path)
{
    return QFileInfo(path).suffix().compare(QLatin1String("csv"), Qt::CaseInsensitive) == 0 ? ListFormat::Csv
                                                                                            : ListFormat::TabSeparated;
}

NameListRead namesOfText(QStringView text, ListFormat format)
{
    const CellRows rows = cellRows(text, format == ListFormat::Csv ? Separators::TabsAndCommas : Separators::Tabs);
    // The first filled cell of a row, and whether it is the only one.
    const auto firstFilled = [&rows](qsizetype r, bool *only) -> const QString & {
        static const QString none;
        const QString *found = &none;
        *only = true;
        for (qsizetype k = rows.starts[r]; k < rows.starts[r + 1]; ++k) {
            const QString &cell = rows.cells.at(k);
            if (cell.isEmpty())
                continue;
            if (!found->isEmpty()) {
                *only = false;
                break;
            }
            found = &cell;
        }
        return *found;
    };
    bool heading = false;
    const int column = namesColumn(rows, &heading);
    // A list of one name a row, whatever column each stands in (a stray tab before a name).
    bool oneCellEach = !heading;
    for (qsizetype r = 0; r < rows.size() && oneCellEach; ++r)
        firstFilled(r, &oneCellEach);
    NameListRead read;
    read.names.reserve(rows.size());
    read.lines.reserve(rows.size());
    bool anyName = false;
    bool only = true;
    for (qsizetype r = heading ? 1 : 0; r < rows.size(); ++r) {
        const QString name = oneCellEach ? firstFilled(r, &only) : rows.cell(r, column);
        anyName = anyName || !name.isEmpty();
        read.names << name;
        read.lines << rows.lines[r];
    }
    if (!anyName)
        read = failure(QStringLiteral("名前が見つかりません。"));
    return read;
}

NameListRead readNameList(const QByteArray &bytes, ListFormat format)
{
    TextEncoding encoding = TextEncoding::Utf8;
    const std::optional<QString> text = decodedText(bytes, &encoding);
    if (!text || !readsAsText(*text))
        return failure(QStringLiteral("テキストファイルではありません。"));
    NameListRead read = namesOfText(*text, format);
    read.encoding = encoding;
    return read;
}

NameListRead readNameListFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return failure(QStringLiteral("ファイルが見つかりません。"));
    if (!info.isFile())
        return failure(QStringLiteral("ファイルを読めません（通常のファイルではありません）。"));

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (file.error() == QFileDevice::PermissionsError)
            return failure(QStringLiteral("ファイルを読めません（権限がありません）。"));
        return failure(QStringLiteral("ファイルを読めません。"));
    }
    // One byte more than the limit tells a file too large, without reading all of it.
    const QByteArray bytes = file.read(kMaxNameListBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return failure(QStringLiteral("ファイルを読めません。"));
    if (bytes.size() > kMaxNameListBytes)
        return failure(QStringLiteral("ファイルが大きすぎます（1 MiB まで）。"));
    return readNameList(bytes, listFormatOf(path));
}

QStringList pastedNames(const QString &text)
{
    return namesOfText(text, ListFormat::TabSeparated).names;
}

bool isBlock(const QString &text)
{
    const CellRows rows = cellRows(text, Separators::Tabs);
    return rows.size() > 1 || (rows.size() == 1 && rows.cellCount(0) > 1);
}

bool looksGarbled(const QString &name, TextEncoding encoding)
{
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        if (c == QChar::ReplacementCharacter || c.category() == QChar::Other_Control)
            return true;
        const QChar before = i > 0 ? name[i - 1] : QChar();
        const QChar after = i + 1 < name.size() ? name[i + 1] : QChar();
        if (encoding == TextEncoding::Cp932) {
            if (c.unicode() >= 0x80 && !isHalfWidthKana(c) && isLatinLetter(before) && isLatinLetter(after))
                return true;
            if (isHalfWidthKana(c) && (isLatinLetter(before) || isLatinLetter(after)))
                return true;
        } else if ((c == u'Ã' || c == u'Â') && after.unicode() >= 0x80 && after.unicode() <= 0xBF) {
            return true;
        }
    }
    return false;
}

QList<NameMarks> markNames(const QStringList &names, TextEncoding encoding)
{
    QList<NameMarks> marks;
    marks.reserve(names.size());
    QSet<QString> earlier;
    for (const QString &name : names) {
        NameMarks mark;
        mark.beyondBoxes = marks.size() >= kBoxCount;
        mark.empty = name.isEmpty();
        mark.duplicate = !mark.empty && earlier.contains(name);
        mark.unstorable = storableForm(name) != name;
        mark.garbled = looksGarbled(name, encoding);
        earlier.insert(name);
        marks << mark;
    }
    return marks;
}

} // namespace names
