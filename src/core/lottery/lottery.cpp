#include "lottery.h"

Lottery::Lottery(LotterySources sources)
    : m_sources(std::move(sources))
{
    reset();
}

// The state of a fresh window: zero-filled, nothing standing behind the prize boxes.
void Lottery::reset()
{
    st = LotteryState();
    m_results = RowResults();
    m_hidden = RowResults();
    m_names = BoxTexts();
    m_memo.clear();
    m_reached.fill(-1);
    m_round = 1;
    m_before.reset();
    m_commitment.reset();
    m_running.reset();
}

LotteryPhase Lottery::phase() const
{
    if (st.ready_flag == 0)
        return LotteryPhase::Entry;
    if (m_running)
        return LotteryPhase::Running;
    return st.all_traced == 1 ? LotteryPhase::Finished : LotteryPhase::Ready;
}
