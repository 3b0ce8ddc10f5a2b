#include "path_run.h"
#include "rungs.h"

#include <QLineF>

#include <algorithm>

namespace ladder {

int runDuration(RunSpeed speed)
{
    switch (speed) {
    case RunSpeed::Slow:
        return 4000;
    case RunSpeed::Normal:
        return 2000;
    case RunSpeed::Fast:
        return 1000;
    }
    return 2000;
}

std::vector<QPointF> routePoints(const PathRoute &route, int lineTop)
{
    QPointF pen(kLineLeft, lineY(lineTop, route.startLine));
    std::vector<QPointF> points{pen};
    pen.rx() += kPathLead;
    points.push_back(pen);
    for (int16_t cell : route.cells) {
        for (const QPointF &end : stepEnds(cell, pen)) {
            points.push_back(end);
            pen = end;
        }
    }
    return points;
}

double routeLength(const std::vector<QPointF> &points)
{
    double length = 0;
    for (size_t i = 1; i < points.size(); ++i)
        length += QLineF(points[i - 1], points[i]).length();
    return length;
}

double runLength(double total, int32_t elapsed, int duration)
{
    if (elapsed <= 0)
        return 0;
    if (duration <= 0 || elapsed >= duration)
        return total;
    return total * elapsed / duration;
}

std::vector<QPointF> cutRoute(const std::vector<QPointF> &points, double length)
{
    std::vector<QPointF> cut;
    if (points.empty())
        return cut;
    cut.push_back(points.front());
    double walked = 0;
    for (size_t i = 1; i < points.size(); ++i) {
        const QLineF step(points[i - 1], points[i]);
        if (walked + step.length() > length) {
            const double left = length - walked;
            if (left > 0)
                cut.push_back(step.pointAt(left / step.length()));
            break;
        }
        walked += step.length();
        cut.push_back(points[i]);
    }
    return cut;
}

int rungsCrossed(const std::vector<QPointF> &points, double length)
{
    int crossed = 0;
    double walked = 0;
    for (size_t i = 1; i < points.size(); ++i) {
        const QLineF step(points[i - 1], points[i]);
        walked += step.length();
        if (walked > length)
            break;
        // The lines run across the window; only a rung takes the pen up or down.
        if (step.dx() == 0 && step.dy() != 0)
            ++crossed;
    }
    return crossed;
}

} // namespace ladder
