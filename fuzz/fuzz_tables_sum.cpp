// "tables.sum" of any content beside five good tables: the engine starts only when every table
// has a line that matches it, and otherwise keeps no table at all.
#include "FuzzEngine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::InitEngine();  // writes the tables and a checksum file that matches them
  fuzz::WriteFile(TABLE_SUM_FILE, data, size);
  const bool loaded = AiInitFrom(".");
  if (loaded != (aiLoadFailure == nullptr)) std::abort();
  for (int t = 0; t < TABLE_COUNT; ++t)
    if ((tableBuffers[t] != nullptr) != loaded) std::abort();
  if (loaded && (!evalTableBlack || !patternTableWhite)) std::abort();
  return 0;
}
