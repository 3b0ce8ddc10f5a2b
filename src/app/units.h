#pragma once

#include <QColor>

#include <cmath>
#include <cstdint>

// 15 twips make one device-independent pixel (1440 twips per inch at 96 dpi).
constexpr int kTwipsPerPixel = 15;

inline int twipsToPixels(double twips)
{
    return int(std::lround(twips / kTwipsPerPixel));
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
