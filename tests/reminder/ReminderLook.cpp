// Both windows of the clock on a real display, with the clock set to a given local time, to look
// at: reminder_look [hh:mm:ss] [seconds]. The locale format comes from the environment as usual.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>

#include "Unit2.h"
#include "timer.h"

namespace {
time_t gStart = 0;
Uint32 gStartTicks = 0;
time_t LookNow() { return gStart + (SDL_GetTicks() - gStartTicks) / 1000; }
}  // namespace

int main(int argc, char** argv) {
  int h = 12, m = 59, s = 58;
  if (argc > 1) std::sscanf(argv[1], "%d:%d:%d", &h, &m, &s);
  const int seconds = argc > 2 ? std::atoi(argv[2]) : 10;
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0) return 1;
  {
    Application app;
    app.CreateForm(Form1);
    app.CreateForm(Form2);
    time_t t = time(nullptr);
    struct tm local {};
    localtime_r(&t, &local);
    local.tm_hour = h, local.tm_min = m, local.tm_sec = s;
    gStart = mktime(&local);
    gStartTicks = SDL_GetTicks();
    Form1->now = LookNow;
    Form1->Show();
    while (app.Step(100) && SDL_GetTicks() - gStartTicks < static_cast<Uint32>(seconds) * 1000) {
    }
    Form1 = nullptr;
    Form2 = nullptr;
  }
  SDL_Quit();
  return 0;
}
