#include "window_actions.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QShortcut>
#include <QWidget>

namespace {

QAction *menuEntry(QMenu *menu, const char *name, const QString &caption, const QList<QKeySequence> &keys)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    action->setShortcutVisibleInContextMenu(true);
    return action;
}

} // namespace

WindowActions::WindowActions(QWidget *window)
    : QObject(window)
{
    m_menu = new QMenu(window);
    m_menu->setObjectName(QStringLiteral("windowMenu"));
    m_menu->setAccessibleName(QStringLiteral("ウィンドウのメニュー"));
    importList = menuEntry(m_menu, "mnu_import", QStringLiteral("名簿を読み込む..."), {Qt::CTRL | Qt::Key_O});
    undo = menuEntry(m_menu, "mnu_undo", QStringLiteral("元に戻す"), {Qt::CTRL | Qt::Key_Z});
    m_menu->addSeparator();
    copy = menuEntry(m_menu, "mnu_copy", QStringLiteral("結果をコピー"), {Qt::CTRL | Qt::SHIFT | Qt::Key_C});
    save = menuEntry(m_menu, "mnu_save", QStringLiteral("画像として保存..."), {Qt::CTRL | Qt::SHIFT | Qt::Key_S});
    saveCommitment = menuEntry(m_menu, "mnu_saveCommitment", QStringLiteral("照合用テキストを保存..."), {});
    next = menuEntry(m_menu, "mnu_next", QStringLiteral("次の抽選"), {Qt::CTRL | Qt::SHIFT | Qt::Key_N});
    round = menuEntry(m_menu, "mnu_round", QStringLiteral("はずれの人で次の抽選"), {Qt::CTRL | Qt::SHIFT | Qt::Key_R});
    m_menu->addSeparator();
    history = menuEntry(m_menu, "mnu_history", QStringLiteral("履歴..."), {Qt::CTRL | Qt::Key_H});
    // Showing the window to a room.
    m_menu->addSeparator();
    fullScreen = menuEntry(m_menu, "mnu_fullScreen", QStringLiteral("全画面表示"), {Qt::Key_F11});
    fullScreen->setCheckable(true);
    zoomIn = menuEntry(m_menu, "mnu_zoomIn", QStringLiteral("拡大"), {Qt::CTRL | Qt::Key_Plus, Qt::CTRL | Qt::Key_Equal});
    zoomOut = menuEntry(m_menu, "mnu_zoomOut", QStringLiteral("縮小"), {Qt::CTRL | Qt::Key_Minus});
    zoomReset = menuEntry(m_menu, "mnu_zoomReset", QStringLiteral("100%"), {Qt::CTRL | Qt::Key_0});
    // The draw as a show: paths that run, at a speed, and a way to see every result at once.
    m_menu->addSeparator();
    show = menuEntry(m_menu, "mnu_show", QStringLiteral("演出（線が走る）"), {});
    show->setCheckable(true);
    QMenu *speedMenu = m_menu->addMenu(QStringLiteral("速さ"));
    auto *speedGroup = new QActionGroup(this);
    const char *speedNames[] = {"mnu_speedSlow", "mnu_speedNormal", "mnu_speedFast"};
    const QString speedCaptions[] = {QStringLiteral("ゆっくり"), QStringLiteral("ふつう"), QStringLiteral("はやい")};
    for (size_t i = 0; i < speeds.size(); ++i) {
        speeds[i] = menuEntry(speedMenu, speedNames[i], speedCaptions[i], {});
        speeds[i]->setCheckable(true);
        speedGroup->addAction(speeds[i]);
    }
    traceAll = menuEntry(m_menu, "mnu_traceAll", QStringLiteral("残りを全部たどる"), {});
    sound = menuEntry(m_menu, "mnu_sound", QStringLiteral("音"), {});
    sound->setCheckable(true);
    window->addActions(m_menu->actions());
    window->addActions(speedMenu->actions());
    leaveFullScreen = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    connect(m_menu, &QMenu::aboutToShow, this, &WindowActions::aboutToShow);
    // The keyboard's menu keys open the menu wherever the focus is, the boxes included.
    for (const QKeySequence &keys : {QKeySequence(Qt::SHIFT | Qt::Key_F10), QKeySequence(Qt::Key_Menu)}) {
        auto *shortcut = new QShortcut(keys, window);
        connect(shortcut, &QShortcut::activated, this, &WindowActions::menuKeyPressed);
    }
}

void WindowActions::update(const Situation &now)
{
    importList->setEnabled(!now.ready);
    undo->setEnabled(now.canUndo);
    history->setEnabled(now.historyOpen);
    copy->setEnabled(now.allTraced);
    save->setEnabled(now.allTraced);
    saveCommitment->setEnabled(now.allTraced);
    next->setEnabled(now.ready);
    round->setEnabled(now.roundPossible);
    fullScreen->setChecked(now.fullScreen);
    zoomIn->setEnabled(now.canZoomIn);
    zoomOut->setEnabled(now.canZoomOut);
    zoomReset->setEnabled(now.canZoomReset);
    sound->setChecked(now.soundOn);
    leaveFullScreen->setEnabled(now.fullScreen);
    show->setChecked(now.showOn);
    if (now.speed >= 0 && size_t(now.speed) < speeds.size())
        speeds[size_t(now.speed)]->setChecked(true);
    traceAll->setEnabled(now.pathsLeft);
}

void WindowActions::popup(const QPoint &globalPosition, bool fromKeyboard)
{
    m_menu->popup(globalPosition);
    if (!fromKeyboard)
        return;
    for (QAction *entry : m_menu->actions()) {
        if (entry->isEnabled() && !entry->isSeparator()) {
            m_menu->setActiveAction(entry);
            break;
        }
    }
}
