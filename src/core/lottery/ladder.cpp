// Making a new random ladder.
#include "lottery.h"
#include "ladder/rungs.h"

NewLadder Lottery::makeLadder()
{
    if (running())
        return NewLadder{};
    return newLadder();
}

NewLadder Lottery::newLadder()
{
    if (st.draw_mode == modes::kWinnerMode && st.atari_count >= st.man_count)
        return NewLadder{false, QStringLiteral("あたり数を減らして下さい、\r上限は人数より１少ない数です。"), false, std::nullopt};
    if (st.man_count < 2 || st.man_count > kBoxCount)
        throw StateError("participant count outside 2..37");

    st.all_traced = 0;
    ladder::warmUp(*m_sources.random, m_sources.ticks->ticks());
    st.ready_flag = 0;
    m_commitment.reset();
    ladder::clearGrid(st.ladder);
    ladder::placeRungs(st.ladder, st.man_count, st.rung_density, *m_sources.random);
    return NewLadder{true, std::nullopt, false, drawing()};
}

LadderDrawing Lottery::drawing() const
{
    return LadderDrawing{st.ladder, st.man_count, st.line_top};
}
