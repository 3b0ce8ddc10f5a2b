#include "lottery.h"
#include "settings/layout.h"

namespace {

constexpr int16_t kMaxParticipants = 37;
constexpr int16_t kMinParticipants = 2;
constexpr int16_t kMinWinners = 1;

} // namespace

Lottery::Lottery(std::unique_ptr<RandomSource> random, std::unique_ptr<TickSource> ticks)
    : m_random(std::move(random))
    , m_ticks(std::move(ticks))
{
}

void Lottery::restart()
{
    st = LotteryState();
    m_results = RowResults();
    m_hidden = RowResults();
    m_names = BoxTexts();
    m_memo.clear();
    m_reached.fill(-1);
}

bool Lottery::addParticipant()
{
    if (st.man_count >= kMaxParticipants)
        return false;
    st.man_count = to16(st.man_count + 1);
    return true;
}

bool Lottery::removeParticipant()
{
    if (st.man_count <= kMinParticipants)
        return false;
    st.man_count = to16(st.man_count - 1);
    return true;
}

bool Lottery::addWinner()
{
    if (to16(st.atari_count + 1) >= st.man_count)
        return false;
    st.atari_count = to16(st.atari_count + 1);
    return true;
}

bool Lottery::removeWinner()
{
    if (st.atari_count <= kMinWinners)
        return false;
    st.atari_count = to16(st.atari_count - 1);
    return true;
}

void Lottery::layOut()
{
    // A count outside 0..37 would address a box that does not exist.
    if (st.man_count < 0 || st.man_count > kBoxCount)
        throw StateError("participant count outside the boxes");
    st.ready_flag = 0;
}

std::optional<BoxTexts> Lottery::toggleStoredPrizes()
{
    if (st.stored_prizes_shown != 0) {
        st.stored_prizes_shown = 0;
        return std::nullopt;
    }
    st.stored_prizes_shown = 1;
    BoxTexts list;
    for (int i = 0; i < kBoxCount; ++i)
        list[i] = st.setupLine(settings::storedPrizeLine(i));
    return list;
}
