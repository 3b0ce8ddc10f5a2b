#pragma once

#include "history_recorder.h"
#include "sound_switch.h"
#include "path_show.h"
#include "window_actions.h"
#include "ladder/surface.h"
#include "lottery/lottery.h"
#include "names/storable.h"
#include "view.h"
#include "window_view.h"
#include "window_seams.h"

#include <QDateTime>
#include <QStandardPaths>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class QAbstractButton;
class QAction;
class QMenu;
class QMimeData;
class QGroupBox;
class QLabel;
class QLineEdit;
class QIODevice;
class QPrinter;
class QPushButton;
class QShortcut;
class QTimer;

// Stops a running timer while a modal dialog is open and starts it again afterwards, so that no
// tick is handled under the dialog.
class PausedRun
{
public:
    explicit PausedRun(QTimer *timer);
    ~PausedRun();
    PausedRun(const PausedRun &) = delete;
    PausedRun &operator=(const PausedRun &) = delete;

private:
    QTimer *m_timer;
    bool m_running;
};

// The program's one window: the entry boxes, the buttons and the drawing surface that show a
// lottery. Its handlers keep the names of the events they answer and live in files named after
// what they answer (*_handlers.cpp); each copies the boxes into one call of the lottery and shows
// what comes back.
class Form1 : public QWidget
{
    Q_OBJECT

public:
    // Creates the window and runs its load handler, which restores the stored state.
    explicit Form1(WindowSeams seams = {}, LotterySources sources = {}, QWidget *parent = nullptr);
    ~Form1() override;

    // "名簿を読み込む" for a given file (named on the command line or dropped on the window): the
    // preview, then the names into the boxes; a file that gives no list is a message naming it.
    void openNameList(const QString &path);
    // Opens the history of lotteries the window records into; without one (it could not be
    // opened) lotteries go on unrecorded. A file that had to be set aside is said once.
    void openHistory(const QString &path);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    // Window load, and what a start from the settings lines opens with.
    void Form_Load();
    void showStartup(const Startup &opening);

    // Ladder.
    void cmd_make_Click();
    void showLadder(const NewLadder &made);
    void man_Click(int index);
    void cmd_auto_Click();
    void tmr_1_Timer();
    void cmd_print_Click();
    void trace(const TraceStep &step);
    void drawTimeStamp(int lineTop);
    bool printWindow(QPrinter &printer);
    // tmr_1 ticks every given milliseconds; 0 stops it.
    void setTimerInterval(int milliseconds);

    // The draw as a show: paths that run down the ladder (show_handlers.cpp).
    void mnu_show_Click();
    void mnu_speed_Click(ladder::RunSpeed speed);
    void mnu_traceAll_Click();
    // A participant's path: started running with the show on, else traced at once.
    void startTrace(int index);
    // A running path that arrived (or was ended): drawn whole, its prize written and recorded,
    // and the automatic run goes on at its beat.
    void pathArrived(const TraceStep &step);
    // Ends a running path at once, before a step that must not find one running.
    void finishRunningPath();

    // Entry panel.
    void man_set(const Layout &layout);
    void cmd_clr_Click();
    void cmd_change_Click();
    void man_KeyPress(int index, int keyAscii);
    void cmd_up_Click();
    void cmd_down_Click();
    void cmd_up2_Click();
    void cmd_dn2_Click();
    void atari_set(int16_t winners);
    // Index 0..36 of a name box, or -1 for any other object.
    int nameBoxIndex(const QObject *watched) const;

    // Lists of names: from a file, or a block of rows pasted or dropped into a box.
    void mnu_import_Click();
    // Fills the box and the boxes below it with the names cells of a block of rows; false
    // (nothing done) for a single line, which the box takes as usual.
    bool pasteBlock(QLineEdit *box, const QString &text);
    void showBoxMenu(QLineEdit *box, const QPoint &position);
    // Whether a drag brings files the window answers (a list file opens, others are said about).
    bool takesFiles(const QMimeData *mime) const;
    // A drag over a box; true when the window handled it.
    bool boxDragEvent(QLineEdit *box, QEvent *event);
    // 元に戻す: the boxes and counts as they were before the last list came in.
    void mnu_undo_Click();
    // The focus on the first filled, shown box from `from` on, where the keyboard goes on.
    void focusFirstFilled(int from, const std::array<QLineEdit *, kBoxCount> &column);
    void focusFirstFilled(int from);
    // Tells a screen reader what a list brought in did.
    void announce(const QString &text);
    // The one message for texts changed into what the settings file keeps.
    void tellReplaced(const QList<names::Replacement> &changed);

    // Draw modes and standby.
    void cmd_mode_Click();
    void showMode(const ModeChange &change);
    void cmd_standby_Click();
    void hidePrizes();
    // The lottery's phase on the controls: which take input, which are locked or shown, and their
    // colours, as far as they follow from the phase and the draw mode alone. Run after every
    // action.
    void showPhase();
    // Where the keyboard goes when a new lottery or round begins: the first name box.
    void focusFirstName();

