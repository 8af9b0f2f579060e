// New / continue / back, shown before a tournament or the grading ladder.
#pragma once
#include "Screen.h"
#include "TavexDlg.h"

// What the menu reports; back also when the screen ends without a choice.
enum GameMenuResult : int32_t { GAMEMENU_BACK = -1, GAMEMENU_NEW = 0, GAMEMENU_CONTINUE = 1 };

class CDlgGameMenu : public CScreen {
 public:
  explicit CDlgGameMenu(CTavexDlg* host);

  GameKind gameKind = GAMEKIND_TOURNAMENT_A;
  GameMenuResult result = GAMEMENU_BACK;
  ScreenButton items[3];
  ScreenButton TitleBarButtons[TITLE_BUTTONS];

  void Draw() override;

 protected:
  BOOL OnInitDialog() override;
  void OnMouseMove(UINT flags, CPoint point) override;
  void Choose(int button, int item) override;

 private:
  void Layout();
};
