#pragma once
// A lottery core started the way the window starts it, from settings lines given by number.

#include "app/lottery.h"
#include "settings/layout.h"

#include <QMap>

using Lines = QMap<int, QString>;

inline settings::SetupLines setupLines(const Lines &lines)
{
    settings::SetupLines all;
    for (auto it = lines.begin(); it != lines.end(); ++it)
        all[it.key()] = it.value();
    return all;
}

// Group 1's counts and the draw mode to open in (stored as the mode minus one).
inline Lines counts(int participants, int winners, int mode)
{
    return {{settings::participantCountLine(1), QString::number(participants)},
            {settings::winnerCountLine(1), QString::number(winners)},
            {settings::kModeLine, QString::number(mode - 1)}};
}

// The lottery's part of the window's start-up: the group and participants, the boxes laid out
// with the first ladder, the winner count, then the stored mode that the first mode change
// steps into (the prize boxes are still empty then).
inline Opening startAsTheWindowDoes(Lottery &lottery, const Lines &lines)
{
    const Opening opening = lottery.open(setupLines(lines));
    lottery.layOut();
    lottery.makeLadder();
    lottery.openWinnerCount();
    lottery.openDrawMode();
    lottery.changeMode({});
    return opening;
}
