#pragma once

#include <QString>

// The sound output behind Platform::playSound: plays a WAVE file or a Qt resource and
// returns when it has been heard, processing paint events (not user input) meanwhile.
// Returns false at once when there is nothing to play it on or the file is no sound we
// can play. On Linux it talks to the desktop's sound server (PulseAudio, or PipeWire
// through its PulseAudio service); elsewhere it goes through Qt Multimedia.
bool PlayWave(const QString& fileOrResource);
