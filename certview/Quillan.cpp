// The certificate viewer: shows the strength certificate that trails its own program file.
#include <SDL.h>

#include "CertTrailer.h"
#include "QuillanDlg.h"

class CQuillanApp {
 public:
  // The program ends when its dialog ends.
  bool InitInstance() {
    CQuillanDlg dlg(SelfExePath());
    dlg.DoModal();
    return false;
  }
};

CQuillanApp theApp;

int main(int, char**) {
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    SDL_Log("Quillan: %s", SDL_GetError());
    return 1;
  }
  theApp.InitInstance();
  SDL_Quit();
  return 0;
}
