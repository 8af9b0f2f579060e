// Sound caches (".snd"): read in place of their WAVE file, which is missing here.
#include "FuzzSound.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::LoadAndMix("snd.snd", "snd.wav", data, size);
  return 0;
}
