// Prize draws in rounds: once a lottery in winner mode is over, those who did not win draw again.
// The group keeps the whole list the first round started from; a round's shorter list lives only
// in the state and the boxes.
#include "lottery.h"
#include "settings/layout.h"
#include "settings/numbers.h"

#include <algorithm>

namespace {

constexpr int kMinRoundParticipants = 2;

} // namespace

// The names of the participants whose path reached an empty prize box, in name-box order.
QStringList Lottery::nonWinners() const
{
    QStringList names;
    for (int i = 0; i < st.man_count; ++i) {
        const int row = m_reached.at(i);
        if (row >= 0 && m_hidden.at(row).text.isEmpty())
            names << m_names.at(i);
    }
    return names;
}

bool Lottery::roundPossible() const
{
    return st.draw_mode == modes::kWinnerMode && allTraced() && nonWinners().size() >= kMinRoundParticipants;
}

// A new start from lines in which the group holds only the non-winners; afterwards the lines go
// back to the whole list, so that neither standby nor the next lottery sees the shorter one.
std::optional<Startup> Lottery::nextRound()
{
    using namespace settings;
    if (!roundPossible())
        return std::nullopt;
    const QStringList names = nonWinners();
    const int group = checkedGroup(st.group_no);
    const int16_t participants = to16(names.size());
    // As the count buttons keep it: at least one winner, and at least one who does not win.
    const int16_t winners = std::clamp<int16_t>(st.atari_count, 1, to16(participants - 1));
    const int number = m_round + 1;

    const SetupLines whole = st.setup_lines;
    SetupLines lines = whole;
    lines[participantCountLine(group)] = formatCount(participants);
    lines[winnerCountLine(group)] = formatCount(winners);
    for (int i = 0; i < kBoxCount; ++i)
        lines[nameLine(group, i)] = i < names.size() ? names[i] : QString();

    Startup opening = start(std::move(lines));
    st.setup_lines[participantCountLine(group)] = whole[participantCountLine(group)];
    for (int i = 0; i < kBoxCount; ++i)
        st.setup_lines[nameLine(group, i)] = whole[nameLine(group, i)];
    m_round = number;
    return opening;
}

QString Lottery::roundStamp(const QString &stamp) const
{
    return m_round > 1 ? QStringLiteral("第%1回 ").arg(m_round) + stamp : stamp;
}
