// Showing the lottery to a room: full screen (F11, Esc to leave) and zoom in steps; and the
// window's position and outer size in twips. A window manager adds a frame whose size is known only
// once it has framed the window, which may be before the window is first mapped; outer sizes count
// it from then on. Sizes are those at 100 %: the zoom scales the client area.
#include "window_view.h"
#include "units.h"

#include <QLoggingCategory>
#include <QScreen>
#include <QSettings>
#include <QWidget>

#include <algorithm>

Q_LOGGING_CATEGORY(lcView, "amidakuji.view")

namespace {

constexpr auto kZoomKey = "zoom";
constexpr auto kShowInWindowKey = "show/window";
constexpr auto kShowInFullScreenKey = "show/fullScreen";
constexpr auto kSpeedKey = "show/speed";
// The speeds as view.ini names them.
constexpr std::pair<ladder::RunSpeed, const char *> kSpeedNames[] = {
    {ladder::RunSpeed::Slow, "slow"}, {ladder::RunSpeed::Normal, "normal"}, {ladder::RunSpeed::Fast, "fast"}};
// The client height a new window opens with, before the layout sets it.
constexpr int kOpeningClientHeightTwips = 2100;

} // namespace

// The zoom is the user's, kept apart from set_up.ini, which other copies of the program read.
QSettings viewSettings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("amidakuji"), QStringLiteral("view"));
}

WindowView::WindowView(QWidget *window, Show show)
    : m_window(window)
    , m_show(std::move(show))
    , m_chosenZoom(rememberedZoom())
{
    const QSettings settings = viewSettings();
    m_showInWindow = settings.value(kShowInWindowKey, m_showInWindow).toBool();
    m_showInFullScreen = settings.value(kShowInFullScreenKey, m_showInFullScreen).toBool();
    const QString speed = settings.value(kSpeedKey).toString();
    for (const auto &[value, name] : kSpeedNames) {
        if (speed == QLatin1String(name))
            m_speed = value;
    }
}

bool WindowView::showOn() const
{
    return m_window->isFullScreen() ? m_showInFullScreen : m_showInWindow;
}

void WindowView::toggleShow()
{
    if (m_window->isFullScreen()) {
        m_showInFullScreen = !m_showInFullScreen;
        remember(kShowInFullScreenKey, m_showInFullScreen);
    } else {
        m_showInWindow = !m_showInWindow;
        remember(kShowInWindowKey, m_showInWindow);
    }
}

void WindowView::setRunSpeed(ladder::RunSpeed speed)
{
    m_speed = speed;
    for (const auto &[value, name] : kSpeedNames) {
        if (speed == value)
            remember(kSpeedKey, QLatin1String(name));
    }
}

void WindowView::remember(const char *key, const QVariant &value)
{
    QSettings settings = viewSettings();
    settings.setValue(QLatin1String(key), value);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        qCWarning(lcView) << "could not remember" << key << "in" << settings.fileName();
}

int WindowView::rememberedZoom()
{
    const int zoom = viewSettings().value(kZoomKey, kZoomSteps.front()).toInt();
    return std::find(kZoomSteps.begin(), kZoomSteps.end(), zoom) != kZoomSteps.end() ? zoom : kZoomSteps.front();
}

void WindowView::toggleFullScreen()
{
    if (m_window->isFullScreen()) {
        // Back where it was: a size set while the window still stood at the screen's corner would
        // leave it there.
        m_window->showNormal();
        m_window->setGeometry(m_windowedGeometry);
    } else {
        m_windowedFrameTopLeft = m_window->frameGeometry().topLeft();
        m_windowedGeometry = m_window->geometry();
        m_window->showFullScreen();
    }
    apply();
}

int WindowView::shownZoom() const
{
    return qRound(m_view.scale * 100);
}

int WindowView::zoomThatFits(int chosen) const
{
    const QScreen *screen = m_window->screen();
    return fittingZoom(chosen, contentSize(), frameExtra(), screen ? screen->availableGeometry().size() : QSize());
}

void WindowView::zoomIn()
{
    if (!m_window->isFullScreen())
        setZoom(nextZoom(shownZoom(), 1));
}

