#pragma once

#include "lottery_state.h"
#include "seams.h"
#include "surface.h"

#include <QWidget>

#include <array>
#include <memory>

class QAbstractButton;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;
class QTimer;

// The program's one window: the entry boxes, the buttons, the drawing surface and the
// Lottery state that all handlers share. Handlers keep the names of the events they
// answer and live beside their subsystem (ladder/, panel/, modes/, settings/).
class Form1 : public QWidget
{
    Q_OBJECT

public:
    static constexpr int BoxCount = 37;

    explicit Form1(Seams seams = {}, QWidget *parent = nullptr);
    ~Form1() override;

    // Program start and window load.
    void Form_Load();

    // Ladder.
    void cmd_make_Click();
    void man_Click(int index);
    void cmd_auto_Click();
    void tmr_1_Timer();
    void cmd_print_Click();
    // tmr_1 ticks every given milliseconds; 0 stops it.
    void setTimerInterval(int milliseconds);

    // Entry panel.
    void man_set();
    void cmd_clr_Click();
    void cmd_change_Click();
    void man_KeyPress(int index, int &keyAscii);
    void cmd_test_Click();
    void cmd_up_Click();
    void cmd_down_Click();
    void cmd_up2_Click();
    void cmd_dn2_Click();
    void atari_set();
    // Index 0..36 of a name box, or -1 for any other object.
    int nameBoxIndex(const QObject *watched) const;

    // Draw modes and standby.
    void cmd_mode_Click();
    void cmd_standby_Click();

    // Settings and groups.
    void cmd_up3_Click();
    void cmd_dn3_Click();
    void mem_ls();
    QString settingsPath() const;
    // Writes set_up.ini; on failure tells the user which file could not be saved.
    bool saveSettings();

    // Puts a text into a box whole, even past the box's typing limit.
    static void setBoxText(QLineEdit *box, const QString &text);

    // Runs a handler; a handler that would leave an array or the 16-bit range ends there.
    template<typename Handler>
    bool guarded(Handler &&handler)
    {
        try {
            handler();
            return true;
        } catch (const StateError &) {
            return false;
        }
    }

    // Window position and outer size in twips (frame included once a window manager framed it).
    int leftTwips() const;
    int topTwips() const;
    void moveTwips(double left, double top);
    void setOuterWidthTwips(int width);
    void setOuterHeightTwips(int height);
    int outerHeightTwips() const;

    // Control colours, 0xBBGGRR or a system colour.
    static void setBackColor(QWidget *control, uint32_t color);
    static void setTextColor(QWidget *control, uint32_t color);

    void showMessage(const QString &text);

    LotteryState st;
    Surface surface;
    Seams seams;

    QPushButton *cmd_change = nullptr;
    QPushButton *cmd_auto = nullptr;
    std::array<QLineEdit *, BoxCount> ans{};
    std::array<QLineEdit *, BoxCount> man{};
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

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void setTabOrder();
    void wireEvents();
    void onClick(QAbstractButton *button, void (Form1::*handler)());
    bool entriesComplete();
    void shufflePrizeBoxes();
    void fillResults();
    void storeStandbyLines();
    int frameExtraWidth() const;
    int frameExtraHeight() const;
    // The outer size last asked for, set again once the window frame is known.
    int requestedOuterWidth = 0;
    int requestedOuterHeight = 0;
    bool frameCounted = false;

    // Ladder.
    void trace();
    void printTimeStamp();
    void printWindow(QPrinter &printer);
    std::shared_ptr<QPrinter> printer; // chosen last; shared_ptr as QPrinter is only forward-declared here
    bool printSelectionDisabled = false;
};
