// Start-up: the state a first run opens with. Each step that fails is skipped.
#include "app/form1.h"

#include <QPushButton>

void Form1::Form_Load()
{
    guarded([this] {
        st.line_top = 720;
        st.color_table = kColorTable;
        st.group_no = 1;
        st.man_count = 2;
    });
    guarded([this] { man_set(); });
    guarded([this] {
        cmd_auto->hide();
        cmd_test->hide();
        st.atari_count = 1;
    });
    guarded([this] { atari_set(); });
    guarded([this] { cmd_mode_Click(); });
}
