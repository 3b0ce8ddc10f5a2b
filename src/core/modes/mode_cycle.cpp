#include "mode_cycle.h"

#include <limits>

namespace modes {

int16_t nextDrawMode(int16_t mode)
{
    if (mode == kNumberMode)
        return kWinnerMode;
    if (mode == std::numeric_limits<int16_t>::max())
        return mode;
    return int16_t(mode + 1);
}

std::optional<ModeLook> modeLook(int16_t mode)
{
    switch (mode) {
    case kWinnerMode:
        return ModeLook{QStringLiteral("あたりモード"), 0xFFC0FF};
    case kLotteryMode:
        return ModeLook{QStringLiteral("くじ引きモード"), 0xFFFFC0};
    case kNumberMode:
        return ModeLook{QStringLiteral("番号モード"), 0xC0FFFF};
    default:
        return std::nullopt;
    }
}

float rungDensity(float r)
{
    // Computed in double and rounded once into single precision.
    return float(double(r) * 1.5 + 1.6);
}

} // namespace modes