    // After the draw: the window's menu.
    void createWindowMenu();
    void mnu_copy_Click();
    void mnu_save_Click();
    void mnu_next_Click();
    void mnu_round_Click();
    // The commitment's canonical text, once every path is traced, into a file the user names.
    void mnu_saveCommitment_Click();
    // The history window, and the history's errors.
    void mnu_history_Click();
    void showHistoryError(const QString &text);
    // Each entry enabled while what it does is possible.
    void updateMenuEntries();
    // The window at the size it is printed in, and its picture at the screen's resolution.
    void fitWindowToResult();
    int printHeightTwips() const;
    QSize printSize() const;
    QImage resultPicture();
    void saveChosenFile(QStandardPaths::StandardLocation folder, const QString &name, const QString &title,
                        const QString &filter, const QString &failure, const std::function<bool(QIODevice &)> &write);
    // Back to the entry phase on the same controls, showing what the lottery opens with.
    void startNextLottery(const Startup &opening);

    // Showing the window to a room: full screen, and zoom in steps remembered per user.
    void mnu_fullScreen_Click();
    void mnu_zoomIn_Click();
    void mnu_zoomOut_Click();
    void mnu_zoomReset_Click();
    // 音: the show's sounds on or off.
    void mnu_sound_Click();
    void showView(const View &shown, bool changed);
    // The controls laid out at a view.
    void placeControls(const View &shown);

    // Settings and groups.
    void cmd_up3_Click();
    void cmd_dn3_Click();
    void mem_ls(int step);
    void showGroup(const GroupTexts &group);
    // Writes set_up.ini; on failure tells the user which file could not be saved.
    bool saveSettings(const settings::SetupLines &lines);

    // What the boxes hold, for the lottery's rules.
    Entries entries() const;
    // A message, or a question answered yes, with the automatic run paused while it is open.
    void showMessage(const QString &text);
    bool ask(const QString &question);
    // Runs a modal dialog with the automatic run paused, and gives back what it answered.
    template<typename Dialog>
    auto paused(Dialog &&dialog)
    {
        const PausedRun pause(tmr_1);
        return dialog();
    }

    // Every event reaches its handler through here: a handler that would leave an array or the
    // 16-bit range ends there, and the reason is logged. The menu's entries then follow the state
    // the handler left, so that their shortcuts work without the menu being opened.
    template<typename Handler>
    void handle(Handler &&handler)
    {
        endingOnStateError(handler);
        showPhase();
        updateMenuEntries();
    }
    void onClick(QAbstractButton *button, void (Form1::*handler)());
    void tellWhenReplaced(QLineEdit *box);
    void onTriggered(QAction *action, void (Form1::*handler)());

    // The controls with their keyboard order and their events, made once.
    void makeControls();
    void createControls();
    void setTabOrder();
    void wireEvents();


    WindowSeams seams;
    Lottery lottery;
    Surface surface;
    // Zoom, full screen, position and size.
    WindowView windowView{this, [this](const View &shown, bool changed) { showView(shown, changed); }};
    std::shared_ptr<QPrinter> printer; // chosen last; shared_ptr as QPrinter is only forward-declared here
    bool printSelectionDisabled = false;
    // The time stamp, once every path has been traced (the lottery puts the round before it).
    QDateTime stampTime;
    QString stampText;
    // The window's menu entries and shortcuts.
    WindowActions *actions = nullptr;
    // What 音 turns on and off; it stands in seams.soundOutput, through which every cue plays.
    SoundSwitch *sounds = nullptr;
    // The running path drawn frame by frame.
    PathShow *pathShow = nullptr;
    // The automatic run goes on after the path it started has arrived.
    bool autoRun = false;
    // The name box marked while its path runs; -1 for none.
    int markedName = -1;
    HistoryRecorder recorder{this, [this](const QString &text) { showHistoryError(text); },
                             [this] { updateMenuEntries(); }};

    QPushButton *cmd_change = nullptr;
    QPushButton *cmd_auto = nullptr;
    std::array<QLineEdit *, kBoxCount> ans{};
    std::array<QLineEdit *, kBoxCount> man{};
    QPushButton *cmd_up = nullptr;
    QGroupBox *Frame1 = nullptr;
    QPushButton *cmd_clr = nullptr;
    QLineEdit *txt_mem = nullptr;
    QPushButton *cmd_up3 = nullptr;
    QPushButton *cmd_dn3 = nullptr;
    QPushButton *cmd_test = nullptr;
    QPushButton *cmd_mode = nullptr;
    QPushButton *cmd_up2 = nullptr;
    QPushButton *cmd_dn2 = nullptr;
    QPushButton *cmd_down = nullptr;
    QPushButton *cmd_standby = nullptr;
    QPushButton *cmd_make = nullptr;
    QTimer *tmr_1 = nullptr;
    QPushButton *cmd_print = nullptr;
    QLabel *lbl_atari = nullptr;
    QLabel *lbl_1 = nullptr;
    // The code of the commitment to the fixed results, from standby on, where the room reads it.
    QLabel *lbl_code = nullptr;
    // Where a screen reader hears what a list brought in did, and that every path is traced; its
    // name while it has nothing to say.
    QLabel *lbl_status = nullptr;
    static inline const QString kStatusLineName = QStringLiteral("状態");
    static inline const QString kCodeCaption = QStringLiteral("照合コード ");
};
