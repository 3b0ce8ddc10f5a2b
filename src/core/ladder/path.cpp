#include "path.h"
#include "rungs.h"

#include "ladder/surface.h"

namespace ladder {

namespace {

int lineChange(int16_t cell)
{
    return cell == 1 ? 1 : cell == 2 ? -1 : 0;
}

} // namespace

PathRoute followRoute(const LadderGrid &grid, int index, int manCount)
{
    PathRoute route;
    route.startLine = index + 1;
    if (route.startLine < 1 || route.startLine > manCount)
        throw StateError("participant has no ladder line");
    int line = route.startLine;
    for (int row = 1; row <= kPathRows; ++row) {
        const int16_t cell = grid.at(line, row);
        route.cells[row - 1] = cell;
        line += lineChange(cell);
        if (line < 1 || line > manCount)
            throw StateError("rung leads off the ladder");
    }
    route.finalLine = line;
    return route;
}

std::vector<QPointF> stepEnds(int16_t cell, QPointF pen)
{
    const QPointF across(pen.x() + kPathLead, pen.y());
    switch (cell) {
    case 0:
        return {across};
    case 1:
        return {across, QPointF(across.x(), across.y() + kLineSpacing)};
    case 2:
        return {across, QPointF(across.x(), across.y() - kLineSpacing)};
    default:
        return {};
    }
}

void drawPath(Surface &surface, const PathRoute &route, int lineTop)
{
    surface.setCurrentX(kLineLeft);
    surface.setCurrentY(lineY(lineTop, route.startLine));
    surface.lineTo(surface.currentX() + kPathLead, surface.currentY());
    for (int16_t cell : route.cells) {
        const QPointF pen(surface.currentX(), surface.currentY());
        for (const QPointF &end : stepEnds(cell, pen))
            surface.lineTo(end.x(), end.y());
    }
}

int pathPenWidth(int index)
{
    static constexpr int kBandWidths[] = {3, 1, 5, 3, 1, 5};
    if (index < 0 || index >= 7 * 6)
        return 0;
    return kBandWidths[index / 7];
}

QString resultText(const QString &prize, const QString &name)
{
    return prize + kResultSeparator + name;
}

bool allTraced(const LadderGrid &grid, int manCount)
{
    for (int line = 1; line <= manCount; ++line) {
        if (grid.at(line, 0) == 0)
            return false;
    }
    return true;
}

} // namespace ladder
