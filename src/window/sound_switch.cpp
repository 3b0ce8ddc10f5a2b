#include "sound_switch.h"
#include "window_view.h"

namespace {

constexpr auto kSoundKey = "sound";

} // namespace

SoundSwitch::SoundSwitch(std::unique_ptr<SoundOutput> output)
    : m_output(std::move(output))
    , m_on(viewSettings().value(kSoundKey, true).toBool())
{
}

void SoundSwitch::setOn(bool on)
{
    m_on = on;
    QSettings settings = viewSettings();
    settings.setValue(kSoundKey, on);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        qCWarning(lcView) << "could not remember the sound choice in" << settings.fileName();
}

void SoundSwitch::play(ShowSound sound)
{
    if (m_on && m_output)
        m_output->play(sound);
}
