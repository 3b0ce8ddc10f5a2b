// The count buttons, and the layout of the boxes for the participant count.
#include "lottery.h"
#include "ladder/rungs.h"

namespace {

constexpr int16_t kMinParticipants = 2;
constexpr int16_t kMinWinners = 1;

} // namespace

std::optional<Layout> Lottery::addParticipant()
{
    if (running())
        return std::nullopt;
    if (st.man_count >= kBoxCount)
        return std::nullopt;
    st.man_count = to16(st.man_count + 1);
    return layOut();
}

std::optional<Layout> Lottery::removeParticipant()
{
    if (running())
        return std::nullopt;
    if (st.man_count <= kMinParticipants)
        return std::nullopt;
    st.man_count = to16(st.man_count - 1);
    if (st.atari_count >= st.man_count)
        removeWinner();
    return layOut();
}

std::optional<int16_t> Lottery::addWinner()
{
    if (running())
        return std::nullopt;
    if (to16(st.atari_count + 1) >= st.man_count)
        return std::nullopt;
    st.atari_count = to16(st.atari_count + 1);
    return st.atari_count;
}

std::optional<int16_t> Lottery::removeWinner()
{
    if (running())
        return std::nullopt;
    if (st.atari_count <= kMinWinners)
        return std::nullopt;
    st.atari_count = to16(st.atari_count - 1);
    return st.atari_count;
}

// Tracing waits for a new standby, and the new layout comes with a new ladder; a ladder that
// cannot be made leaves the boxes laid out with the one kept, cut to their lines.
Layout Lottery::layOut()
{
    // A count outside 0..37 would address a box that does not exist.
    if (st.man_count < 0 || st.man_count > kBoxCount)
        throw StateError("participant count outside the boxes");
    st.ready_flag = 0;
    Layout layout{st.man_count, st.draw_mode == modes::kLotteryMode, {}};
    endingOnStateError([&] { layout.ladder = newLadder(); });
    // A ladder kept from a wider count would lead paths to lines no participant has.
    if (layout.ladder.refusal) {
        ladder::cutToLines(st.ladder, st.man_count);
        layout.ladder.keptCut = true;
        layout.ladder.drawing = drawing();
    }
    return layout;
}
