// Picture caches (".img"): read in place of their BMP, which is missing here.
#include "FuzzPicture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::LoadAndDraw("pic.img", "pic.bmp", data, size);
  return 0;
}
