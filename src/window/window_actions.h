#pragma once
// The window's menu and every entry and shortcut in it, made in one place and enabled in one
// place from what the window shows; the window connects each entry to its handler. The entries'
// accelerators work without the menu, wherever the focus is in the window.

#include <QObject>

#include <array>

class QAction;
class QMenu;
class QPoint;
class QShortcut;
class QWidget;

class WindowActions : public QObject
{
    Q_OBJECT

public:
    // What the entries follow.
    struct Situation
    {
        bool ready = false;
        bool allTraced = false;
        bool roundPossible = false;
        bool canUndo = false;
        bool historyOpen = false;
        bool fullScreen = false;
        bool canZoomIn = false;
        bool canZoomOut = false;
        bool canZoomReset = false;
        bool soundOn = false;
        // The draw as a show in the view in use, its speed, and paths left to trace.
        bool showOn = false;
        int speed = 0;
        bool pathsLeft = false;
    };

    explicit WindowActions(QWidget *window);

    QMenu *menu() const { return m_menu; }
    // Each enabled while what it does is possible.
    void update(const Situation &now);
    // The menu at a point; opened from the keyboard, with its first usable entry highlighted.
    void popup(const QPoint &globalPosition, bool fromKeyboard);

    QAction *importList = nullptr;
    QAction *undo = nullptr;
    QAction *copy = nullptr;
    QAction *save = nullptr;
    QAction *saveCommitment = nullptr;
    QAction *next = nullptr;
    QAction *round = nullptr;
    QAction *history = nullptr;
    QAction *fullScreen = nullptr;
    QAction *zoomIn = nullptr;
    QAction *zoomOut = nullptr;
    QAction *zoomReset = nullptr;
    // 音: the show's sounds.
    QAction *sound = nullptr;
    QAction *show = nullptr;
    // 速さ: ゆっくり, ふつう, はやい, in the order of ladder::RunSpeed.
    std::array<QAction *, 3> speeds{};
    QAction *traceAll = nullptr;
    // Esc leaves full screen; it is left to the boxes and dialogs otherwise (enabled only then).
    QShortcut *leaveFullScreen = nullptr;

signals:
    // The menu is about to open, or a menu key asked for it: the window brings the entries up to
    // date first.
    void aboutToShow();
    // A menu key (Shift+F10, the menu key) asked for the menu.
    void menuKeyPressed();

private:
    QMenu *m_menu = nullptr;
};
