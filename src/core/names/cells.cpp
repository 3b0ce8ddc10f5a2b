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
    text.replace(u'\t', u' ');
    return text.trimmed();
}

} // namespace

QList<CellRow> cellRows(QStringView text, Separators separators)
{
    QList<CellRow> rows;
    CellRow row{1, {}};
    QString cell;
    bool atCellStart = true;
    bool quoted = false;
    int line = 1;
    const auto endCell = [&] {
        row.cells << cleanCell(cell);
        cell.clear();
        atCellStart = true;
    };
    const auto endRow = [&] {
        endCell();
        if (std::any_of(row.cells.cbegin(), row.cells.cend(), [](const QString &c) { return !c.isEmpty(); }))
            rows << row;
        row = CellRow{line, {}};
    };
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text[i];
        // CR LF is one line end; a lone CR or LF is one too.
        const bool lineEnd = c == u'\n' || (c == u'\r' && !(i + 1 < size && text[i + 1] == u'\n'));
        if (lineEnd)
            ++line;
        if (quoted) {
            const bool quoteFollows = i + 1 < size && text[i + 1] == u'"';
            if (c == u'"' && !quoteFollows)
                quoted = false;
            else
                cell += c;
            if (c == u'"' && quoteFollows)
                ++i;
        } else if (c == u'"' && atCellStart) {
            quoted = true;
            atCellStart = false;
        } else if (c == u'\t' || (c == u',' && separators == Separators::TabsAndCommas)) {
            endCell();
        } else if (lineEnd) {
            endRow();
        } else if (c != u'\r') {
            // Blanks before an opening quote still let the quote open the cell.
            if (!c.isSpace())
                atCellStart = false;
            cell += c;
        }
    }
    endRow();
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

int namesColumn(const QList<CellRow> &rows, bool *heading)
{
    *heading = false;
    if (rows.isEmpty())
        return 0;
    const QStringList &first = rows.first().cells;
    for (int c = 0; c < first.size(); ++c) {
        if (isHeading(first[c])) {
            *heading = true;
            return c;
        }
    }
    qsizetype columns = 0;
    for (const CellRow &row : rows)
        columns = std::max(columns, row.cells.size());
    for (int c = 0; c < columns; ++c) {
        const bool allNumbers = std::all_of(rows.cbegin(), rows.cend(), [c](const CellRow &row) {
            const QString cell = row.cells.value(c);
            return cell.isEmpty() || isNumber(cell);
        });
        const bool anyText = std::any_of(rows.cbegin(), rows.cend(), [c](const CellRow &row) {
            return !row.cells.value(c).isEmpty();
        });
        if (anyText && !allNumbers)
            return c;
    }
    return 0;
}

} // namespace names
