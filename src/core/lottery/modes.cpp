// The draw modes and the stored prize list.
#include "lottery.h"
#include "modes/mode_cycle.h"
#include "settings/layout.h"

ModeChange Lottery::changeMode(const BoxTexts &prizeBoxes)
{
    if (running())
        return ModeChange{st.draw_mode, st.man_count, std::nullopt, {}};
    st.rung_density = modes::rungDensity(m_sources.random->next());
    st.draw_mode = modes::nextDrawMode(st.draw_mode);

    ModeChange change;
    change.mode = st.draw_mode;
    change.participants = st.man_count;
    change.look = modes::modeLook(st.draw_mode);
    // Leaving lottery mode keeps the typed prizes so that they come back with it.
    if (st.draw_mode == modes::kNumberMode) {
        for (int i = 0; i < kBoxCount; ++i)
            st.savedPrize(i) = prizeBoxes[i];
    } else if (st.draw_mode == modes::kLotteryMode) {
        for (int i = 0; i < kBoxCount; ++i)
            change.prizes[i] = st.savedPrize(i);
    }
    return change;
}

std::optional<BoxTexts> Lottery::toggleStoredPrizes()
{
    if (running())
        return std::nullopt;
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
