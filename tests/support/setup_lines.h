#pragma once
// Settings lines given by number, as a set_up.ini of a test's own holds them.

#include "settings/layout.h"
#include "settings/settings_file.h"

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

// A save for rules that need no file: the lines stay in the lottery.
inline bool unsaved(const settings::SetupLines &)
{
    return true;
}
