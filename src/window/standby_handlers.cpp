// cmd_standby_Click: checks the entries, fixes the hidden results, draws the final ladder,
// freezes the entry controls and saves the group.
#include "box_look.h"
#include "form1.h"
#include "units.h"

#include <QLineEdit>
#include <QPushButton>

void Form1::cmd_standby_Click()
{
    const Standby done = lottery.standby(entries(), leftTwips(), topTwips(),
                                         [this](const settings::SetupLines &lines) { return saveSettings(lines); });
    if (done.refusal) {
        showMessage(*done.refusal);
        return;
    }
    for (QWidget *control : {cmd_mode, cmd_up, cmd_down, cmd_up2, cmd_dn2, cmd_up3, cmd_dn3, cmd_clr})
        control->setEnabled(false);
    cmd_change->hide();
    cmd_standby->setEnabled(false);
    showLadder(done.ladder);

    showResults();
    for (int i = 0; i < kBoxCount; ++i) {
        man[i]->setReadOnly(true);
        ans[i]->setMaxLength(kNoLengthLimit);
        setBackColor(ans[i], kSystemWindowColor);
    }
    txt_mem->setReadOnly(true);
    txt_mem->setEnabled(false);
    setBackColor(cmd_standby, kSystemButtonFace);

    recordLottery(txt_mem->text());
}

// Every prize box hidden, locked and empty: what lies behind it stays in the lottery until its
// path is traced, so that nothing in the window (nor what it tells a screen reader) holds it.
void Form1::showResults()
{
    for (int i = 0; i < kBoxCount; ++i) {
        ans[i]->hide();
        ans[i]->setReadOnly(true);
        setBoxText(ans[i], QString());
    }
}
