#pragma once

#include "base/state.h"
#include "units.h"

#include <cstdint>

class RandomSource;
class Surface;

// Where the ladder lies on the window, in twips: line c at y = lineTop + one row step per line,
// from x = 1400 to x = 7000; the rungs of row r at x = 1600 + 200·r.
namespace ladder {

constexpr int kLineLeft = 1400;
constexpr int kLineRight = 7000;
// Each line runs level with its row of boxes.
constexpr int kLineSpacing = kRowStepTwips;
// The height of line 0, above the first row of boxes; line c + 1 is level with box row c.
constexpr int kFirstLineTop = 720;

inline int lineY(int lineTop, int line) { return lineTop + kLineSpacing * line; }
inline int rungX(int row) { return 1600 + 200 * row; }

// Candidate rows for a participant count: min(count + 3, 24).
int candidateRows(int manCount);

// The row a candidate j of gap c lands in: j when c + j is odd, else j + 1.
int rungRow(int gap, int candidate);

// Draws and discards (ticks mod 1000) numbers; none when that is 0 or negative.
int warmUp(RandomSource &random, int32_t ticks);

// Empties columns 1..37, rows 0..43 (rungs and traced marks).
void clearGrid(LadderGrid &grid);

// Removes every rung and traced mark beyond lines 1..manCount, the rungs from line manCount down
// included, so that a ladder kept for fewer participants leads every path to one of their lines.
void cutToLines(LadderGrid &grid, int manCount);

// One draw per candidate, gap by gap; a candidate places a rung when u·density < 1 in
// single precision.
void placeRungs(LadderGrid &grid, int manCount, float density, RandomSource &random);

// Draws the lines top to bottom, each followed by the rungs below it, in the current pen.
void drawLadder(Surface &surface, const LadderGrid &grid, int manCount, int lineTop);

} // namespace ladder
