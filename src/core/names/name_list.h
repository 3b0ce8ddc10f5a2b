#pragma once
// Bringing a list of names in: from a text or CSV file (a spreadsheet's export, a chat message
// saved as a file) or from pasted or dropped text, and what the preview marks for each name.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace names {

// Larger files are no list of names, and are not read at all.
constexpr qint64 kMaxNameListBytes = 1024 * 1024;

// How a file's bytes were read as text.
enum class TextEncoding { Utf8, Utf16, Cp932 };

// A list of names read from a file or a pasted text, each with the line of the text its row
// starts on, or why none could be read (a Japanese reason for a message that names the file;
// empty when the list was read). A row whose names cell is empty gives an empty name.
struct NameListRead
{
    QStringList names;
    QList<int> lines;
    TextEncoding encoding = TextEncoding::Utf8;
    QString error;
};

// What a file's name says its rows are: CSV cells separated by commas (and tabs), any other
// list (.txt, .tsv) cells separated by tabs.
enum class ListFormat { TabSeparated, Csv };
ListFormat listFormatOf(const QString &path);

// The names in a text: rows of cells, the names column chosen by its heading, else the first
// column that is not all numbers; when no row has a second cell filled, each row's one cell.
// A heading row is dropped, and so are rows without any text; a row with text but an empty names
// cell keeps its place as an empty name.
NameListRead namesOfText(QStringView text, ListFormat format);

// The names in a file's bytes: UTF-8 or UTF-16 with a byte-order mark, UTF-8 without one when
// the bytes are UTF-8 but for a few stray bytes, otherwise code page 932. Bytes that are no text, or text without
// names, give an error and no names.
NameListRead readNameList(const QByteArray &bytes, ListFormat format = ListFormat::Csv);

// The same from a file, with the reasons a file gives no list: missing, unreadable or not a
// regular file, larger than kMaxNameListBytes, not text, no names in it.
NameListRead readNameListFile(const QString &path);

// Pasted or dropped text as names for consecutive boxes: its rows of tab-separated cells read
// as a file's are. Commas stay in a name.
QStringList pastedNames(const QString &text);

// Whether pasted text is a block for several boxes (more than one row, or cells), rather than a
// text for the one box it is pasted into.
bool isBlock(const QString &text);

// What the preview marks for a name.
struct NameMarks
{
    bool beyondBoxes = false; // its row is past the last box: left out
    bool duplicate = false;   // the same name appears earlier in the list
    bool unstorable = false;  // a character code page 932 cannot hold: it will be replaced
    bool garbled = false;     // a character the decoding could not make out, or unusual for it
    bool empty = false;       // the row has no name
};

// The marks for each name of a list, in order, for kBoxCount boxes.
QList<NameMarks> markNames(const QStringList &names, TextEncoding encoding = TextEncoding::Utf8);

// Whether a name read with the encoding looks garbled: U+FFFD or a control character; read as
// code page 932, a kanji or kana between two Latin letters or half-width kana touching one (what
// a Latin-1 file's accented letters become); read as UTF-8 or UTF-16, Ã or Â before a Latin-1
// sign or letter (UTF-8 read once as Latin-1).
bool looksGarbled(const QString &name, TextEncoding encoding);

} // namespace names
