#include "EngineHost.h"

#include <ctime>

namespace {
void NoPump() {}
void NoBeep(unsigned, unsigned) {}
bool NoFileDialog(bool, const char*, std::string&) { return false; }
uint32_t MonotonicMs() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<uint32_t>(static_cast<uint64_t>(ts.tv_sec) * 1000u + ts.tv_nsec / 1000000);
}
}  // namespace

namespace EngineHost {
void (*PumpMessage)() = NoPump;
void (*Beep)(unsigned, unsigned) = NoBeep;
bool (*ChooseFile)(bool, const char*, std::string&) = NoFileDialog;
uint32_t (*Milliseconds)() = MonotonicMs;
}  // namespace EngineHost
