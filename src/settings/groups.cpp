// The seven remembered groups: "＋" and "－" in the group frame store what the boxes show into
// the group being left, save the file and load the group being entered.
#include "app/form1.h"
#include "layout.h"
#include "numbers.h"
#include "startup_rules.h"

#include <QLineEdit>

void Form1::cmd_up3_Click()
{
    settings::checkedGroup(st.group_no);
    st.prev_group_no = st.group_no;
    st.group_no = st.group_no == settings::kGroupCount ? 1 : to16(st.group_no + 1);
    mem_ls();
}

void Form1::cmd_dn3_Click()
{
    settings::checkedGroup(st.group_no);
    st.prev_group_no = st.group_no;
    st.group_no = st.group_no == 1 ? settings::kGroupCount : to16(st.group_no - 1);
    mem_ls();
}

void Form1::mem_ls()
{
    using namespace settings;
    const int p = st.prev_group_no;
    const int g = st.group_no;
    st.setupLine(participantCountLine(p)) = formatCount(st.man_count);
    st.setupLine(memoLine(p)) = txt_mem->text();
    st.setupLine(winnerCountLine(p)) = formatCount(st.atari_count);
    for (int i = 0; i < BoxCount; ++i)
        st.setupLine(nameLine(p, i)) = man[i]->text();
    if (!saveSettings()) {
        // The boxes keep what they show, so nothing typed is lost.
        st.group_no = st.prev_group_no;
        return;
    }

    const GroupCounts counts = groupCounts(st.setup_lines, g);
    st.man_count = counts.participants;
    txt_mem->setText(st.setupLine(memoLine(g)));
    st.atari_count = counts.winners;
    atari_set();
    for (int i = 0; i < BoxCount; ++i)
        setBoxText(man[i], st.setupLine(nameLine(g, i)));
    man_set();
}
