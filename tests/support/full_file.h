#pragma once
// A settings file as the program writes it after use, by line number.

#include "settings/layout.h"
#include "support/setup_lines.h"

// The lines with some of them changed.
inline Lines with(Lines lines, const Lines &changes)
{
    for (auto it = changes.begin(); it != changes.end(); ++it)
        lines[it.key()] = it.value();
    return lines;
}

// Every group with its counts, memo and names; window at 0, 0, group 1, lottery mode.
inline Lines fullFile(int participants = 5, int winners = 2)
{
    using namespace settings;
    Lines lines;
    for (int g = 1; g <= kGroupCount; ++g) {
        lines[participantCountLine(g)] = QString::number(participants);
        lines[winnerCountLine(g)] = QString::number(winners);
        lines[memoLine(g)] = QStringLiteral("メモ%1").arg(g);
        for (int i = 0; i < kBoxCount; ++i)
            lines[nameLine(g, i)] = QStringLiteral("G%1名前%2").arg(g).arg(i);
    }
    lines[kWindowLeftLine] = QStringLiteral("0");
    lines[kWindowTopLine] = QStringLiteral("0");
    lines[kGroupLine] = QStringLiteral("0");
    lines[kModeLine] = QStringLiteral("0");
    lines[kSpareWinnerLine] = QStringLiteral("1");
    return lines;
}
