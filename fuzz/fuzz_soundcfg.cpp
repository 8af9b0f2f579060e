// "Sound.cfg": the two switches the host reads at start-up.
#include "FuzzUtil.h"
#include "TavexDlg.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::EnterOwnDir();
  fuzz::WriteFile("Sound.cfg", data, size);
  static CTavexDlg host(nullptr);
  host.LoadSoundConfig();
  for (int channel = 0; channel < 2; ++channel)
    if (uint32_t(host.directSound.channelEnabled[channel]) > 1u) std::abort();
  return 0;
}
