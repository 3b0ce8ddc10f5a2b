#include "name_list.h"

#include "lottery/state.h"
#include "settings/cp932.h"

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
    return {{}, reason};
}

// The text of a file's bytes: by its byte-order mark (UTF-8, UTF-16), as UTF-8 when the bytes are
// valid UTF-8, otherwise as code page 932, what Excel and Notepad on a Japanese Windows write.
// Nothing when NUL bytes show a binary file (in UTF-16 they are part of every ASCII character).
std::optional<QString> decodedText(const QByteArray &bytes)
{
    if (const auto marked = QStringConverter::encodingForData(bytes)) {
        QStringDecoder decoder(*marked); // skips the byte-order mark
        return decoder.decode(bytes);
    }
    if (bytes.contains('\0'))
        return std::nullopt;
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
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

// The first cell of each row of CSV as Excel writes it (quoted cells with doubled quotes, commas
// and line breaks inside quotes) or of rows copied from a spreadsheet (cells separated by tabs).
QStringList firstCells(const QString &text)
{
    QStringList cells;
    QString cell;
    int column = 0;
    bool atCellStart = true;
    bool quoted = false;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text[i];
        const bool quoteFollows = i + 1 < size && text[i + 1] == u'"';
        if (quoted) {
            if (c == u'"' && !quoteFollows)
                quoted = false;
            else if (column == 0)
                cell += c;
            if (c == u'"' && quoteFollows)
                ++i;
        } else if (c == u'"' && atCellStart) {
            quoted = true;
            atCellStart = false;
        } else if (c == u',' || c == u'\t') {
            ++column;
            atCellStart = true;
        } else if (c == u'\r' || c == u'\n') { // CR LF makes a blank row, dropped with the others
            cells << cell;
            cell.clear();
            column = 0;
            atCellStart = true;
        } else {
            atCellStart = false;
            if (column == 0)
                cell += c;
        }
    }
    cells << cell; // the last row, with or without a line end after it
    return cells;
}

// The heading of a names column, as spreadsheets for parties and classes title it.
bool isHeading(const QString &cell)
{
    static const QStringList headings = {
        QStringLiteral("氏名"),   QStringLiteral("名前"),         QStringLiteral("お名前"),
        QStringLiteral("なまえ"), QStringLiteral("ナマエ"),       QStringLiteral("名"),
        QStringLiteral("参加者"), QStringLiteral("参加者名"),     QStringLiteral("氏名（漢字）"),
        QStringLiteral("氏名(漢字)"), QStringLiteral("name"),     QStringLiteral("names"),
        QStringLiteral("full name"),
    };
    return headings.contains(cell, Qt::CaseInsensitive);
}

} // namespace

NameListRead readNameList(const QByteArray &bytes)
{
    const std::optional<QString> text = decodedText(bytes);
    if (!text || !readsAsText(*text))
        return failure(QStringLiteral("テキストファイルではありません。"));

    NameListRead read;
    bool firstRow = true;
    for (const QString &cell : firstCells(*text)) {
        // A line break inside a quoted cell is no part of a name, which the boxes show on one line.
        const QString name = settings::singleLine(cell).trimmed();
        if (name.isEmpty())
            continue;
        if (!(firstRow && isHeading(name)))
            read.names << name;
        firstRow = false;
    }
    if (read.names.isEmpty())
        read.error = QStringLiteral("名前が見つかりません。");
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
    return readNameList(bytes);
}

QStringList pastedNames(const QString &text)
{
    QStringList names;
    for (const QString &line : QString(text).replace(u'\r', u'\n').split(u'\n')) {
        const QString name = line.section(u'\t', 0, 0).trimmed();
        if (!name.isEmpty())
            names << name;
    }
    return names;
}

QList<NameMarks> markNames(const QStringList &names)
{
    QList<NameMarks> marks;
    marks.reserve(names.size());
    QSet<QString> earlier;
    for (const QString &name : names) {
        NameMarks mark;
        mark.beyondBoxes = marks.size() >= kBoxCount;
        mark.duplicate = earlier.contains(name);
        // cp932Encodable rejects U+FFFD, the mark of bytes the file's decoding could not read.
        mark.unstorable = !std::all_of(name.begin(), name.end(), [](QChar c) { return settings::cp932Encodable(c); });
        earlier.insert(name);
        marks << mark;
    }
    return marks;
}

} // namespace names
