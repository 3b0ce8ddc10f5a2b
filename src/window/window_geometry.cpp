// The window's position and outer size in twips. A window manager adds a frame whose size is
// known only once it has framed the window, which may be before the window is first mapped;
// outer sizes count it from then on. Sizes are those at 100 %: the zoom scales the client area.
#include "form1.h"
#include "units.h"

#include <QMoveEvent>

// Zero until the frame is known: Qt reports a frame only once the window manager gave one. Full
// screen takes the frame away for a while, and the window manager gives it back only after the
// window has left full screen; sizes keep counting the frame last seen.
QSize Form1::frameExtra() const
{
    const QSize live = frameGeometry().size() - size();
    return isFullScreen() || live.isNull() ? lastFrame : live;
}

// Full screen leaves the window where it was: its position is the one it had before.
int Form1::leftTwips() const
{
    return int(pixelsToTwips(isFullScreen() ? windowedFrameTopLeft.x() : frameGeometry().x()));
}

int Form1::topTwips() const
{
    return int(pixelsToTwips(isFullScreen() ? windowedFrameTopLeft.y() : frameGeometry().y()));
}

void Form1::moveTwips(double left, double top)
{
    move(positionToPixels(left), positionToPixels(top));
}

void Form1::setOuterWidthTwips(int width)
{
    requestedOuterWidth = width;
    applyView();
}

void Form1::setOuterHeightTwips(int height)
{
    requestedOuterHeight = height;
    applyView();
}

QSize Form1::clientSize(int outerWidthTwips, int outerHeightTwips) const
{
    return QSize(qMax(1, twipsToPixels(outerWidthTwips) - frameExtra().width()),
                 qMax(1, twipsToPixels(outerHeightTwips) - frameExtra().height()));
}

// Until an outer size is asked for, the client area a new window opens with.
QSize Form1::contentSize() const
{
    const QSize requested = clientSize(requestedOuterWidth, requestedOuterHeight);
    return QSize(requestedOuterWidth > 0 ? requested.width() : twipsToPixels(kClientWidthTwips),
                 requestedOuterHeight > 0 ? requested.height() : twipsToPixels(2100));
}

// A size set before the window manager framed the window counted no frame; once the frame is
// known (or changes), the outer size is set again so that it includes it. The window manager
// moves the window into its frame, so this move comes with the first showing, often before the
// window is mapped.
void Form1::moveEvent(QMoveEvent *event)
{
    const QSize live = frameGeometry().size() - size();
    if (!isFullScreen() && !live.isNull() && live != lastFrame) {
        lastFrame = live;
        applyView();
    }
    QWidget::moveEvent(event);
}
