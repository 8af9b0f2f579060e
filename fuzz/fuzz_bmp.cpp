// 24-bit BMP pictures, converted without a cache (the name holds no ".bmp").
#include "FuzzPicture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::LoadAndDraw("picture", "picture", data, size);
  return 0;
}
