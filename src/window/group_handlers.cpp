// The seven remembered groups: "＋" and "－" in the group frame store what the boxes show into
// the group being left, save the file and load the group being entered.
#include "form1.h"

void Form1::cmd_up3_Click()
{
    mem_ls(+1);
}

void Form1::cmd_dn3_Click()
{
    mem_ls(-1);
}

// When the file cannot be saved the group stays, and the boxes keep what they show.
void Form1::mem_ls(int step)
{
    finishRunningPath();
    const std::optional<GroupEntered> entered = lottery.changeGroup(
        step, entries(), [this](const settings::SetupLines &lines) { return saveSettings(lines); });
    if (!entered)
        return;
    showGroup(entered->group);
    atari_set(lottery.winners());
    man_set(entered->layout);
}
