// Showing the lottery to a room: full screen (F11, Esc to leave) and zoom in steps. Everything is
// laid out in twips, so a view only changes how many pixels a twip takes: the controls, their
// fonts and the drawing are laid out anew at that size, and stay sharp.
#include "form1.h"

#include <QAction>
#include <QLoggingCategory>
#include <QMenu>
#include <QScreen>
#include <QSettings>
#include <QShortcut>

#include <algorithm>

Q_LOGGING_CATEGORY(lcView, "amidakuji.view")

namespace {

constexpr auto kZoomKey = "zoom";

// The zoom is the user's, kept apart from set_up.ini, which other copies of the program read.
QSettings viewSettings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("amidakuji"), QStringLiteral("view"));
}

// The zoom the user chose last time, 100 % at first.
int rememberedZoom()
{
    const int zoom = viewSettings().value(kZoomKey, kZoomSteps.front()).toInt();
    return std::find(kZoomSteps.begin(), kZoomSteps.end(), zoom) != kZoomSteps.end() ? zoom : kZoomSteps.front();
}

QAction *viewEntry(QMenu *menu, const char *name, const QString &caption, const QList<QKeySequence> &keys)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    action->setShortcutVisibleInContextMenu(true);
    return action;
}

} // namespace

void Form1::createViewMenu()
{
    chosenZoom = rememberedZoom();
    resultMenu->addSeparator();
    mnu_fullScreen = viewEntry(resultMenu, "mnu_fullScreen", QStringLiteral("全画面表示"), {QKeySequence(Qt::Key_F11)});
    mnu_fullScreen->setCheckable(true);
    mnu_zoomIn = viewEntry(resultMenu, "mnu_zoomIn", QStringLiteral("拡大"),
                           {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    mnu_zoomOut = viewEntry(resultMenu, "mnu_zoomOut", QStringLiteral("縮小"), {QKeySequence(Qt::CTRL | Qt::Key_Minus)});
    mnu_zoomReset = viewEntry(resultMenu, "mnu_zoomReset", QStringLiteral("100%"), {QKeySequence(Qt::CTRL | Qt::Key_0)});
    for (QAction *action : {mnu_fullScreen, mnu_zoomIn, mnu_zoomOut, mnu_zoomReset})
        addAction(action);
    connect(mnu_fullScreen, &QAction::triggered, this, [this] { handle([this] { mnu_fullScreen_Click(); }); });
    connect(mnu_zoomIn, &QAction::triggered, this, [this] { handle([this] { mnu_zoomIn_Click(); }); });
    connect(mnu_zoomOut, &QAction::triggered, this, [this] { handle([this] { mnu_zoomOut_Click(); }); });
    connect(mnu_zoomReset, &QAction::triggered, this, [this] { handle([this] { mnu_zoomReset_Click(); }); });
    // Esc leaves full screen; it is left to the boxes and dialogs otherwise.
    leaveFullScreen = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(leaveFullScreen, &QShortcut::activated, this, [this] {
        handle([this] {
            if (isFullScreen())
                mnu_fullScreen_Click();
        });
    });
}

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

void Form1::mnu_zoomIn_Click()
{
    const int current = qRound(view.scale * 100);
    const int larger = nextZoom(current, 1);
    if (!isFullScreen() && larger > current)
        setZoom(larger);
}

void Form1::mnu_zoomOut_Click()
{
    if (!isFullScreen())
        setZoom(nextZoom(qRound(view.scale * 100), -1));
}

void Form1::mnu_zoomReset_Click()
{
    if (!isFullScreen())
        setZoom(kZoomSteps.front());
}

// A zoom larger than the screen holds is not taken; the one chosen is remembered for next time.
void Form1::setZoom(int percent)
{
    const QSize available = screen() ? screen()->availableGeometry().size() : QSize();
    if (fittingZoom(percent, contentSize(), frameExtra(), available) != percent)
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
    const QSize available = screen() ? screen()->availableGeometry().size() : QSize();
    showAt(View{fittingZoom(chosenZoom, content, frameExtra(), available) / 100.0, {}});
    resize(view.size(content));
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
