#include "EngineHost.h"

#include "SysInfo.h"

namespace {
void NoPump() {}
void NoBeep(unsigned, unsigned) {}
bool NoFileDialog(bool, const char*, std::string&) { return false; }
}  // namespace

namespace EngineHost {
void (*PumpMessage)() = NoPump;
void (*Beep)(unsigned, unsigned) = NoBeep;
bool (*ChooseFile)(bool, const char*, std::string&) = NoFileDialog;
uint32_t (*Milliseconds)() = MonotonicMs;
}  // namespace EngineHost
