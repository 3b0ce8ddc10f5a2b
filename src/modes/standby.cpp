// cmd_standby_Click: checks the entries, fixes the hidden results, draws the final ladder,
// freezes the entry controls and saves the group.
#include "app/form1.h"
#include "app/units.h"
#include "mode_cycle.h"
#include "placement.h"
#include "settings/layout.h"
#include "settings/numbers.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

using modes::kLotteryMode;
using modes::kNumberMode;
using modes::kWinnerMode;
// QLineEdit's own maximum, which stands for "no limit".
constexpr int kNoLengthLimit = 32767;

} // namespace

bool Form1::entriesComplete()
{
    for (int i = 0; i < st.man_count; ++i) {
        if (man.at(i)->text().isEmpty()) {
            showMessage(QStringLiteral("名前を全部に入れて下さい"));
            return false;
        }
    }
    if (st.draw_mode != kLotteryMode)
        return true;
    for (int i = 0; i < st.man_count; ++i) {
        if (ans.at(i)->text().isEmpty()) {
            showMessage(QStringLiteral("くじ内容を全部に入れて下さい"));
            return false;
        }
    }
    return true;
}

void Form1::cmd_standby_Click()
{
    if (st.man_count < 2 || st.man_count > BoxCount)
        throw StateError("participant count outside 2..37");
    settings::checkedGroup(st.group_no);
    if (!entriesComplete())
        return;
    if (st.draw_mode == kLotteryMode && st.stored_prizes_shown == 1) {
        for (int i = 0; i < BoxCount; ++i)
            st.setupLine(settings::storedPrizeLine(i)) = ans[i]->text();
    }
    if (st.draw_mode == kLotteryMode)
        shufflePrizeBoxes();

    for (QWidget *control : {cmd_mode, cmd_up, cmd_down, cmd_up2, cmd_dn2, cmd_up3, cmd_dn3, cmd_clr})
        control->setEnabled(false);
    cmd_change->hide();
    cmd_standby->setEnabled(false);

    cmd_make_Click();

    for (QLineEdit *box : ans) {
        box->hide();
        box->setReadOnly(true);
        setTextColor(box, 0x000000);
    }
    fillResults();
    for (int i = 0; i < BoxCount; ++i) {
        man[i]->setReadOnly(true);
        ans[i]->setMaxLength(kNoLengthLimit);
    }
    txt_mem->setReadOnly(true);
    txt_mem->setEnabled(false);
    setBackColor(cmd_standby, kSystemButtonFace);
    st.ready_flag = 1;

    storeStandbyLines();
    saveSettings();
}

void Form1::shufflePrizeBoxes()
{
    QStringList prizes;
    for (QLineEdit *box : ans)
        prizes << box->text();
    placement::shufflePrizes(prizes, st.man_count, *seams.random);
    for (int i = 0; i < st.man_count; ++i)
        setBoxText(ans[i], prizes[i]);
}

// Winner mode marks atari_count random rows "あたり" in red; number mode numbers the rows.
void Form1::fillResults()
{
    if (st.draw_mode != kWinnerMode && st.draw_mode != kNumberMode)
        return;
    for (QLineEdit *box : ans)
        box->clear();
    if (st.draw_mode == kWinnerMode) {
        for (int row : placement::drawWinnerRows(st.man_count, st.atari_count, *seams.random)) {
            setTextColor(ans[row], 0x0000FF);
            ans[row]->setText(QStringLiteral("あたり"));
        }
        return;
    }
    const QList<int> numbers = placement::drawRowNumbers(st.man_count, *seams.random);
    for (int row = 0; row < st.man_count; ++row) {
        setTextColor(ans[row], 0x000000);
        ans[row]->setText(QString::number(numbers[row]));
    }
}

// The current group, the window position, the group and the mode to open with next time.
void Form1::storeStandbyLines()
{
    using namespace settings;
    const int g = st.group_no;
    st.setupLine(participantCountLine(g)) = formatCount(st.man_count);
    st.setupLine(memoLine(g)) = txt_mem->text();
    st.setupLine(kWindowTopLine) = formatPosition(float(topTwips()));
    st.setupLine(kWindowLeftLine) = formatPosition(float(leftTwips()));
    st.setupLine(kGroupLine) = formatCount(g - 1);
    st.setupLine(kModeLine) = formatCount(st.draw_mode - 1);
    st.setupLine(winnerCountLine(g)) = formatCount(st.atari_count);
    for (int i = 0; i < BoxCount; ++i) {
        st.setupLine(nameLine(g, i)) = man[i]->text();
        setBackColor(ans[i], kSystemWindowColor);
    }
}
