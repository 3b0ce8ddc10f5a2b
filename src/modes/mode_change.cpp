// cmd_mode_Click: steps to the next draw mode and arranges the prize column, the winner-count
// controls and the stored-list toggle for it.
#include "app/form1.h"
#include "mode_cycle.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Leaving lottery mode keeps the typed prizes so that they come back with it.
void enterNumberMode(Form1 &form)
{
    for (int i = 0; i < Form1::BoxCount; ++i) {
        form.st.savedPrize(i) = form.ans[i]->text();
        form.ans[i]->clear();
        form.ans[i]->hide();
        form.ans[i]->setReadOnly(true);
    }
    form.cmd_change->hide();
}

void enterLotteryMode(Form1 &form)
{
    for (int i = 0; i < Form1::BoxCount; ++i) {
        Form1::setBoxText(form.ans[i], form.st.savedPrize(i));
        Form1::setTextColor(form.ans[i], 0x000000);
        form.ans[i]->setReadOnly(false);
        if (i < form.st.man_count)
            form.ans[i]->show();
    }
    form.lbl_atari->hide();
    form.cmd_up2->hide();
    form.cmd_dn2->hide();
    form.cmd_change->show();
}

// The prize boxes are already empty here when the modes are cycled in order.
void enterWinnerMode(Form1 &form)
{
    for (QLineEdit *box : form.ans) {
        box->clear();
        box->hide();
        box->setReadOnly(true);
    }
    form.lbl_atari->show();
    form.cmd_up2->show();
    form.cmd_dn2->show();
    form.cmd_change->hide();
}

} // namespace

void Form1::cmd_mode_Click()
{
    st.rung_density = modes::rungDensity(seams.random->next());
    st.draw_mode = modes::nextDrawMode(st.draw_mode);

    const std::optional<modes::ModeLook> look = modes::modeLook(st.draw_mode);
    if (!look)
        return;
    cmd_mode->setText(look->caption);
    setBackColor(cmd_mode, look->color);
    switch (st.draw_mode) {
    case modes::kNumberMode:
        enterNumberMode(*this);
        break;
    case modes::kLotteryMode:
        enterLotteryMode(*this);
        break;
    case modes::kWinnerMode:
        enterWinnerMode(*this);
        break;
    }
}
