// cmd_mode_Click: steps to the next draw mode and arranges the prize column, the winner-count
// controls and the stored-list toggle for it.
#include "box_look.h"
#include "form1.h"
#include "modes/mode_cycle.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Outside lottery mode the prize boxes are empty, hidden and locked until standby fills them.
void emptyAndLock(const std::array<QLineEdit *, kBoxCount> &boxes)
{
    for (QLineEdit *box : boxes) {
        setBoxText(box, QString());
        box->hide();
        box->setReadOnly(true);
    }
}

} // namespace

void Form1::cmd_mode_Click()
{
    showMode(lottery.changeMode(entries().prizes));
}

void Form1::showMode(const ModeChange &change)
{
    if (!change.look)
        return;
    cmd_mode->setText(change.look->caption);
    setBackColor(cmd_mode, change.look->color);
    const int16_t participants = change.participants;
    switch (change.mode) {
    case modes::kNumberMode:
        emptyAndLock(ans);
        cmd_change->hide();
        break;
    case modes::kLotteryMode:
        // Only the participants' rows show a prize box, at start-up as after a click.
        for (int i = 0; i < kBoxCount; ++i) {
            setBoxText(ans[i], change.prizes[i]);
            setTextColor(ans[i], 0x000000);
            ans[i]->setReadOnly(false);
            ans[i]->setVisible(i < participants);
        }
        lbl_atari->hide();
        cmd_up2->hide();
        cmd_dn2->hide();
        cmd_change->show();
        break;
    case modes::kWinnerMode:
        // The prize boxes are already empty here when the modes are cycled in order.
        emptyAndLock(ans);
        lbl_atari->show();
        cmd_up2->show();
        cmd_dn2->show();
        cmd_change->hide();
        break;
    }
}
