// WAVE files (RIFF): parsed, made into a buffer and mixed; the cache it writes is removed.
#include "FuzzSound.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::LoadAndMix("snd.wav", "snd.wav", data, size);
  return 0;
}
