// Making a ladder and tracing the participants' paths through it.
#include "app/lottery.h"
#include "path.h"
#include "rungs.h"

#include <QStringList>

std::optional<QString> Lottery::makeLadder()
{
    if (st.draw_mode == modes::kWinnerMode && st.atari_count >= st.man_count)
        return QStringLiteral("あたり数を減らして下さい、\r上限は人数より１少ない数です。");
    if (st.man_count < 2 || st.man_count > ladder::kMaxLines)
        throw StateError("participant count outside 2..37");

    st.all_traced = 0;
    ladder::warmUp(*m_random, m_ticks->ticks());
    st.ready_flag = 0;
    ladder::clearGrid(st.ladder);
    ladder::placeRungs(st.ladder, st.man_count, st.rung_density, *m_random);
    return std::nullopt;
}

void Lottery::setTraceIndex(int index)
{
    st.trace_index = to16(index);
}

std::optional<TraceStep> Lottery::trace()
{
    const int i = st.trace_index;
    if (st.ready_flag == 0)
        return std::nullopt;
    // Only rows 0..man_count-1 have a line on the ladder.
    if (i < 0 || i >= st.man_count)
        return std::nullopt;
    if (st.ladder.at(i + 1, 0) == 1)
        return std::nullopt;

    // Everything that can fail is done before anything changes.
    TraceStep step;
    step.route = ladder::followRoute(st.ladder, i, st.man_count);
    step.color = tableColor(st.color_table, i);
    step.penWidth = ladder::pathPenWidth(i);
    step.prizeRow = step.route.finalLine - 1;
    RowResult &reached = m_results.at(step.prizeRow);
    step.resultText = ladder::resultText(reached.text, m_names.at(i));

    reached.text = step.resultText;
    m_reached.at(i) = step.prizeRow;
    st.ladder.at(i + 1, 0) = 1;
    st.all_traced = ladder::allTraced(st.ladder, st.man_count) ? 1 : 0;
    step.allTraced = st.all_traced == 1;
    return step;
}

bool Lottery::startAutoRun()
{
    if (st.ready_flag != 1)
        return false;
    st.trace_index = 0;
    return true;
}

void Lottery::advanceTraceIndex()
{
    st.trace_index = to16(st.trace_index + 1);
}

QString Lottery::resultSummary(const QString &stamp) const
{
    QStringList lines;
    lines << (m_memo.isEmpty() ? stamp : m_memo + QLatin1Char(' ') + stamp);
    for (int i = 0; i < st.man_count; ++i) {
        const int row = m_reached.at(i);
        QString reached = row >= 0 ? m_hidden.at(row).text : QString();
        if (reached.isEmpty() && st.draw_mode == modes::kWinnerMode)
            reached = QStringLiteral("はずれ");
        lines << m_names.at(i) + ladder::kResultSeparator + reached;
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}
