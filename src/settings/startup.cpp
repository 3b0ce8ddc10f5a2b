// Form_Load: brings the window back to the state the settings file recorded, or to the
// first-run state without one. A step that fails is skipped and start-up goes on.
#include "app/form1.h"
#include "layout.h"
#include "numbers.h"
#include "startup_rules.h"

#include <QLineEdit>
#include <QPushButton>

void Form1::Form_Load()
{
    using namespace settings;
    guarded([this] { readSettingsFile(settingsPath(), st.setup_lines); });
    guarded([this] { st.group_no = openingGroup(st.setup_lines[kGroupLine]); });
    guarded([this] { txt_mem->setText(st.setupLine(memoLine(st.group_no))); });
    guarded([this] {
        for (int i = 0; i < BoxCount; ++i)
            setBoxText(man[i], st.setupLine(nameLine(st.group_no, i)));
    });
    guarded([this] {
        if (const std::optional<float> top = windowEdge(st.setup_lines[kWindowTopLine]))
            moveTwips(leftTwips(), *top);
    });
    guarded([this] {
        if (const std::optional<float> left = windowEdge(st.setup_lines[kWindowLeftLine]))
            moveTwips(*left, topTwips());
    });
    st.line_top = 720;
    st.color_table = kColorTable;
    guarded([this] {
        st.man_count = applyFirstRunDefaults(st.setup_lines)
            ? kFirstRunParticipants
            : groupCounts(st.setup_lines, st.group_no).participants;
    });
    guarded([this] { man_set(); });
    cmd_auto->hide();
    cmd_test->hide();
    guardSpareWinnerLine(st.setup_lines);
    guarded([this] { st.atari_count = groupCounts(st.setup_lines, st.group_no).winners; });
    guarded([this] { atari_set(); });
    st.draw_mode = storedDrawMode(st.setup_lines[kModeLine]);
    guarded([this] { cmd_mode_Click(); });
}
