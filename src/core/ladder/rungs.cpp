#include "rungs.h"

#include "base/sources.h"
#include "ladder/surface.h"

#include <algorithm>

namespace ladder {

int candidateRows(int manCount)
{
    return std::min(manCount + 3, 24);
}

int rungRow(int gap, int candidate)
{
    return (gap + candidate) % 2 != 0 ? candidate : candidate + 1;
}

int warmUp(RandomSource &random, int32_t ticks)
{
    const int draws = ticks % 1000;
    for (int i = 0; i < draws; ++i)
        random.next();
    return std::max(draws, 0);
}

void clearGrid(LadderGrid &grid)
{
    for (int c = 1; c <= kBoxCount; ++c)
        for (int r = 0; r <= 43; ++r)
            grid.at(c, r) = 0;
}

void cutToLines(LadderGrid &grid, int manCount)
{
    for (int r = 1; r <= 43; ++r) {
        if (grid.at(manCount, r) == 1)
            grid.at(manCount, r) = 0;
    }
    for (int c = manCount + 1; c <= kBoxCount; ++c)
        for (int r = 0; r <= 43; ++r)
            grid.at(c, r) = 0;
}

void placeRungs(LadderGrid &grid, int manCount, float density, RandomSource &random)
{
    const int rows = candidateRows(manCount);
    for (int c = 1; c <= manCount - 1; ++c) {
        for (int j = 1; j <= rows; ++j) {
            const float u = random.next();
            const float scaled = u * density;
            if (scaled < 1.0f) {
                const int r = rungRow(c, j);
                grid.at(c, r) = 1;
                grid.at(c + 1, r) = 2;
            }
        }
    }
}

void drawLadder(Surface &surface, const LadderGrid &grid, int manCount, int lineTop)
{
    const int rows = candidateRows(manCount);
    for (int c = 1; c <= manCount - 1; ++c) {
        surface.line(kLineLeft, lineY(lineTop, c), kLineRight, lineY(lineTop, c));
        for (int r = 1; r <= rows + 1; ++r) {
            if (grid.at(c, r) == 1)
                surface.line(rungX(r), lineY(lineTop, c), rungX(r), lineY(lineTop, c + 1));
        }
    }
    surface.line(kLineLeft, lineY(lineTop, manCount), kLineRight, lineY(lineTop, manCount));
}

} // namespace ladder
