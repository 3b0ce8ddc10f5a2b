// The draw as a show: a path that runs down the ladder at a steady speed and writes its result
// when it arrives. Time comes from the lottery's tick source.
#include "lottery.h"
#include "ladder/path_run.h"

namespace {

// Milliseconds from one tick to another; the tick count wraps around at the 32-bit range.
int32_t ticksBetween(int32_t from, int32_t to)
{
    return int32_t(uint32_t(to) - uint32_t(from));
}

} // namespace

std::optional<TraceStep> Lottery::startPath(int index, ladder::RunSpeed speed)
{
    if (running())
        return std::nullopt;
    st.trace_index = to16(index);
    return startCurrent(speed);
}

std::optional<TraceStep> Lottery::startCurrent(ladder::RunSpeed speed)
{
    std::optional<TraceStep> step = nextStep();
    if (!step)
        return std::nullopt;
    Running path;
    path.step = *step;
    path.points = ladder::routePoints(step->route, step->lineTop);
    path.length = ladder::routeLength(path.points);
    path.since = m_sources.ticks->ticks();
    path.duration = ladder::runDuration(speed);
    m_running = std::move(path);
    return step;
}

// As autoRunTick, with the path started instead of traced at once.
AutoTick Lottery::autoRunStartPath(ladder::RunSpeed speed)
{
    if (running())
        return {};
    AutoTick tick;
    tick.last = st.trace_index + 1 >= st.man_count;
    tick.step = startCurrent(speed);
    st.trace_index = to16(st.trace_index + 1);
    return tick;
}

std::optional<RunningFrame> Lottery::runningFrame()
{
    if (!m_running)
        return std::nullopt;
    Running &path = *m_running;
    const int32_t elapsed = ticksBetween(path.since, m_sources.ticks->ticks());
    const double length = ladder::runLength(path.length, elapsed, path.duration);
    RunningFrame frame;
    frame.participant = path.step.participant;
    frame.drawn = ladder::cutRoute(path.points, length);
    const int crossed = ladder::rungsCrossed(path.points, length);
    frame.rungsCrossed = std::max(0, crossed - path.rungsTold);
    path.rungsTold = std::max(crossed, path.rungsTold);
    frame.arrived = length >= path.length;
    return frame;
}

std::optional<TraceStep> Lottery::arrive()
{
    if (!m_running)
        return std::nullopt;
    TraceStep step = m_running->step;
    m_running.reset();
    writeStep(step);
    return step;
}

std::optional<int> Lottery::runningParticipant() const
{
    if (!m_running)
        return std::nullopt;
    return m_running->step.participant;
}
