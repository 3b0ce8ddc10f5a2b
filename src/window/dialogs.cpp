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

QString SystemSaveDialog::choose(QWidget *parent, const QString &proposedPath)
{
    return QFileDialog::getSaveFileName(parent, QStringLiteral("画像として保存"), proposedPath,
                                        QStringLiteral("PNG 画像 (*.png)"));
}
