// The sound readers' entry points share this: load through the sound player on the dummy
// driver, then play the sound through the mixer for a while.
#pragma once
#include <cstdlib>

#include "DirectSound.h"
#include "FuzzUtil.h"

namespace fuzz {

inline void LoadAndMix(const char* file, const char* path, const uint8_t* data, size_t size) {
  EnterOwnDir();
  static CDirectSound sound;
  if (!sound.device) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    SoundMessageBox = [](const char*) {};
    if (!sound.InitSound()) std::abort();
  }
  std::remove("snd.snd");  // a cache from the last input would be read instead
  WriteFile(file, data, size);
  WaveSound ws{};
  if (!sound.LoadWave(path, &ws)) return;
  sound.PlayEffect(&ws, size & 1);
  Audio::Mixer& mixer = sound.device->GetMixer();
  static int16_t out[2 * 4096];
  mixer.Lock();
  mixer.Mix(out, 4096);
  mixer.Unlock();
  sound.FreeSound(&ws);
}

}  // namespace fuzz
