#pragma once
// A sound output that keeps the sounds asked for, in order, instead of playing them.

#include "window_seams.h"

#include <QList>

class RecordingSound : public SoundOutput
{
public:
    void play(ShowSound sound) override { played << sound; }
    QList<ShowSound> played;
};
