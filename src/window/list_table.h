#pragma once
// The read-only lists the dialogs show: compact rows, chosen whole, a cell of text each.

#include <QStringList>

class QTableWidget;
class QWidget;

QTableWidget *listTable(const QStringList &headings, const QString &objectName, QWidget *parent);

// Puts a row's texts into its cells, the row count growing to hold it.
void setRowTexts(QTableWidget *table, int row, const QStringList &texts);
