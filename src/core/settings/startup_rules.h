#pragma once
// The decisions start-up and a group change take from the settings lines, and the repairs
// they make to lines a person edited by hand.

#include "settings_file.h"

#include <cstdint>
#include <optional>

namespace settings {

constexpr int16_t kFirstRunParticipants = 2;
constexpr int16_t kFirstRunWinners = 1;

// Line 1 below 2 (or not a number) means a first run: every group gets 2 participants and 1
// winner. Returns whether it applied them.
bool applyFirstRunDefaults(SetupLines &lines);

// A group's counts, each repaired on its own: a participant count that is not a whole number in
// 2..37 gives 2, a winner count that is not a whole number gives 1, and the other count is kept.
// Whole counts that merely break 1 <= winners <= participants - 1 are kept.
struct GroupCounts
{
    int16_t participants;
    int16_t winners;
};
GroupCounts groupCounts(const SetupLines &lines, int group);

// A window edge from line 9 or 10. A negative value (or one that is not a number) is reset:
// "0" is stored in the line and the edge is 0. A number too large for single precision gives
// nothing, and the edge stays where it is.
std::optional<float> windowEdge(QString &line);

// Line 13 belongs to no group; below 1 it is set to "1".
void guardSpareWinnerLine(SetupLines &lines);

// The draw mode line 12 gives before the mode is advanced: a whole number in -1..2, else 0
// (so the window opens in lottery mode, as with an unreadable line).
int16_t storedDrawMode(const QString &modeLine);

} // namespace settings
