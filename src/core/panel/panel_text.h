#pragma once

#include <QString>

#include <cstdint>

// The texts and the window height that follow the two counts.
namespace panel {

// "参加", a line break (CR LF) and the participant count with "人": two lines on the label.
QString participantCaption(int16_t manCount);

// "あたり", the winner count and "本".
QString winnerCaption(int16_t atariCount);

// Outer window height for a participant count: one row step per participant plus the
// title bar, the button strip and the borders.
int outerHeightTwips(int16_t manCount);

} // namespace panel
