#pragma once
// The show's sounds through the desktop's default audio output (Qt Multimedia). Everything that
// touches the audio system runs on a thread of its own, so that a slow or missing sound server
// never holds up a frame of the window. Without an audio device the program stays silent and says
// so once in its log (amidakuji.sound), never to the user.

#include "window_seams.h"

#include <QThread>

class SoundPlayer;

class SystemSoundOutput : public SoundOutput
{
public:
    SystemSoundOutput();
    // Takes the cues asked before, then stops the output and the thread.
    ~SystemSoundOutput() override;
    SystemSoundOutput(const SystemSoundOutput &) = delete;
    SystemSoundOutput &operator=(const SystemSoundOutput &) = delete;

    // Returns at once; the first cue starts the thread and looks for the audio output there.
    void play(ShowSound sound) override;

private:
    QThread m_thread;
    SoundPlayer *m_player = nullptr;
};
