#pragma once
// The two contents the crash-safe saving test alternates: set_up.ini as the program saves it,
// once with short names and once with long ones, so a file cut anywhere matches neither.

#include "settings/layout.h"
#include "settings/settings_file.h"

namespace save_test {

// Save n (counted from 1) writes contents(n % 2); the file before the first save is contents(0).
inline settings::SetupLines contents(int which)
{
    using namespace settings;
    SetupLines lines;
    const bool longNames = which % 2 == 1;
    for (int g = 1; g <= kGroupCount; ++g) {
        lines[participantCountLine(g)] = QString::number(longNames ? 37 : 5);
        lines[winnerCountLine(g)] = QString::number(longNames ? 12 : 2);
        lines[memoLine(g)] = QStringLiteral("メモ%1").arg(g).repeated(longNames ? 60 : 1);
        for (int i = 0; i < kBoxCount; ++i)
            lines[nameLine(g, i)] = QStringLiteral("名前%1-%2").arg(g).arg(i).repeated(longNames ? 40 : 1);
    }
    lines[kWindowLeftLine] = QStringLiteral("1230");
    lines[kWindowTopLine] = QStringLiteral("645");
    lines[kGroupLine] = QString::number(longNames ? 6 : 2);
    lines[kModeLine] = QString::number(longNames ? 1 : -1);
    return lines;
}

} // namespace save_test
