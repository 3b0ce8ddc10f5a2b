// Start-up from the settings lines, and the seven remembered groups.
#include "app/lottery.h"
#include "layout.h"
#include "numbers.h"
#include "startup_rules.h"

GroupTexts Lottery::groupTexts(int group)
{
    using namespace settings;
    GroupTexts texts;
    texts.memo = st.setupLine(memoLine(group));
    for (int i = 0; i < kBoxCount; ++i)
        texts.names[i] = st.setupLine(nameLine(group, i));
    return texts;
}

// A start-up step that fails is skipped, and start-up goes on with the next one.
Opening Lottery::open(const settings::SetupLines &lines)
{
    using namespace settings;
    Opening opening;
    st.setup_lines = lines;
    endingOnStateError([&] { st.group_no = openingGroup(st.setup_lines[kGroupLine]); });
    endingOnStateError([&] { opening.group = groupTexts(st.group_no); });
    endingOnStateError([&] { opening.top = windowEdge(st.setup_lines[kWindowTopLine]); });
    endingOnStateError([&] { opening.left = windowEdge(st.setup_lines[kWindowLeftLine]); });
    st.line_top = 720;
    st.color_table = kColorTable;
    endingOnStateError([&] {
        st.man_count = applyFirstRunDefaults(st.setup_lines)
            ? kFirstRunParticipants
            : groupCounts(st.setup_lines, st.group_no).participants;
    });
    return opening;
}

void Lottery::openWinnerCount()
{
    using namespace settings;
    guardSpareWinnerLine(st.setup_lines);
    endingOnStateError([&] { st.atari_count = groupCounts(st.setup_lines, st.group_no).winners; });
}

void Lottery::openDrawMode()
{
    st.draw_mode = settings::storedDrawMode(st.setup_lines[settings::kModeLine]);
}

// "＋" steps 1, 2, .., 7, 1 and "－" 7, 6, .., 1, 7.
void Lottery::stepGroup(int step)
{
    using settings::kGroupCount;
    settings::checkedGroup(st.group_no);
    st.prev_group_no = st.group_no;
    st.group_no = to16((st.group_no - 1 + step + kGroupCount) % kGroupCount + 1);
}

void Lottery::storeLeftGroup(const Entries &entries)
{
    using namespace settings;
    const int p = st.prev_group_no;
    st.setupLine(participantCountLine(p)) = formatCount(st.man_count);
    st.setupLine(memoLine(p)) = entries.memo;
    st.setupLine(winnerCountLine(p)) = formatCount(st.atari_count);
    for (int i = 0; i < kBoxCount; ++i)
        st.setupLine(nameLine(p, i)) = entries.names[i];
}

// The boxes keep what they show, so nothing typed is lost.
void Lottery::stayInGroup()
{
    st.group_no = st.prev_group_no;
}

GroupTexts Lottery::enterGroup()
{
    const settings::GroupCounts counts = settings::groupCounts(st.setup_lines, st.group_no);
    st.man_count = counts.participants;
    st.atari_count = counts.winners;
    return groupTexts(st.group_no);
}
