// Making and drawing the ladder, and tracing the participants' paths by click or by timer.
#include "app/form1.h"
#include "app/units.h"
#include "rungs.h"
#include "stamp.h"

#include <QDateTime>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTimer>

namespace {

// The time stamp stands above the first prize box, whole inside the window.
constexpr int kStampX = 7250;
constexpr int kStampRightMargin = 90;
constexpr uint32_t kStampColor = 0xFF0000;

constexpr int kAutoInterval = 500;

} // namespace

void Form1::cmd_make_Click()
{
    if (const std::optional<QString> refusal = lottery.makeLadder()) {
        showMessage(*refusal);
        return;
    }
    const LotteryState &st = lottery.state();
    for (QLineEdit *box : man)
        box->setReadOnly(false);
    surface.clear();
    surface.setForeColor(0x000000);
    surface.setDrawWidth(1);
    ladder::drawLadder(surface, st.ladder, st.man_count, st.line_top);
    update();

    setBackColor(cmd_standby, 0x0000FF);
}

void Form1::man_Click(int index)
{
    lottery.setTraceIndex(index);
    trace();
}

void Form1::trace()
{
    const std::optional<TraceStep> step = lottery.trace();
    if (!step)
        return;
    surface.setForeColor(step->color);
    if (step->penWidth != 0)
        surface.setDrawWidth(step->penWidth);
    ladder::drawPath(surface, step->route, lottery.state().line_top);

    QLineEdit *prize = ans.at(step->prizeRow);
    setBoxText(prize, step->resultText);
    prize->show();
    if (step->allTraced) {
        cmd_print->setEnabled(true);
        printTimeStamp();
    }
    update();
}

void Form1::printTimeStamp()
{
    surface.setCurrentX(kStampX);
    surface.setCurrentY(lottery.state().line_top);
    stampTime = QDateTime::currentDateTime();
    stampText = ladder::stampText(QLocale(), stampTime);
    surface.setFont(ladder::stampFont(stampText, kClientWidthTwips - kStampX - kStampRightMargin));
    surface.setForeColor(kStampColor);
    surface.print(stampText);
}

void Form1::cmd_auto_Click()
{
    if (!lottery.startAutoRun())
        return;
    setTimerInterval(kAutoInterval);
    cmd_auto->hide();
}

// The tick of the last participant ends the run; so does a trace that fails, which would
// otherwise be tried again every tick.
void Form1::tmr_1_Timer()
{
    const bool last = lottery.autoRunAtLast();
    setTimerInterval(0);
    trace();
    if (!last)
        setTimerInterval(kAutoInterval);
    lottery.advanceTraceIndex();
}

void Form1::setTimerInterval(int milliseconds)
{
    if (milliseconds == 0) {
        tmr_1->stop();
        return;
    }
    tmr_1->setInterval(milliseconds);
    tmr_1->start();
}
