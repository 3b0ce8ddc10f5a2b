#pragma once
// How the window is shown: its zoom (in steps, remembered per user), full screen, and its position
// and outer size in twips. Everything is laid out in twips, so a view only changes how many pixels
// a twip takes; the window lays its controls and drawing out at the view it is given.

#include "view.h"
#include "ladder/path_run.h"

#include <QLoggingCategory>
#include <QRect>
#include <QSettings>
#include <QSize>
#include <QVariant>

#include <functional>

class QWidget;

Q_DECLARE_LOGGING_CATEGORY(lcView)

// What the user chose for showing the window (view.ini in the user's configuration folder).
QSettings viewSettings();

class WindowView
{
public:
    // Lays the window's contents out at a view (changed: it differs from the one shown before).
    using Show = std::function<void(const View &shown, bool changed)>;
    WindowView(QWidget *window, Show show);

    const View &view() const { return m_view; }

    // Zoom: the step shown, the largest step up to `chosen` that fits on the window's screen, and
    // the steps the menu takes (none in full screen; a step too large for the screen is not taken).
    int shownZoom() const;
    int zoomThatFits(int chosen) const;
    void zoomIn();
    void zoomOut();
    void zoomReset();
    // F11, and in full screen Esc: full screen and back where the window stood.
    void toggleFullScreen();

    // The draw as a show, on or off for the view in use (full screen and the window each have
    // their own choice: on in full screen, off in the window unless the user turns it on), and
    // the speed of its paths; both remembered per user beside the zoom.
    bool showOn() const;
    void toggleShow();
    ladder::RunSpeed runSpeed() const { return m_speed; }
    void setRunSpeed(ladder::RunSpeed speed);

    // Works out the view the window's state asks for (its zoom, or full screen) and shows it.
    void apply();
    // Draws at 100 % whatever the zoom: printing and the saved picture look the same at every zoom.
    void atActualSize(const std::function<void()> &draw);

    // Position and outer size in twips at 100 % (frame included once a window manager framed it).
    int leftTwips() const;
    int topTwips() const;
    void moveTwips(double left, double top);
    void setOuterWidthTwips(int width);
    void setOuterHeightTwips(int height);
    // The width a new start opens with.
    void resetOuterWidth();
    // The client area at 100 %, as the layout sets it, and the one that goes with an outer size.
    QSize contentSize() const;
    QSize clientSize(int outerWidthTwips, int outerHeightTwips) const;

    // The window's own moves and resizes.
    void moved();
    void resized();

private:
    static int rememberedZoom();
    void remember(const char *key, const QVariant &value);
    void setZoom(int percent);
    void showAt(const View &shown);
    QSize frameExtra() const;

    QWidget *m_window;
    Show m_show;
    // The zoom the user chose, and the view shown.
    int m_chosenZoom = 100;
    bool m_showInWindow = false;
    bool m_showInFullScreen = true;
    ladder::RunSpeed m_speed = ladder::RunSpeed::Normal;
    View m_view;
    // The outer size last asked for, set again once the window frame is known.
    int m_requestedOuterWidth = 0;
    int m_requestedOuterHeight = 0;
    // The frame's extra width and height as last seen; where the frame and the window were before
    // full screen.
    QSize m_lastFrame{0, 0};
    QPoint m_windowedFrameTopLeft;
    QRect m_windowedGeometry;
};
