#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// The three draw modes and the step from one to the next.
namespace modes {

constexpr int16_t kWinnerMode = 0;
constexpr int16_t kLotteryMode = 1;
constexpr int16_t kNumberMode = 2;

// 2 becomes 0, any other value grows by one. 32767 (only from an edited settings file)
// is no mode and has no successor inside the 16-bit range, so it stays as it is.
int16_t nextDrawMode(int16_t mode);

// The mode button's caption and background (0xBBGGRR); none for a value that is no mode.
struct ModeLook
{
    QString caption;
    uint32_t color;
};
std::optional<ModeLook> modeLook(int16_t mode);

// The rung factor drawn at every mode change: r · 1.5 + 1.6 for r in [0, 1), kept in single
// precision, so the value lies in [1.6, 3.1).
float rungDensity(float r);

} // namespace modes
