#pragma once
// 音: the show's sounds on or off, the user's choice remembered beside the zoom (on until the
// user turns them off). Every cue passes through here, so that off means not one is played.

#include "window_seams.h"

#include <memory>

class SoundSwitch : public SoundOutput
{
public:
    // `output` may be none: silent either way.
    explicit SoundSwitch(std::unique_ptr<SoundOutput> output);

    bool isOn() const { return m_on; }
    // Remembers the choice for the next start.
    void setOn(bool on);

    void play(ShowSound sound) override;

private:
    std::unique_ptr<SoundOutput> m_output;
    bool m_on = true;
};
