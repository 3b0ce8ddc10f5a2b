#include "view.h"
#include "units.h"

#include <algorithm>
#include <cmath>

int View::pixels(double twips) const
{
    return int(std::lround(twips * scale / kTwipsPerPixel));
}

QRect View::rect(const QRect &twips, bool shifted) const
{
    const QRect scaled(pixels(twips.x()), pixels(twips.y()), pixels(twips.width()), pixels(twips.height()));
    return shifted ? scaled.translated(offset) : scaled;
}

QSize View::size(QSize actual) const
{
    return QSize(int(std::lround(actual.width() * scale)), int(std::lround(actual.height() * scale)));
}

int fittingZoom(int chosen, QSize content, QSize frame, QSize available)
{
    int fitting = kZoomSteps.front();
    for (int step : kZoomSteps) {
        const QSize outer = View{step / 100.0, {}}.size(content) + frame;
        if (step <= chosen && outer.width() <= available.width() && outer.height() <= available.height())
            fitting = step;
    }
    return fitting;
}

int nextZoom(int current, int direction)
{
    if (direction > 0) {
        const auto *larger = std::upper_bound(kZoomSteps.begin(), kZoomSteps.end(), current);
        return larger == kZoomSteps.end() ? current : *larger;
    }
    const auto *notSmaller = std::lower_bound(kZoomSteps.begin(), kZoomSteps.end(), current);
    return notSmaller == kZoomSteps.begin() ? current : *(notSmaller - 1);
}

View fullScreenView(QSize screen, QSize content)
{
    if (content.isEmpty() || screen.isEmpty())
        return {};
    View view;
    view.scale = std::min(double(screen.width()) / content.width(), double(screen.height()) / content.height());
    const QSize shown = view.size(content);
    view.offset = QPoint((screen.width() - shown.width()) / 2, (screen.height() - shown.height()) / 2);
    return view;
}
