#include "seams.h"

#include <QMessageBox>

void MessageBoxMessenger::show(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("確認"), text, QMessageBox::Ok, parent);
    box.exec();
}
