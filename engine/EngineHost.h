// The few services the engine needs from the program around it. The engine stays free of any
// window system: the game fills these in at start-up; tests fill them with their own.
#pragma once
#include <cstdint>
#include <string>

namespace EngineHost {

// One step of the thread's message pump: retrieve one pending message (if any), translate and
// dispatch it. The search calls this every 8192 nodes. Default: nothing to pump.
extern void (*PumpMessage)();

// A tone of the given frequency (Hz) and duration (ms). Default: silence.
extern void (*Beep)(unsigned frequency, unsigned durationMs);

// The file dialog for game records: `forOpen` selects open or save; `filter` is the dialog's
// filter text; on success `path` receives the chosen path and the result is true. Default:
// no dialog available, which the caller treats as a cancelled dialog.
extern bool (*ChooseFile)(bool forOpen, const char* filter, std::string& path);

// Milliseconds since some fixed start, wrapping at 32 bits. Default: the monotonic clock.
extern uint32_t (*Milliseconds)();

}  // namespace EngineHost
