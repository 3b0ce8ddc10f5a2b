// The seven remembered groups.
#include "lottery.h"
#include "settings/layout.h"
#include "settings/numbers.h"
#include "settings/startup_rules.h"

GroupTexts Lottery::groupTexts(int group)
{
    using namespace settings;
    GroupTexts texts;
    texts.memo = st.setupLine(memoLine(group));
    for (int i = 0; i < kBoxCount; ++i)
        texts.names[i] = st.setupLine(nameLine(group, i));
    return texts;
}

// A group's slot takes the counts and what the boxes show. In a later round the boxes hold only
// those who did not win yet, and the slot keeps the whole list the first round started from.
void Lottery::storeGroup(int group, const Entries &entries)
{
    using namespace settings;
    st.setupLine(memoLine(group)) = entries.memo;
    st.setupLine(winnerCountLine(group)) = formatCount(st.atari_count);
    if (m_round > 1)
        return;
    st.setupLine(participantCountLine(group)) = formatCount(st.man_count);
    for (int i = 0; i < kBoxCount; ++i)
        st.setupLine(nameLine(group, i)) = entries.names[i];
}

// "＋" steps 1, 2, .., 7, 1 and "－" 7, 6, .., 1, 7.
std::optional<GroupEntered> Lottery::changeGroup(int step, const Entries &entries, const SaveLines &save)
{
    if (running())
        return std::nullopt;
    using settings::kGroupCount;
    settings::checkedGroup(st.group_no);
    st.prev_group_no = st.group_no;
    st.group_no = to16((st.group_no - 1 + step + kGroupCount) % kGroupCount + 1);

    storeGroup(st.prev_group_no, entries);
    if (!save(st.setup_lines)) {
        st.group_no = st.prev_group_no;
        return std::nullopt;
    }
    // The group entered opens with its whole list; what was brought into the one left stays there.
    m_round = 1;
    m_before.reset();
    const settings::GroupCounts counts = settings::groupCounts(st.setup_lines, st.group_no);
    st.man_count = counts.participants;
    st.atari_count = counts.winners;
    GroupEntered entered;
    entered.group = groupTexts(st.group_no);
    entered.layout = layOut();
    return entered;
}
