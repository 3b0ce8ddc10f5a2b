// Each cue is a few decaying sine partials under an envelope that rises and falls along a raised
// cosine, so that no cue starts or ends with a click, scaled to a peak of its own.
#include "show_sound.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace sound {

namespace {

// One partial: its frequency (Hz), level, and how fast it dies away (e^-decay·t).
struct Partial
{
    double frequency;
    double level;
    double decay;
};

// A note struck at `start` seconds, rising over `attack` seconds.
struct Note
{
    double start;
    double attack;
    std::vector<Partial> partials;
};

struct Cue
{
    double length;
    // The last stretch that fades out to silence.
    double fade;
    // The highest sample as a share of full scale.
    double peak;
    std::vector<Note> notes;
};

// 0 → 1 along half a cosine over `span`.
double rise(double t, double span)
{
    return t >= span ? 1.0 : 0.5 - 0.5 * std::cos(std::numbers::pi * t / span);
}

// The tick: short, high and quiet, a knock rather than a beep.
Cue tick()
{
    return {0.03, 0.012, 0.18, {{0.0, 0.002, {{2200, 1.0, 150}, {3300, 0.4, 220}}}}};
}

// The chime: A and the E above it, ringing out for about half a second.
Cue chime()
{
    return {0.6, 0.06, 0.32, {{0.0, 0.004, {{880, 1.0, 6}, {1318.5, 0.6, 8}, {2637, 0.2, 12}}}}};
}

// The fanfare: C, E, G and the C above, struck one after another, each with its overtones for a
// brighter sound; the last note rings on.
Cue fanfare()
{
    Cue cue{1.1, 0.1, 0.4, {}};
    const double notes[] = {523.25, 659.25, 783.99, 1046.5};
    for (int i = 0; i < 4; ++i) {
        const double f = notes[i];
        const double ring = i == 3 ? 2.5 : 6.0;
        cue.notes.push_back({0.1 * i, 0.005, {{f, 1.0, ring}, {2 * f, 0.45, ring * 1.5}, {3 * f, 0.25, ring * 2}}});
    }
    return cue;
}

Cue cueOf(ShowSound cue)
{
    switch (cue) {
    case ShowSound::Tick:
        return tick();
    case ShowSound::Chime:
        return chime();
    case ShowSound::Fanfare:
        return fanfare();
    }
    return tick();
}

} // namespace

std::vector<qint16> cueSamples(ShowSound which)
{
    const Cue cue = cueOf(which);
    const auto count = static_cast<std::size_t>(cue.length * kSampleRate);
    std::vector<double> wave(count, 0.0);
    for (const Note &note : cue.notes) {
        for (auto i = static_cast<std::size_t>(note.start * kSampleRate); i < count; ++i) {
            const double t = double(i) / kSampleRate - note.start;
            double value = 0;
            for (const Partial &p : note.partials)
                value += p.level * std::exp(-p.decay * t) * std::sin(2 * std::numbers::pi * p.frequency * t);
            wave[i] += rise(t, note.attack) * value;
        }
    }
    for (std::size_t i = 0; i < count; ++i)
        wave[i] *= rise(double(count - 1 - i) / kSampleRate, cue.fade);
    double highest = 0;
    for (double v : wave)
        highest = std::max(highest, std::abs(v));
    const double gain = highest > 0 ? cue.peak * 32767 / highest : 0;
    std::vector<qint16> samples(count);
    std::transform(wave.begin(), wave.end(), samples.begin(),
                   [gain](double v) { return static_cast<qint16>(std::lround(v * gain)); });
    return samples;
}

} // namespace sound
