// Start-up from the settings lines, and the next lottery in the same run. A step that fails is
// skipped, and start-up goes on with the next one.
#include "lottery.h"
#include "ladder/rungs.h"
#include "settings/layout.h"
#include "settings/numbers.h"
#include "settings/startup_rules.h"

Startup Lottery::start(settings::SetupLines lines)
{
    using namespace settings;
    reset();
    Startup opening;
    st.setup_lines = std::move(lines);
    endingOnStateError([&] { st.group_no = openingGroup(st.setup_lines[kGroupLine]); });
    endingOnStateError([&] { opening.group = groupTexts(st.group_no); });
    endingOnStateError([&] { opening.top = windowEdge(st.setup_lines[kWindowTopLine]); });
    endingOnStateError([&] { opening.left = windowEdge(st.setup_lines[kWindowLeftLine]); });
    st.line_top = ladder::kFirstLineTop;
    st.color_table = kColorTable;
    endingOnStateError([&] {
        st.man_count = applyFirstRunDefaults(st.setup_lines)
            ? kFirstRunParticipants
            : groupCounts(st.setup_lines, st.group_no).participants;
    });
    // The first ladder is made before the winner count and the mode are read.
    endingOnStateError([&] { opening.layout = layOut(); });

    guardSpareWinnerLine(st.setup_lines);
    endingOnStateError([&] { st.atari_count = groupCounts(st.setup_lines, st.group_no).winners; });
    // The first mode change steps the stored mode into the one to open with; the prize boxes
    // are still empty then.
    st.draw_mode = storedDrawMode(st.setup_lines[kModeLine]);
    endingOnStateError([&] { opening.mode = changeMode(BoxTexts{}); });
    return opening;
}

Startup Lottery::nextLottery()
{
    return start(st.setup_lines);
}
