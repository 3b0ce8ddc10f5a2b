#pragma once

#include <QColor>

#include <algorithm>
#include <cmath>
#include <cstdint>

// 15 twips make one device-independent pixel (1440 twips per inch at 96 dpi).
constexpr int kTwipsPerPixel = 15;

// The rows of boxes and the ladder's lines, one every 360 twips down the window.
constexpr int kRowStepTwips = 360;

// The boxes of row 0; row i lies kRowStepTwips · i below. Name boxes on the left, prize boxes on
// the right, both of one height.
constexpr int kFirstBoxTopTwips = 960;
constexpr int kBoxHeightTwips = 270;
constexpr int kNameBoxLeftTwips = 120;
constexpr int kNameBoxWidthTwips = 1215;
constexpr int kPrizeBoxLeftTwips = 7080;
constexpr int kPrizeBoxWidthTwips = 2415;

// The window's client area is wide enough for the prize column (right edge at 9495 twips).
constexpr int kClientWidthTwips = 9585;
static_assert(kPrizeBoxLeftTwips + kPrizeBoxWidthTwips < kClientWidthTwips);

inline int twipsToPixels(double twips)
{
    return int(std::lround(twips / kTwipsPerPixel));
}

// A window edge in pixels. Edges far beyond any screen are held where the pixel count cannot
// overflow; a value that is no number gives 0.
inline int positionToPixels(double twips)
{
    constexpr double kFarAway = 1e7;
    return std::isnan(twips) ? 0 : twipsToPixels(std::clamp(twips, -kFarAway, kFarAway));
}

inline double pixelsToTwips(int pixels)
{
    return double(pixels) * kTwipsPerPixel;
}

// Colours are written 0xBBGGRR: red in the low byte.
inline QColor colorFromBgr(uint32_t bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

// Values with the high bit set name a system colour rather than an RGB value.
constexpr uint32_t kSystemWindowColor = 0x80000005;
constexpr uint32_t kSystemButtonFace = 0x8000000F;
