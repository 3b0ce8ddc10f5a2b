#pragma once
// The show's sounds, made here rather than read from files: each cue as 16-bit mono samples, the
// same every time.

#include "window_seams.h"

#include <QtGlobal>

#include <vector>

namespace sound {

constexpr int kSampleRate = 44100;

// A cue from silence back to silence, soft enough that all three sounding at once stay below
// full scale.
std::vector<qint16> cueSamples(ShowSound cue);

} // namespace sound
