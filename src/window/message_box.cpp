#include "window_seams.h"

#include <QMessageBox>

namespace {

int showBox(QWidget *parent, const QString &text, QMessageBox::StandardButtons buttons,
            QMessageBox::Icon icon = QMessageBox::NoIcon, const QString &title = QStringLiteral("確認"))
{
    QMessageBox box(icon, title, text, buttons, parent);
    if (buttons.testFlag(QMessageBox::No))
        box.setDefaultButton(QMessageBox::No);
    box.setWindowModality(Qt::ApplicationModal);
    return box.exec();
}

} // namespace

void MessageBoxMessenger::show(QWidget *parent, const QString &text)
{
    showBox(parent, text, QMessageBox::Ok);
}

bool MessageBoxMessenger::ask(QWidget *parent, const QString &text)
{
    return showBox(parent, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void MessageBoxMessenger::showError(QWidget *parent, const QString &text)
{
    showBox(parent, text, QMessageBox::Ok, QMessageBox::Warning, QStringLiteral("エラー"));
}
