#include "message_box.h"
#include "dialog_scale.h"
#include "window_seams.h"

std::unique_ptr<QMessageBox> makeMessageBox(QWidget *parent, const QString &text, QMessageBox::StandardButtons buttons,
                                            QMessageBox::Icon icon, const QString &title)
{
    auto box = std::make_unique<QMessageBox>(icon, title, QString(), buttons, parent);
    // The font first, so that the text is laid out at it.
    takeShownScale(box.get(), parent);
    box->setText(text);
    if (buttons.testFlag(QMessageBox::No))
        box->setDefaultButton(QMessageBox::No);
    box->setWindowModality(Qt::ApplicationModal);
    return box;
}

namespace {

int showBox(QWidget *parent, const QString &text, QMessageBox::StandardButtons buttons,
            QMessageBox::Icon icon = QMessageBox::NoIcon, const QString &title = QStringLiteral("確認"))
{
    return makeMessageBox(parent, text, buttons, icon, title)->exec();
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
