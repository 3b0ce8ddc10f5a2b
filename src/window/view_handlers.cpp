// Showing the lottery to a room: full screen (F11, Esc to leave) and zoom in steps. Everything is
// laid out in twips, so a view only changes how many pixels a twip takes: the controls, their
// fonts and the drawing are laid out anew at that size, and stay sharp.
#include "form1.h"

#include <QLoggingCategory>
#include <QScreen>
#include <QSettings>

#include <algorithm>

Q_LOGGING_CATEGORY(lcView, "amidakuji.view")

namespace {

constexpr auto kZoomKey = "zoom";

// The zoom is the user's, kept apart from set_up.ini, which other copies of the program read.
QSettings viewSettings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("amidakuji"), QStringLiteral("view"));
}

} // namespace

int Form1::rememberedZoom()
{
    const int zoom = viewSettings().value(kZoomKey, kZoomSteps.front()).toInt();
    return std::find(kZoomSteps.begin(), kZoomSteps.end(), zoom) != kZoomSteps.end() ? zoom : kZoomSteps.front();
}

// F11 and, in full screen, Esc.
void Form1::mnu_fullScreen_Click()
{
    if (isFullScreen()) {
        // Back where it was: a size set while the window still stood at the screen's corner would
        // leave it there.
        showNormal();
        setGeometry(windowedGeometry);
    } else {
        windowedFrameTopLeft = frameGeometry().topLeft();
        windowedGeometry = geometry();
        showFullScreen();
    }
    applyView();
}

int Form1::shownZoom() const
{
    return qRound(view.scale * 100);
}

int Form1::zoomThatFits(int chosen) const
{
    return fittingZoom(chosen, contentSize(), frameExtra(), screen() ? screen()->availableGeometry().size() : QSize());
}

void Form1::mnu_zoomIn_Click()
{
    if (!isFullScreen())
        setZoom(nextZoom(shownZoom(), 1));
}

void Form1::mnu_zoomOut_Click()
{
    if (!isFullScreen())
        setZoom(nextZoom(shownZoom(), -1));
}

void Form1::mnu_zoomReset_Click()
{
    if (!isFullScreen())
        setZoom(kZoomSteps.front());
}

// A zoom larger than the screen holds is not taken; the one chosen is remembered for next time.
void Form1::setZoom(int percent)
{
    if (zoomThatFits(percent) != percent)
        return;
    chosenZoom = percent;
    QSettings settings = viewSettings();
    settings.setValue(kZoomKey, percent);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        qCWarning(lcView) << "could not remember the zoom in" << settings.fileName();
    applyView();
}

// In full screen the window fills the screen and its contents are scaled to fit; otherwise the
// window takes the chosen zoom, or the largest smaller one at which it fits on its screen.
void Form1::applyView()
{
    const QSize content = contentSize();
    if (isFullScreen()) {
        showAt(fullScreenView(size(), content));
        return;
    }
    showAt(View{zoomThatFits(chosenZoom) / 100.0, {}});
    resize(view.size(content));
}

void Form1::atActualSize(const std::function<void()> &draw)
{
    const View shown = view;
    showAt(View{});
    draw();
    showAt(shown);
}

void Form1::showAt(const View &shown)
{
    surface.ensureSize(contentSize(), devicePixelRatioF());
    surface.setScale(shown.scale);
    if (shown != view) {
        view = shown;
        placeControls(shown);
    }
    update();
}
