#pragma once
// A list as rows of cells, the way spreadsheets copy and save it, and which column holds the
// names.

#include <QList>
#include <QString>
#include <QStringList>

namespace names {

// Cells are separated by tabs, and in a CSV file by commas too.
enum class Separators { Tabs, TabsAndCommas };

// The rows of a text, their cells one after another in one list (a list of a megabyte has some
// 200,000 rows; one list for all keeps them to one allocation each), with the line of the text
// each row starts on (1 for the first).
struct CellRows
{
    QStringList cells;
    QList<qsizetype> starts; // where each row's cells start in `cells`, and one past the last
    QList<int> lines;

    qsizetype size() const { return lines.size(); }
    qsizetype cellCount(qsizetype row) const { return starts[row + 1] - starts[row]; }
    // The cell, or an empty one past the row's last.
    QString cell(qsizetype row, qsizetype column) const
    {
        return column < cellCount(row) ? cells[starts[row] + column] : QString();
    }
};

// The rows of a text. A cell that starts with a double quote runs to the closing one, across
// separators and line breaks ("" inside it is one quote), as Excel writes and copies cells.
// Cells are trimmed and kept on one line; rows without any text are left out.
CellRows cellRows(QStringView text, Separators separators);

// The names column of a table: the one whose heading in the first row is a names heading
// (氏名, 名前, Name ...), else the first column whose cells are not all numbers (0 when every
// column is). `heading` tells whether the first row is a heading row.
int namesColumn(const CellRows &rows, bool *heading);

// Whether a cell is a number, as a numbering column holds it ("1", "０１", "2.5").
bool isNumber(QStringView cell);

} // namespace names
