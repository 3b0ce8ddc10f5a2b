// Tracing the participants' paths, by click or by timer.
#include "app/form1.h"
#include "path.h"

#include <QDateTime>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTimer>

namespace {

// The time stamp stands above the first prize box.
constexpr int kStampX = 7250;
constexpr double kStampPointSize = 12;
constexpr uint32_t kStampColor = 0xFF0000;

constexpr int kAutoInterval = 500;

} // namespace

void Form1::man_Click(int index)
{
    st.trace_index = to16(index);
    trace();
}

void Form1::trace()
{
    const int i = st.trace_index;
    if (st.ready_flag == 0)
        return;
    // Only the visible boxes 0..man_count-1 have a line on the ladder.
    if (i < 0 || i >= st.man_count)
        return;
    if (st.ladder.at(i + 1, 0) == 1)
        return;

    // The route and the colour are checked before anything is drawn.
    const ladder::PathRoute route = ladder::followRoute(st.ladder, i, st.man_count);
    surface.setForeColor(tableColor(st.color_table, i));
    if (const int width = ladder::pathPenWidth(i))
        surface.setDrawWidth(width);
    ladder::drawPath(surface, route, st.line_top);

    QLineEdit *prize = ans[route.finalLine - 1];
    setBoxText(prize, ladder::resultText(prize->text(), man[i]->text()));
    prize->show();

    st.ladder.at(i + 1, 0) = 1;
    st.all_traced = ladder::allTraced(st.ladder, st.man_count) ? 1 : 0;
    if (st.all_traced == 1) {
        cmd_print->setEnabled(true);
        printTimeStamp();
    }
    update();
}

void Form1::printTimeStamp()
{
    surface.setCurrentX(kStampX);
    surface.setCurrentY(st.line_top);
    surface.setFont(kStampPointSize, true);
    surface.setForeColor(kStampColor);
    surface.print(QLocale::system().toString(QDateTime::currentDateTime(), QLocale::ShortFormat));
}

void Form1::cmd_auto_Click()
{
    if (st.ready_flag != 1)
        return;
    setTimerInterval(kAutoInterval);
    st.trace_index = 0;
    cmd_auto->hide();
}

void Form1::tmr_1_Timer()
{
    trace();
    // Past the last participant as well, so that a run always ends.
    if (st.trace_index + 1 >= st.man_count)
        setTimerInterval(0);
    st.trace_index = to16(st.trace_index + 1);
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
