#pragma once
// What each line of set_up.ini holds. Every line number in the program comes from here.

#include "base/state.h"

namespace settings {

constexpr int kLineCount = 326;
constexpr int kGroupCount = 7;

constexpr int kWindowLeftLine = 9;
constexpr int kWindowTopLine = 10;
// The current group minus one.
constexpr int kGroupLine = 11;
// The draw mode minus one.
constexpr int kModeLine = 12;
// Belongs to no group; start-up may guard it with "1".
constexpr int kSpareWinnerLine = 13;

constexpr bool isGroup(int group)
{
    return group >= 1 && group <= kGroupCount;
}

constexpr int checkedGroup(int group)
{
    if (!isGroup(group))
        throw StateError("group outside 1..7");
    return group;
}

constexpr int checkedIndex(int index, int count)
{
    if (index < 0 || index >= count)
        throw StateError("box index outside the settings slot");
    return index;
}

constexpr int participantCountLine(int group)
{
    return checkedGroup(group);
}

constexpr int winnerCountLine(int group)
{
    return 13 + checkedGroup(group);
}

constexpr int memoLine(int group)
{
    return 38 * checkedGroup(group) + 23;
}

// The name of box `man(box)` in the group's slot.
constexpr int nameLine(int group, int box)
{
    return 38 * checkedGroup(group) + 24 + checkedIndex(box, kBoxCount);
}

// The stored prize list entry for box `ans(box)`.
constexpr int storedPrizeLine(int box)
{
    return 21 + checkedIndex(box, kBoxCount);
}

static_assert(nameLine(kGroupCount, kBoxCount - 1) == kLineCount);
static_assert(kLineCount < LotteryState::SetupLineCount);

} // namespace settings
