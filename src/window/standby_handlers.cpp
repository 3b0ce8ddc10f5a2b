// cmd_standby_Click: checks the entries, fixes the hidden results, draws the final ladder,
// shows the ready phase (the entry controls frozen) and saves the group.
#include "box_look.h"
#include "form1.h"
#include "units.h"

#include <QLineEdit>
#include <QPushButton>

void Form1::cmd_standby_Click()
{
    const Standby done = lottery.standby(entries(), windowView.leftTwips(), windowView.topTwips(),
                                         [this](const settings::SetupLines &lines) { return saveSettings(lines); });
    if (done.refusal) {
        showMessage(*done.refusal);
        return;
    }
    // Frozen before the final ladder is drawn, also while a refused ladder's message is open.
    showPhase();
    hidePrizes();
    showLadder(done.ladder);

    recorder.recordStandby(lottery);
}

// Every prize box hidden and empty, ready for a result longer than typing allows: what lies
// behind it stays in the lottery until its path is traced, so that nothing in the window (nor
// what it tells a screen reader) holds it.
void Form1::hidePrizes()
{
    for (QLineEdit *box : ans) {
        box->hide();
        box->setMaxLength(kNoLengthLimit);
        setBoxText(box, QString());
    }
}
