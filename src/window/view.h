#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <array>

// How large the window shows what it lays out in twips: a scale (1.0 is the window's own size)
// and, in full screen, an offset that centres it on the screen.
struct View
{
    double scale = 1.0;
    QPoint offset;

    // A length in twips as pixels at this scale.
    int pixels(double twips) const;
    // A control's rectangle given in twips; only the window's own controls are offset, not those
    // inside a frame.
    QRect rect(const QRect &twips, bool shifted) const;
    // The window's size at 100 % at this scale.
    QSize size(QSize actual) const;

    friend bool operator==(const View &, const View &) = default;
};

// The zoom steps, in percent.
constexpr std::array<int, 7> kZoomSteps{100, 125, 150, 175, 200, 250, 300};

// The largest step not above `chosen` at which a window of `content` pixels at 100 %, with its
// frame, fits in `available`; 100 % when none does.
int fittingZoom(int chosen, QSize content, QSize frame, QSize available);
// The step after (direction 1) or before (direction -1) `current`, or `current` at either end.
int nextZoom(int current, int direction);
// Full screen: the window's contents at 100 % scaled to fill `screen` with their proportions
// kept, centred.
View fullScreenView(QSize screen, QSize content);
