// Screen-reader names for the controls and the keys that make the window usable without a mouse.
#include "accessibility.h"
#include "form1.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Labels whose two-line caption is spoken as one line ("参加\r\n2人" as "参加 2人").
constexpr char kOneLineCaption[] = "amidakujiOneLineCaption";

class OneLineCaption : public QAccessibleWidget
{
public:
    explicit OneLineCaption(QLabel *label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<const QLabel *>(widget())->text().simplified();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface *oneLineCaptionFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("QLabel") && object && object->property(kOneLineCaption).toBool())
        return new OneLineCaption(static_cast<QLabel *>(object));
    return nullptr;
}

// A push button takes Enter as well as Space; auto-repeat does not click again.
class EnterPressesButton : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        if (!enter || !plain)
            return false;
        if (!key->isAutoRepeat())
            static_cast<QPushButton *>(watched)->click();
        return true;
    }
};

} // namespace

void describeControlsForScreenReaders(Form1 &form)
{
    for (int i = 0; i < Form1::BoxCount; ++i) {
        form.man[i]->setAccessibleName(QStringLiteral("名前%1").arg(i + 1));
        form.ans[i]->setAccessibleName(QStringLiteral("景品%1").arg(i + 1));
    }
    form.txt_mem->setAccessibleName(QStringLiteral("グループメモ"));
    // The "＋" and "－" buttons say what they change; the others speak their captions.
    const std::pair<QPushButton *, QString> steps[] = {
        {form.cmd_up, QStringLiteral("参加人数を増やす")},
        {form.cmd_down, QStringLiteral("参加人数を減らす")},
        {form.cmd_up2, QStringLiteral("あたりの数を増やす")},
        {form.cmd_dn2, QStringLiteral("あたりの数を減らす")},
        {form.cmd_up3, QStringLiteral("グループを次へ")},
        {form.cmd_dn3, QStringLiteral("グループを前へ")},
    };
    for (const auto &[button, name] : steps)
        button->setAccessibleName(name);

    QAccessible::installFactory(oneLineCaptionFactory);
    for (QLabel *label : {form.lbl_1, form.lbl_atari}) {
        label->setProperty(kOneLineCaption, true);
        // Setting the caption at creation already made and cached the ordinary interface.
        if (QAccessibleInterface *made = QAccessible::queryAccessibleInterface(label))
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
    }
}

void letEnterPressButtons(Form1 &form)
{
    auto *filter = new EnterPressesButton(&form);
    for (QPushButton *button : form.findChildren<QPushButton *>())
        button->installEventFilter(filter);
}
