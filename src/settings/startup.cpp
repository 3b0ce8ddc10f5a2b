// Start-up: the state a first run opens with.
#include "app/form1.h"

#include <QPushButton>

void Form1::Form_Load()
{
    guarded([this] {
        st.line_top = 720;
        st.color_table = kColorTable;
        st.man_count = 2;
        setOuterHeightTwips(360 * st.man_count + 1380);
        cmd_make_Click();
        cmd_auto->hide();
        cmd_test->hide();
        st.atari_count = 1;
    });
}
