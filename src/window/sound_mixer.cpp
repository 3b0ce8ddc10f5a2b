#include "sound_mixer.h"
#include "show_sound.h"

#include <algorithm>
#include <cstring>
#include <limits>

SoundMixer::SoundMixer(qint64 silenceBeforeIdle, QObject *parent)
    : QIODevice(parent)
    , m_silenceBeforeIdle(silenceBeforeIdle)
    , m_silentSamples(silenceBeforeIdle)
{
    for (ShowSound cue : {ShowSound::Tick, ShowSound::Chime, ShowSound::Fanfare}) {
        Voice &voice = m_voices[static_cast<std::size_t>(cue)];
        voice.samples = sound::cueSamples(cue);
        voice.position = voice.samples.size();
    }
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

void SoundMixer::play(ShowSound cue)
{
    m_voices[static_cast<std::size_t>(cue)].position = 0;
    m_silentSamples = 0;
}

bool SoundMixer::idle() const
{
    return m_silentSamples >= m_silenceBeforeIdle
        && std::all_of(m_voices.begin(), m_voices.end(),
                       [](const Voice &v) { return v.position >= v.samples.size(); });
}

qint64 SoundMixer::bytesAvailable() const
{
    return (idle() ? 0 : std::numeric_limits<qint32>::max()) + QIODevice::bytesAvailable();
}

// Whole samples only; the silence after the last cue counts towards idling.
qint64 SoundMixer::readData(char *data, qint64 maxSize)
{
    if (idle())
        return 0;
    const qint64 count = maxSize / qint64(sizeof(qint16));
    bool sounding = false;
    for (qint64 i = 0; i < count; ++i) {
        int sum = 0;
        for (Voice &voice : m_voices) {
            if (voice.position < voice.samples.size()) {
                sum += voice.samples[voice.position++];
                sounding = true;
            }
        }
        const auto sample = static_cast<qint16>(std::clamp(sum, -32768, 32767));
        std::memcpy(data + i * qint64(sizeof(qint16)), &sample, sizeof sample);
    }
    if (!sounding)
        m_silentSamples += count;
    return count * qint64(sizeof(qint16));
}
