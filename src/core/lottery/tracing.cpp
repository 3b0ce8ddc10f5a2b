// Tracing the participants' paths, by click or by the automatic run, and the result as text.
#include "lottery.h"
#include "ladder/path.h"

#include <QStringList>

std::optional<TraceStep> Lottery::trace(int index)
{
    if (running())
        return std::nullopt;
    st.trace_index = to16(index);
    return traceCurrent();
}

std::optional<TraceStep> Lottery::traceCurrent()
{
    std::optional<TraceStep> step = nextStep();
    if (step)
        writeStep(*step);
    return step;
}

// Everything that can fail is done before anything changes.
std::optional<TraceStep> Lottery::nextStep() const
{
    const int i = st.trace_index;
    if (st.ready_flag == 0)
        return std::nullopt;
    // Only rows 0..man_count-1 have a line on the ladder.
    if (i < 0 || i >= st.man_count)
        return std::nullopt;
    if (st.ladder.at(i + 1, 0) == 1)
        return std::nullopt;

    TraceStep step;
    step.participant = i;
    step.route = ladder::followRoute(st.ladder, i, st.man_count);
    step.color = tableColor(st.color_table, i);
    step.penWidth = ladder::pathPenWidth(i);
    step.lineTop = st.line_top;
    step.prizeRow = step.route.finalLine - 1;
    const RowResult &reached = m_results.at(step.prizeRow);
    step.resultText = ladder::resultText(reached.text, m_names.at(i));
    step.resultColor = reached.color;
    step.reached = m_hidden.at(step.prizeRow).text;
    step.win = st.draw_mode == modes::kWinnerMode && !step.reached.isEmpty();
    return step;
}

// The name goes behind the prize, and the participant's line takes its traced mark.
void Lottery::writeStep(TraceStep &step)
{
    const int i = step.participant;
    m_results.at(step.prizeRow).text = step.resultText;
    m_reached.at(i) = step.prizeRow;
    st.ladder.at(i + 1, 0) = 1;
    st.all_traced = ladder::allTraced(st.ladder, st.man_count) ? 1 : 0;
    step.allTraced = st.all_traced == 1;
}

bool Lottery::startAutoRun()
{
    if (st.ready_flag != 1)
        return false;
    st.trace_index = 0;
    return true;
}

// A trace that fails ends the tick before the index moves on.
AutoTick Lottery::autoRunTick()
{
    if (running())
        return {};
    AutoTick tick;
    tick.last = st.trace_index + 1 >= st.man_count;
    tick.step = traceCurrent();
    st.trace_index = to16(st.trace_index + 1);
    return tick;
}

QString Lottery::resultSummary(const QString &stamp) const
{
    QStringList lines;
    const QString shown = roundStamp(stamp);
    lines << (m_memo.isEmpty() ? shown : m_memo + QLatin1Char(' ') + shown);
    for (int i = 0; i < st.man_count; ++i) {
        const int row = m_reached.at(i);
        QString reached = row >= 0 ? m_hidden.at(row).text : QString();
        if (reached.isEmpty() && st.draw_mode == modes::kWinnerMode)
            reached = kNoWin;
        lines << m_names.at(i) + ladder::kResultSeparator + reached;
    }
    // The whole hash, to set beside the code the room saw at standby.
    if (m_commitment)
        lines << kHashLineLead + QString::fromLatin1(m_commitment->hash);
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QStringList Lottery::participants() const
{
    if (st.ready_flag != 1)
        return {};
    return QStringList(m_names.begin(), m_names.begin() + st.man_count);
}
