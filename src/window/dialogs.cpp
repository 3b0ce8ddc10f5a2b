#include "name_preview_dialog.h"
#include "window_seams.h"

#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>

bool SystemPrinterDialog::choose(QPrinter &printer, bool selectionDisabled, QWidget *parent)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, !selectionDisabled);
    return dialog.exec() == QDialog::Accepted;
}

QString SystemSaveDialog::choose(QWidget *parent, const QString &proposedPath, const QString &title,
                                 const QString &filter)
{
    return QFileDialog::getSaveFileName(parent, title, proposedPath, filter);
}

QString SystemOpenDialog::choose(QWidget *parent)
{
    return QFileDialog::getOpenFileName(parent, QStringLiteral("名簿を読み込む"), QString(),
                                        QStringLiteral("名簿 (*.txt *.csv *.tsv);;すべてのファイル (*)"));
}

bool NamePreviewDialogShown::confirm(QWidget *parent, const QString &path, const names::NameListRead &read)
{
    NamePreviewDialog dialog(path, read, parent);
    return dialog.exec() == QDialog::Accepted;
}
