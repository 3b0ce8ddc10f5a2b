#include "dialog_scale.h"

#include <QApplication>
#include <QFont>
#include <QWidget>

#include <algorithm>

namespace {

constexpr auto kShownScale = "amidakujiShownScale";

} // namespace

void setShownScale(QWidget *window, double scale)
{
    window->setProperty(kShownScale, scale);
}

double shownScale(const QWidget *widget)
{
    const QWidget *window = widget ? widget->window() : nullptr;
    return window ? std::max(1.0, window->property(kShownScale).toDouble()) : 1.0;
}

QFont scaledFont(const QWidget *widget, double scale)
{
    QFont font = QApplication::font(widget);
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * scale);
    else
        font.setPixelSize(qRound(font.pixelSize() * scale));
    return font;
}

double takeShownScale(QWidget *dialog, const QWidget *over)
{
    const double scale = shownScale(over);
    if (scale > 1.0)
        dialog->setFont(scaledFont(dialog, scale));
    else if (dialog->testAttribute(Qt::WA_SetFont))
        dialog->setFont(QFont());
    return scale;
}
