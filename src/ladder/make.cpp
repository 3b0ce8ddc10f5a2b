// cmd_make_Click: a new random ladder for the current participant count.
#include "app/form1.h"
#include "rungs.h"

#include <QLineEdit>
#include <QPushButton>

void Form1::cmd_make_Click()
{
    if (st.draw_mode == 0 && st.atari_count >= st.man_count) {
        showMessage(QStringLiteral("あたり数を減らして下さい、\r上限は人数より１少ない数です。"));
        return;
    }
    if (st.man_count < 2 || st.man_count > ladder::kMaxLines)
        throw StateError("participant count outside 2..37");

    st.all_traced = 0;
    ladder::warmUp(*seams.random, seams.ticks->ticks());
    st.ready_flag = 0;
    ladder::clearGrid(st.ladder);
    for (QLineEdit *box : man)
        box->setReadOnly(false);
    surface.clear();

    ladder::placeRungs(st.ladder, st.man_count, st.rung_density, *seams.random);
    surface.setForeColor(0x000000);
    surface.setDrawWidth(1);
    ladder::drawLadder(surface, st.ladder, st.man_count, st.line_top);
    update();

    setBackColor(cmd_standby, 0x0000FF);
}
