// The count buttons and the layout of the name and prize columns for the participant count.
#include "box_look.h"
#include "form1.h"
#include "panel/panel_text.h"

#include <QLabel>
#include <QLineEdit>

void Form1::man_set(const Layout &layout)
{
    for (int i = 0; i < kBoxCount; ++i) {
        man[i]->setVisible(i < layout.participants);
        if (layout.prizesFollow)
            ans[i]->setVisible(i < layout.participants);
    }
    lbl_1->setText(panel::participantCaption(layout.participants));
    windowView.setOuterHeightTwips(panel::outerHeightTwips(layout.participants));
    showLadder(layout.ladder);
}

void Form1::cmd_up_Click()
{
    if (const std::optional<Layout> layout = lottery.addParticipant())
        man_set(*layout);
}

// One participant fewer may lower the winner count too.
void Form1::cmd_down_Click()
{
    if (const std::optional<Layout> layout = lottery.removeParticipant()) {
        atari_set(lottery.winners());
        man_set(*layout);
    }
}

void Form1::cmd_up2_Click()
{
    if (const std::optional<int16_t> winners = lottery.addWinner())
        atari_set(*winners);
}

void Form1::cmd_dn2_Click()
{
    if (const std::optional<int16_t> winners = lottery.removeWinner())
        atari_set(*winners);
}

void Form1::atari_set(int16_t winners)
{
    lbl_atari->setText(panel::winnerCaption(winners));
}
