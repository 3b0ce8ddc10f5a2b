#include "list_table.h"

#include <QHeaderView>
#include <QTableWidget>

QTableWidget *listTable(const QStringList &headings, const QString &objectName, QWidget *parent)
{
    auto *table = new QTableWidget(0, int(headings.size()), parent);
    table->setObjectName(objectName);
    table->setHorizontalHeaderLabels(headings);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

void setRowTexts(QTableWidget *table, int row, const QStringList &texts)
{
    if (row >= table->rowCount())
        table->setRowCount(row + 1);
    for (int c = 0; c < texts.size(); ++c)
        table->setItem(row, c, new QTableWidgetItem(texts[c]));
}
