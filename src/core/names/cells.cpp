#include "cells.h"
#include "settings/cp932.h"

#include <algorithm>

namespace names {

namespace {

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

// A cell as a box would hold it: on one line, without the blanks around it, no tab inside.
QString cleanCell(const QString &cell)
{
    QString text = settings::singleLine(cell);
    if (text.contains(u'\t'))
        text.replace(u'\t', u' ');
    return text.trimmed();
}

} // namespace

CellRows cellRows(QStringView text, Separators separators)
{
    CellRows rows;
    rows.starts << 0;
    int rowLine = 1;
    // An unquoted cell is a slice of the text, taken whole at its end; a quoted one is built.
    qsizetype cellStart = 0;
    QString quotedCell;
    bool inQuotes = false;
    bool wasQuoted = false;
    bool rowHasText = false;
    int line = 1;
    const qsizetype size = text.size();
    const auto endCell = [&](qsizetype end) {
        QString cell;
        if (wasQuoted) {
            // Text after the closing quote belongs to the cell, as spreadsheets read it.
            quotedCell += text.sliced(cellStart, end - cellStart);
            cell = cleanCell(quotedCell);
            quotedCell.clear();
        } else {
            cell = cleanCell(text.sliced(cellStart, end - cellStart).toString());
        }
        rowHasText = rowHasText || !cell.isEmpty();
        rows.cells << cell;
        wasQuoted = false;
        cellStart = end + 1;
    };
    const auto endRow = [&](qsizetype end) {
        endCell(end);
        if (rowHasText) {
            rows.starts << rows.cells.size();
            rows.lines << rowLine;
        } else {
            rows.cells.resize(rows.starts.last());
        }
        rowHasText = false;
        rowLine = line;
    };
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text[i];
        if (inQuotes) {
            if (c == u'\n' || (c == u'\r' && !(i + 1 < size && text[i + 1] == u'\n')))
                ++line;
            if (c != u'"') {
                quotedCell += c;
            } else if (i + 1 < size && text[i + 1] == u'"') {
                quotedCell += c;
                ++i;
            } else {
                inQuotes = false;
                cellStart = i + 1;
            }
            continue;
        }
        if (c == u'"' && !wasQuoted && text.sliced(cellStart, i - cellStart).trimmed().isEmpty()) {
            inQuotes = true;
            wasQuoted = true;
        } else if (c == u'\t' || (c == u',' && separators == Separators::TabsAndCommas)) {
            endCell(i);
        } else if (c == u'\n' || (c == u'\r' && !(i + 1 < size && text[i + 1] == u'\n'))) {
            // CR LF is one line end (its CR is dropped with the cell's blanks); a lone CR or LF is one too.
            ++line;
            endRow(i);
        }
    }
    if (inQuotes)
        cellStart = size; // an unclosed quote runs to the end of the text
    endRow(size);
    return rows;
}

bool isNumber(QStringView cell)
{
    bool digits = false;
    bool point = false;
    for (qsizetype i = 0; i < cell.size(); ++i) {
        const QChar c = cell[i];
        if (c.isDigit()) {
            digits = true;
        } else if ((c == u'.' || c == u'．') && !point && digits) {
            point = true;
        } else if (!((c == u'-' || c == u'－') && i == 0)) {
            return false;
        }
    }
    return digits;
}

int namesColumn(const CellRows &rows, bool *heading)
{
    *heading = false;
    if (rows.size() == 0)
        return 0;
    for (int c = 0; c < rows.cellCount(0); ++c) {
        if (isHeading(rows.cell(0, c))) {
            *heading = true;
            return c;
        }
    }
    qsizetype columns = 0;
    for (qsizetype r = 0; r < rows.size(); ++r)
        columns = std::max(columns, rows.cellCount(r));
    for (int c = 0; c < columns; ++c) {
        bool anyText = false;
        bool allNumbers = true;
        for (qsizetype r = 0; r < rows.size() && allNumbers; ++r) {
            const QString cell = rows.cell(r, c);
            anyText = anyText || !cell.isEmpty();
            allNumbers = cell.isEmpty() || isNumber(cell);
        }
        if (anyText && !allNumbers)
            return c;
    }
    return 0;
}

} // namespace names
