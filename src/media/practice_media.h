// Where a practice run's music and sound effects go: the platform's players,
// or players that a test records.
#pragma once

#include "media/music.h"
#include "media/wave_sound.h"

namespace kanaflow {

struct PracticeMedia {
  CSound::SendCommand sendMci;
  WavePlayer* wavePlayer;
};

inline PracticeMedia SystemPracticeMedia() { return {mciSendCommandW, &SystemWavePlayer()}; }

}  // namespace kanaflow
