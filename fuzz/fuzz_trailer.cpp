// The certificate trailer of the viewer's own file, read as the viewer reads it.
#include "CertTrailer.h"
#include "Big5.h"
#include "FuzzUtil.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::EnterOwnDir();
  fuzz::WriteFile("Quillan.exe", data, size);
  const TrailerRead read = ReadCertificateTrailer("Quillan.exe");
  if (!read.opened || read.text.size() > kTrailerSize) std::abort();
  Big5ToUtf8(read.text);
  return 0;
}
