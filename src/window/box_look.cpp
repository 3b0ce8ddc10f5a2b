#include "box_look.h"
#include "units.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QPalette>

void setBoxText(QLineEdit *box, const QString &text)
{
    // A text longer than the typing limit is kept whole: the box gets room for exactly that
    // text, and the limit comes back with the next short one. The room is set before the text
    // goes in, as a limit below its length would cut it. A box without a limit (after standby)
    // keeps having none.
    if (box->maxLength() != kNoLengthLimit)
        box->setMaxLength(int(qBound(qsizetype(kBoxTypingLimit), text.size(), qsizetype(kNoLengthLimit))));
    box->setText(text);
    // The start of a text wider than the box is what matters ("あたり ：…", a prize's name).
    box->setCursorPosition(0);
}

// The application's palette, not the widget's: a widget that had a colour keeps it in its own.
static QColor systemColor(uint32_t color)
{
    const QPalette standard = QApplication::palette();
    return standard.color(color == kSystemButtonFace ? QPalette::Button : QPalette::Base);
}

// Styles shade a button's palette colour (Fusion pales it), so a coloured button gets a style
// sheet that fills it with exactly its colour; a system colour gives back the ordinary look.
// A disabled one is greyed as the style greys its other buttons: its colour faded, its caption in
// the disabled text colour.
static QString colouredButtonSheet(const QColor &color)
{
    const QColor faded = QColor::fromHsv(color.hsvHue(), color.hsvSaturation() / 5, 235);
    const QColor disabledText = QApplication::palette().color(QPalette::Disabled, QPalette::ButtonText);
    return QStringLiteral("QPushButton { background-color: %1; border: 1px solid #707070;"
                          " border-radius: 3px; padding: 1px 4px; }"
                          "QPushButton:pressed { background-color: %2; }"
                          "QPushButton:focus { border: 1px solid #303030; }"
                          "QPushButton:disabled { background-color: %3; color: %4; border-color: #b0b0b0; }")
        .arg(color.name(), color.darker(115).name(), faded.name(), disabledText.name());
}

void setBackColor(QWidget *control, uint32_t color)
{
    const bool system = color & 0x80000000u;
    const QColor value = system ? systemColor(color) : colorFromBgr(color);
    const bool isButton = qobject_cast<QAbstractButton *>(control);
    // The sheet goes first: taking a sheet off a shown button brings back the palette the
    // button had when the sheet came, which would undo a colour set before it.
    if (isButton)
        control->setStyleSheet(system ? QString() : colouredButtonSheet(value));
    // A button back in its system colour shares the window's palette again, so that the style's
    // cached pictures of it are shared too instead of stored anew for every new button.
    if (isButton && system) {
        control->setPalette(QPalette());
        return;
    }
    QPalette palette = control->palette();
    palette.setColor(isButton ? QPalette::Button : QPalette::Base, value);
    control->setPalette(palette);
}

// The colour while the control is usable; disabled, it keeps the style's disabled colour.
void setTextColor(QWidget *control, uint32_t color)
{
    QPalette palette = control->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            palette.setColor(group, role, colorFromBgr(color));
    }
    control->setPalette(palette);
}
