#include "seams.h"

#include <QPrintDialog>
#include <QPrinter>

bool SystemPrinterDialog::choose(QPrinter &printer, bool selectionDisabled, QWidget *parent)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, !selectionDisabled);
    return dialog.exec() == QDialog::Accepted;
}
