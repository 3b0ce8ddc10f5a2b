// The seven remembered groups: "＋" and "－" in the group frame store what the boxes show into
// the group being left, save the file and load the group being entered.
#include "app/form1.h"

void Form1::cmd_up3_Click()
{
    lottery.stepGroup(+1);
    mem_ls();
}

void Form1::cmd_dn3_Click()
{
    lottery.stepGroup(-1);
    mem_ls();
}

void Form1::mem_ls()
{
    lottery.storeLeftGroup(entries());
    if (!saveSettings()) {
        lottery.stayInGroup();
        return;
    }
    const GroupTexts group = lottery.enterGroup();
    setBoxText(txt_mem, group.memo);
    atari_set();
    for (int i = 0; i < BoxCount; ++i)
        setBoxText(man[i], group.names[i]);
    man_set();
}
