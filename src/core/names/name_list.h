#pragma once
// Bringing a list of names in: from a text or CSV file (a spreadsheet's export, a chat message
// saved as a file) or from pasted text, and what the preview marks for each name.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace names {

// Larger files are no list of names, and are not read at all.
constexpr qint64 kMaxNameListBytes = 1024 * 1024;

// A list of names read from a file, or why none could be read (a Japanese reason for a message
// that names the file; empty when the list was read).
struct NameListRead
{
    QStringList names;
    QString error;
};

// The names in a text or CSV file's bytes: UTF-8 or UTF-16 with a byte-order mark, UTF-8 without
// one when the bytes are valid UTF-8, otherwise code page 932. CSV as Excel writes it, or cells
// separated by tabs; the first cell of each row, trimmed and on one line. Blank rows, rows with a
// blank first cell and a heading row (氏名, 名前, Name ...) are dropped. Bytes that are no text,
// or text without names, give an error and no names.
NameListRead readNameList(const QByteArray &bytes);

// The same from a file, with the reasons a file gives no list: missing, unreadable or not a
// regular file, larger than kMaxNameListBytes, not text, no names in it.
NameListRead readNameListFile(const QString &path);

// Pasted text as names for consecutive boxes: one line each, blank lines dropped, spaces around
// a name trimmed, and from a spreadsheet row (cells separated by tabs) the first cell.
QStringList pastedNames(const QString &text);

// What the preview marks for a name.
struct NameMarks
{
    bool beyondBoxes = false; // its row is past the last box: left out
    bool duplicate = false;   // the same name appears earlier in the list
    bool unstorable = false;  // a character code page 932 cannot hold (U+FFFD among them)
};

// The marks for each name of a list, in order, for kBoxCount boxes.
QList<NameMarks> markNames(const QStringList &names);

} // namespace names
