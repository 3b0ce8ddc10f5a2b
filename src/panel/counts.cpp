// The participant and winner count buttons. A click at a limit changes nothing.
#include "app/form1.h"
#include "panel_text.h"

#include <QLabel>

namespace {

constexpr int16_t kMaxParticipants = 37;
constexpr int16_t kMinParticipants = 2;
constexpr int16_t kMinWinners = 1;

} // namespace

void Form1::cmd_up_Click()
{
    if (st.man_count >= kMaxParticipants)
        return;
    st.man_count = to16(st.man_count + 1);
    man_set();
}

// One participant fewer; a winner count that no longer fits is lowered by one step first,
// so the new ladder already sees it.
void Form1::cmd_down_Click()
{
    if (st.man_count <= kMinParticipants)
        return;
    st.man_count = to16(st.man_count - 1);
    if (st.atari_count >= st.man_count)
        cmd_dn2_Click();
    man_set();
}

void Form1::cmd_up2_Click()
{
    if (to16(st.atari_count + 1) >= st.man_count)
        return;
    st.atari_count = to16(st.atari_count + 1);
    atari_set();
}

void Form1::cmd_dn2_Click()
{
    if (st.atari_count <= kMinWinners)
        return;
    st.atari_count = to16(st.atari_count - 1);
    atari_set();
}

void Form1::atari_set()
{
    lbl_atari->setText(panel::winnerCaption(st.atari_count));
}
