// The reminder clock: a small clock window that asks, every other hour, for the machine's
// status to be brought up to date.
#include <SDL.h>

#include "FaceFile.h"
#include "timer.h"
#include "Unit2.h"

int main(int, char**) {
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0) {
    SDL_Log("call: %s", SDL_GetError());
    return 1;
  }
  int rc = 0;
  {
    Application app;
    app.CreateForm(Form1);
    app.CreateForm(Form2);
    if (!Form1->Window()) {
      rc = 1;
    } else if (!app.Font(Form1->Label2->font)) {
      ReportNoFace("call");  // rather than a clock without its words
      rc = 1;
    } else {
      app.Run();
    }
    Form1 = nullptr;
    Form2 = nullptr;
  }
  SDL_Quit();
  return rc;
}
