#pragma once
// What the audio output plays: the cues sounding now, mixed into one stream of 16-bit mono
// samples. A new tick cuts a tick still sounding short, as does a new chime a chime and a new
// fanfare a fanfare; different cues sound over one another, so no tick cuts an arrival's chime.
// While nothing sounds it gives silence for a while, so that the output stays open between the
// ticks of a running path, then nothing (the output goes idle).

#include "window_seams.h"

#include <QIODevice>

#include <array>
#include <vector>

class SoundMixer : public QIODevice
{
public:
    // How long the mixer gives silence after the last cue, in samples. It opens for reading at
    // once, unbuffered: what is read is what sounds next, nothing read ahead.
    explicit SoundMixer(qint64 silenceBeforeIdle, QObject *parent = nullptr);

    void play(ShowSound cue);
    // Nothing sounds and the silence before idling has been given.
    bool idle() const;

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    struct Voice
    {
        std::vector<qint16> samples;
        // The next sample to give; at the end: silent.
        std::size_t position = 0;
    };

    std::array<Voice, 3> m_voices;
    qint64 m_silenceBeforeIdle;
    qint64 m_silentSamples = 0;
};
