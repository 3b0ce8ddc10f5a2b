// Screen-reader names for the controls and the keys that make the window usable without a mouse.
#include "accessibility.h"
#include "lottery/lottery.h"

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

void describeControlsForScreenReaders(QWidget &form)
{
    const auto child = [&form](const QString &name) { return form.findChild<QWidget *>(name); };
    for (int i = 0; i < kBoxCount; ++i) {
        child(QStringLiteral("man_%1").arg(i))->setAccessibleName(QStringLiteral("名前%1").arg(i + 1));
        child(QStringLiteral("ans_%1").arg(i))->setAccessibleName(QStringLiteral("景品%1").arg(i + 1));
    }
    child(QStringLiteral("txt_mem"))->setAccessibleName(QStringLiteral("グループメモ"));
    // The "＋" and "－" buttons say what they change; the others speak their captions.
    const std::pair<const char *, QString> steps[] = {
        {"cmd_up", QStringLiteral("参加人数を増やす")},
        {"cmd_down", QStringLiteral("参加人数を減らす")},
        {"cmd_up2", QStringLiteral("あたりの数を増やす")},
        {"cmd_dn2", QStringLiteral("あたりの数を減らす")},
        {"cmd_up3", QStringLiteral("グループを次へ")},
        {"cmd_dn3", QStringLiteral("グループを前へ")},
    };
    for (const auto &[button, name] : steps)
        child(QLatin1String(button))->setAccessibleName(name);

    static const bool factoryInstalled = (QAccessible::installFactory(oneLineCaptionFactory), true);
    Q_UNUSED(factoryInstalled);
    for (const char *name : {"lbl_1", "lbl_atari"}) {
        QWidget *label = child(QLatin1String(name));
        label->setProperty(kOneLineCaption, true);
        // Setting the caption at creation already made and cached the ordinary interface.
        if (QAccessibleInterface *made = QAccessible::queryAccessibleInterface(label))
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
    }
}

void letEnterPressButtons(QWidget &form)
{
    // One filter serves every button.
    auto *filter = new EnterPressesButton(&form);
    filter->setObjectName(QStringLiteral("enterPressesButton"));
    for (QPushButton *button : form.findChildren<QPushButton *>())
        button->installEventFilter(filter);
}
