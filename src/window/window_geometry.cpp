// The window's position and outer size in twips. A window manager adds a frame whose size is
// known only once it has framed the window, which may be before the window is first mapped;
// outer sizes count it from then on.
#include "form1.h"
#include "units.h"

#include <QMoveEvent>

// Zero until the frame is known: Qt reports a frame only once the window manager gave one.
int Form1::frameExtraWidth() const
{
    return frameGeometry().width() - width();
}

int Form1::frameExtraHeight() const
{
    return frameGeometry().height() - height();
}

int Form1::leftTwips() const
{
    return int(pixelsToTwips(frameGeometry().x()));
}

int Form1::topTwips() const
{
    return int(pixelsToTwips(frameGeometry().y()));
}

void Form1::moveTwips(double left, double top)
{
    move(positionToPixels(left), positionToPixels(top));
}

void Form1::setOuterWidthTwips(int width)
{
    requestedOuterWidth = width;
    resize(qMax(1, twipsToPixels(width) - frameExtraWidth()), height());
}

void Form1::setOuterHeightTwips(int height)
{
    requestedOuterHeight = height;
    resize(width(), qMax(1, twipsToPixels(height) - frameExtraHeight()));
}

// A size set before the window manager framed the window counted no frame; once the frame is
// known, the outer size is set again so that it includes it. The window manager moves the window
// into its frame, so this move comes with the first showing, often before the window is mapped.
void Form1::moveEvent(QMoveEvent *event)
{
    if (!frameCounted && (frameExtraWidth() > 0 || frameExtraHeight() > 0)) {
        frameCounted = true;
        if (requestedOuterWidth > 0)
            setOuterWidthTwips(requestedOuterWidth);
        if (requestedOuterHeight > 0)
            setOuterHeightTwips(requestedOuterHeight);
    }
    QWidget::moveEvent(event);
}
