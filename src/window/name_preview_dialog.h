#pragma once
// "名簿の読み込み": the names read from a file, with their row numbers and what needs a look,
// before they go into the name boxes.

#include <QDialog>
#include <QStringList>

class QTableWidget;

class NamePreviewDialog : public QDialog
{
    Q_OBJECT

public:
    NamePreviewDialog(const QString &path, const QStringList &names, QWidget *parent = nullptr);

    // What the preview says of each name, as its last column shows it ("" when all is well).
    static QStringList notes(const QStringList &names);
};