void WindowView::zoomOut()
{
    if (!m_window->isFullScreen())
        setZoom(nextZoom(shownZoom(), -1));
}

void WindowView::zoomReset()
{
    if (!m_window->isFullScreen())
        setZoom(kZoomSteps.front());
}

// A zoom larger than the screen holds is not taken; the one chosen is remembered for next time.
void WindowView::setZoom(int percent)
{
    if (zoomThatFits(percent) != percent)
        return;
    m_chosenZoom = percent;
    remember(kZoomKey, percent);
    apply();
}

// In full screen the window fills the screen and its contents are scaled to fit; otherwise the
// window takes the chosen zoom, or the largest smaller one at which it fits on its screen.
void WindowView::apply()
{
    const QSize content = contentSize();
    if (m_window->isFullScreen()) {
        showAt(fullScreenView(m_window->size(), content));
        return;
    }
    showAt(View{zoomThatFits(m_chosenZoom) / 100.0, {}});
    m_window->resize(m_view.size(content));
}

void WindowView::atActualSize(const std::function<void()> &draw)
{
    const View shown = m_view;
    showAt(View{});
    draw();
    showAt(shown);
}

void WindowView::showAt(const View &shown)
{
    const bool changed = shown != m_view;
    m_view = shown;
    m_show(shown, changed);
}

// Full screen fills whatever size the screen gives the window; a window moved to a screen of
// another pixel density gets its drawing at that density.
void WindowView::resized()
{
    if (m_window->isFullScreen())
        apply();
    else
        showAt(m_view);
}

// Zero until the frame is known: Qt reports a frame only once the window manager gave one. Full
// screen takes the frame away for a while, and the window manager gives it back only after the
// window has left full screen; sizes keep counting the frame last seen.
QSize WindowView::frameExtra() const
{
    const QSize live = m_window->frameGeometry().size() - m_window->size();
    return m_window->isFullScreen() || live.isNull() ? m_lastFrame : live;
}

// Full screen leaves the window where it was: its position is the one it had before.
int WindowView::leftTwips() const
{
    return int(pixelsToTwips(m_window->isFullScreen() ? m_windowedFrameTopLeft.x() : m_window->frameGeometry().x()));
}

int WindowView::topTwips() const
{
    return int(pixelsToTwips(m_window->isFullScreen() ? m_windowedFrameTopLeft.y() : m_window->frameGeometry().y()));
}

void WindowView::moveTwips(double left, double top)
{
    m_window->move(positionToPixels(left), positionToPixels(top));
}

void WindowView::setOuterWidthTwips(int width)
{
    m_requestedOuterWidth = width;
    apply();
}

void WindowView::setOuterHeightTwips(int height)
{
    m_requestedOuterHeight = height;
    apply();
}

void WindowView::resetOuterWidth()
{
    m_requestedOuterWidth = 0;
    apply();
}

QSize WindowView::clientSize(int outerWidthTwips, int outerHeightTwips) const
{
    return QSize(qMax(1, twipsToPixels(outerWidthTwips) - frameExtra().width()),
                 qMax(1, twipsToPixels(outerHeightTwips) - frameExtra().height()));
}

// Until an outer size is asked for, the client area a new window opens with.
QSize WindowView::contentSize() const
{
    const QSize requested = clientSize(m_requestedOuterWidth, m_requestedOuterHeight);
    return QSize(m_requestedOuterWidth > 0 ? requested.width() : twipsToPixels(kClientWidthTwips),
                 m_requestedOuterHeight > 0 ? requested.height() : twipsToPixels(kOpeningClientHeightTwips));
}

// A size set before the window manager framed the window counted no frame; once the frame is
// known (or changes), the outer size is set again so that it includes it. The window manager
// moves the window into its frame, so this move comes with the first showing, often before the
// window is mapped.
void WindowView::moved()
{
    const QSize live = m_window->frameGeometry().size() - m_window->size();
    if (!m_window->isFullScreen() && !live.isNull() && live != m_lastFrame) {
        m_lastFrame = live;
        apply();
    }
}
