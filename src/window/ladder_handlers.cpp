// Making and drawing the ladder, and tracing the participants' paths by click or by timer.
#include "box_look.h"
#include "form1.h"
#include "ladder/rungs.h"
#include "ladder/stamp.h"
#include "units.h"

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
    showLadder(lottery.makeLadder());
}

// A refused ladder is a message; a new one (or the one kept, cut to a new count) is drawn afresh,
// and before standby, standby is waited for in red.
void Form1::showLadder(const NewLadder &made)
{
    if (made.refusal)
        showMessage(*made.refusal);
    if (!made.drawing)
        return;
    const LadderDrawing &drawing = *made.drawing;
    surface.clear();
    surface.setForeColor(0x000000);
    surface.setDrawWidth(1);
    ladder::drawLadder(surface, drawing.grid, drawing.participants, drawing.lineTop);
    update();

    if (!lottery.ready())
        setBackColor(cmd_standby, kStandbyWaitingColor);
}

// A click on the running name ends its path at once; a click on another name ends it and starts
// that one's.
void Form1::man_Click(int index)
{
    const std::optional<int> running = lottery.runningParticipant();
    finishRunningPath();
    if (running != index)
        startTrace(index);
}

// Draws a traced path and shows the prize box it reached; the last one brings the time stamp.
void Form1::trace(const TraceStep &step)
{
    surface.setForeColor(step.color);
    if (step.penWidth != 0)
        surface.setDrawWidth(step.penWidth);
    ladder::drawPath(surface, step.route, step.lineTop);

    QLineEdit *prize = ans.at(step.prizeRow);
    setBoxText(prize, step.resultText);
    setTextColor(prize, step.resultColor);
    prize->show();
    recorder.recordTrace(step);
    if (step.allTraced) {
        drawTimeStamp(step.lineTop);
        // What the stamp says, for those who cannot see it.
        announce(QStringLiteral("全員の結果が出ました。%1").arg(lottery.roundStamp(stampText)));
        recorder.complete(stampTime, lottery);
    }
    update();
}

void Form1::drawTimeStamp(int lineTop)
{
    surface.setCurrentX(kStampX);
    surface.setCurrentY(lineTop);
    stampTime = QDateTime::currentDateTime();
    stampText = ladder::stampText(QLocale(), stampTime);
    const QString shown = lottery.roundStamp(stampText);
    surface.setFont(ladder::stampFont(shown, kClientWidthTwips - kStampX - kStampRightMargin));
    surface.setForeColor(kStampColor);
    surface.drawText(shown);
}

void Form1::cmd_auto_Click()
{
    if (!lottery.startAutoRun())
        return;
    autoRun = true;
    setTimerInterval(kAutoInterval);
    cmd_auto->hide();
}

// The tick of the last participant ends the run; so does a trace that fails, which would
// otherwise be tried again every tick. Otherwise the timer keeps its steady period; with the show
// on, it waits for each path to arrive and then takes up its period again.
void Form1::tmr_1_Timer()
{
    const bool show = windowView.showOn();
    AutoTick tick;
    if (!endingOnStateError([&] {
            tick = show ? lottery.autoRunStartPath(windowView.runSpeed()) : lottery.autoRunTick();
        }))
        tick.last = true;
    if (tick.last) {
        setTimerInterval(0);
        autoRun = false;
    }
    if (!tick.step)
        return;
    if (!show) {
        trace(*tick.step);
        return;
    }
    tmr_1->stop();
    pathShow->start(*tick.step);
}

void Form1::pathArrived(const TraceStep &step)
{
    trace(step);
    if (autoRun)
        setTimerInterval(kAutoInterval);
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
