#include "startup_rules.h"

#include "layout.h"
#include "numbers.h"

namespace settings {

bool applyFirstRunDefaults(SetupLines &lines)
{
    if (!testedBelow(lines[participantCountLine(1)], 2))
        return false;
    for (int g = 1; g <= kGroupCount; ++g) {
        lines[participantCountLine(g)] = formatCount(kFirstRunParticipants);
        lines[winnerCountLine(g)] = formatCount(kFirstRunWinners);
    }
    return true;
}

GroupCounts groupCounts(const SetupLines &lines, int group)
{
    const std::optional<int16_t> participants = wholeNumber(lines[participantCountLine(group)]);
    const std::optional<int16_t> winners = wholeNumber(lines[winnerCountLine(group)]);
    const bool participantsValid = participants && *participants >= 2 && *participants <= kBoxCount;
    return {participantsValid ? *participants : kFirstRunParticipants, winners.value_or(kFirstRunWinners)};
}

std::optional<float> windowEdge(QString &line)
{
    if (testedBelow(line, 0)) {
        line = formatCount(0);
        return 0.0f;
    }
    return singleValue(line);
}

void guardSpareWinnerLine(SetupLines &lines)
{
    if (testedBelow(lines[kSpareWinnerLine], 1))
        lines[kSpareWinnerLine] = formatCount(1);
}

int16_t storedDrawMode(const QString &modeLine)
{
    const std::optional<int16_t> mode = wholeNumber(modeLine);
    return mode && *mode >= -1 && *mode <= 2 ? *mode : 0;
}

} // namespace settings
