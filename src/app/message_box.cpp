#include "seams.h"

#include <QMessageBox>

std::unique_ptr<QMessageBox> confirmationBox(QWidget *parent, const QString &text)
{
    auto box = std::make_unique<QMessageBox>(QMessageBox::NoIcon, QStringLiteral("確認"), text,
                                             QMessageBox::Ok, parent);
    box->setWindowModality(Qt::ApplicationModal);
    return box;
}

void MessageBoxMessenger::show(QWidget *parent, const QString &text)
{
    confirmationBox(parent, text)->exec();
}

bool MessageBoxMessenger::ask(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("確認"), text, QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.setDefaultButton(QMessageBox::No);
    box.setWindowModality(Qt::ApplicationModal);
    return box.exec() == QMessageBox::Yes;
}
