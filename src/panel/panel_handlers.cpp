// The name and prize columns and the count buttons: layout for the participant count, clearing
// the names, the stored prize list, and the Enter key in the second name box.
#include "app/form1.h"
#include "app/units.h"
#include "modes/mode_cycle.h"
#include "panel_text.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr uint32_t kStoredListColor = 0xC0FFFF;
constexpr int kEnterKey = 13;

} // namespace

void Form1::man_set()
{
    lottery.layOut();
    const LotteryState &st = lottery.state();
    const bool prizesFollow = st.draw_mode == modes::kLotteryMode;
    for (int i = 0; i < BoxCount; ++i) {
        man[i]->setVisible(i < st.man_count);
        if (prizesFollow)
            ans[i]->setVisible(i < st.man_count);
    }
    lbl_1->setText(panel::participantCaption(st.man_count));
    setOuterHeightTwips(panel::outerHeightTwips(st.man_count));
    cmd_make_Click();
}

void Form1::cmd_clr_Click()
{
    for (QLineEdit *box : man)
        setBoxText(box, QString());
}

// Switches the prize boxes between the stored prize list (on light yellow) and empty boxes.
void Form1::cmd_change_Click()
{
    const std::optional<BoxTexts> stored = lottery.toggleStoredPrizes();
    for (int i = 0; i < BoxCount; ++i) {
        setBoxText(ans[i], stored ? (*stored)[i] : QString());
        setBackColor(ans[i], stored ? kStoredListColor : kSystemWindowColor);
    }
}

// Enter in the second name box shows or hides the automatic-trace button; the box still
// receives the key.
void Form1::man_KeyPress(int index, int &keyAscii)
{
    if (index == 1 && keyAscii == kEnterKey)
        cmd_auto->setHidden(!cmd_auto->isHidden());
}

// The hidden test button has no action.
void Form1::cmd_test_Click()
{
}

int Form1::nameBoxIndex(const QObject *watched) const
{
    for (int i = 0; i < BoxCount; ++i) {
        if (man[i] == watched)
            return i;
    }
    return -1;
}

void Form1::cmd_up_Click()
{
    if (lottery.addParticipant())
        man_set();
}

// One participant fewer; a winner count that no longer fits is lowered by one step first,
// so the new ladder already sees it.
void Form1::cmd_down_Click()
{
    if (!lottery.removeParticipant())
        return;
    if (lottery.winnersReachParticipants())
        cmd_dn2_Click();
    man_set();
}

void Form1::cmd_up2_Click()
{
    if (lottery.addWinner())
        atari_set();
}

void Form1::cmd_dn2_Click()
{
    if (lottery.removeWinner())
        atari_set();
}

void Form1::atari_set()
{
    lbl_atari->setText(panel::winnerCaption(lottery.state().atari_count));
}
