// The draw as a show: with it on, a click (or the automatic run) starts the participant's path
// running down the ladder; its prize is written when it arrives. 演出 turns it on or off for the
// view in use, 速さ sets how long a path takes, 残りを全部たどる shows every result at once.
#include "form1.h"

#include <QTimer>

void Form1::startTrace(int index)
{
    if (!windowView.showOn()) {
        if (const std::optional<TraceStep> step = lottery.trace(index))
            trace(*step);
        return;
    }
    if (const std::optional<TraceStep> step = lottery.startPath(index, windowView.runSpeed()))
        pathShow->start(*step);
}

void Form1::finishRunningPath()
{
    pathShow->finish();
}

void Form1::mnu_show_Click()
{
    windowView.toggleShow();
}

void Form1::mnu_speed_Click(ladder::RunSpeed speed)
{
    windowView.setRunSpeed(speed);
}

// The running path ends, the automatic run stops, and every path not yet traced is traced at once.
void Form1::mnu_traceAll_Click()
{
    finishRunningPath();
    setTimerInterval(0);
    autoRun = false;
    for (int i = 0; i < lottery.participantCount(); ++i) {
        if (const std::optional<TraceStep> step = lottery.trace(i))
            trace(*step);
    }
}
