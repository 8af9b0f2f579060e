// A manual look at the play screen on a real display: a free game as the main menu starts it,
// without the menus around it. Argument: 1 for Renju rules.
#include <cstdlib>

#include "AiEngine.h"
#include "DlgChessAc.h"
#include "EngineHost.h"
#include "Platform.h"
#include "StdDialogs.h"
#include "TavexApp.h"
#include "TavexDlg.h"

namespace {

int rules = RULES_FREESTYLE;

class LookHost : public CTavexDlg {
 protected:
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    SetWindowText("Tavex");
    SeedRandom(timeGetTime());
    if (!directDraw.InitDisplay(640, 480, this, FALSE)) {
      EndDialog(0);
      return TRUE;
    }
    directSound.InitSound();
    LoadCursors();
    InitRoster();
    directDraw.LoadImagePage(&loadingImage, dataPath + "img\\Loading.bmp");
    ShowCursor(FALSE);
    LoadSoundEffects();
    if (AiInit()) {
      AiSetRules(rules);
      chessData.ruleSet = rules;
      CollapseWindow();
      CDlgChessAc screen(this);
      screen.SetupGame(nullptr, nullptr, GAME_FREE);
      screen.DoModal();
      AiFree();
    }
    directDraw.ReleaseDisplay();
    EndDialog(0);
    return TRUE;
  }
};

class LookApp : public CWinApp {
 public:
  BOOL InitInstance() override {
    InstallEngineHostPump();
    EngineHost::ChooseFile = ChooseGameFile;
    LookHost host;
    m_pMainWnd = &host;
    host.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
  }
};

LookApp app;

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) rules = std::atoi(argv[1]) ? RULES_RENJU : RULES_FREESTYLE;
  return AfxWinMain(argc, argv);
}
