#pragma once

#include "base/state.h"

#include <QPointF>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

class Surface;

// A participant's path: from the left end of its line 200 twips to the right, then one step per
// rung row for 27 rows, which brings it to the right end of the line it reaches (x = 7000).
namespace ladder {

constexpr int kPathLead = 200;
constexpr int kPathRows = 27;

// The cells a path meets, row by row, and the lines it starts and ends on.
struct PathRoute
{
    int startLine = 0;
    std::array<int16_t, kPathRows> cells{};
    int finalLine = 0;
};

// Follows participant index's path: a cell of 1 leads down to the next line, 2 up to the previous
// one, and the row advances after every step, so a rung is never taken back. Throws StateError when
// the path would start or run outside lines 1..manCount.
PathRoute followRoute(const LadderGrid &grid, int index, int manCount);

// Where the pen goes in one row from where it stands: 200 twips right, then along the rung if the
// cell holds one; nowhere for a value the grid never holds.
std::vector<QPointF> stepEnds(int16_t cell, QPointF pen);

// Draws a route in the current pen from the left end of its first line, reading the pen position
// back before every row.
void drawPath(Surface &surface, const PathRoute &route, int lineTop);

// Pen width in pixels by participant index, in bands of seven: 3, 1, 5, 3, 1, 5. 0 outside 0..41,
// which leaves the width as it is.
int pathPenWidth(int index);

// Between a prize and the participant who reached it: a space and a full-width colon.
inline const QString kResultSeparator = QStringLiteral(" \uFF1A");

// A prize box's text once a participant's path has reached it.
QString resultText(const QString &prize, const QString &name);

// True when lines 1..manCount all carry their traced mark.
bool allTraced(const LadderGrid &grid, int manCount);

} // namespace ladder
