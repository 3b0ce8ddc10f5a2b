// The lottery's phase as the controls show it. Entry: the entry controls take input and 準備完了
// waits in red. Ready (results fixed, paths untraced) and finished: the entries are frozen, the
// prize boxes locked (each shown as its path reaches it), and once every path is traced 印刷
// is offered. While a path runs, the name it runs from is marked.
#include "box_look.h"
#include "form1.h"
#include "units.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

void Form1::showPhase()
{
    const LotteryPhase phase = lottery.phase();
    const bool entry = phase == LotteryPhase::Entry;
    const bool lotteryMode = lottery.drawMode() == modes::kLotteryMode;
    for (QWidget *control : {cmd_mode, cmd_up, cmd_down, cmd_up2, cmd_dn2, cmd_up3, cmd_dn3, cmd_clr, cmd_standby})
        control->setEnabled(entry);
    // In red from each new ladder on (showLadder) until standby.
    if (!entry)
        setBackColor(cmd_standby, kSystemButtonFace);
    txt_mem->setEnabled(entry);
    txt_mem->setReadOnly(!entry);
    for (QLineEdit *box : man)
        box->setReadOnly(!entry);
    // Prizes are typed in lottery mode only.
    for (QLineEdit *box : ans) {
        box->setReadOnly(!(entry && lotteryMode));
        if (!entry)
            setBackColor(box, kSystemWindowColor);
    }
    if (!entry)
        cmd_change->hide();
    cmd_print->setEnabled(phase == LotteryPhase::Finished);
    // The code stands from standby until the next lottery; a screen reader reads it as its name.
    const QString code = lottery.commitmentCode();
    lbl_code->setText(code.isEmpty() ? QString() : kCodeCaption + code);
    lbl_code->setAccessibleName(code.isEmpty() ? kCodeCaption.trimmed() : lbl_code->text());
    lbl_code->setVisible(!code.isEmpty());
    // The name whose path runs is marked until it arrives.
    const int running = lottery.runningParticipant().value_or(-1);
    if (running != markedName) {
        if (markedName >= 0)
            setBackColor(man[markedName], kSystemWindowColor);
        if (running >= 0)
            setBackColor(man[running], kRunningNameColor);
        markedName = running;
    }
}

void Form1::focusFirstName()
{
    if (isActiveWindow())
        man[0]->setFocus(Qt::OtherFocusReason);
}
