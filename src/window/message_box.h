#pragma once
// The box every message is shown in, made apart from showing it: at the window's scale, with No
// as the default answer to a question.

#include <QMessageBox>

#include <memory>

std::unique_ptr<QMessageBox> makeMessageBox(QWidget *parent, const QString &text, QMessageBox::StandardButtons buttons,
                                            QMessageBox::Icon icon = QMessageBox::NoIcon,
                                            const QString &title = QStringLiteral("確認"));
