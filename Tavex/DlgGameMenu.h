// New / continue / back, shown before a tournament or the grading ladder.
#pragma once
#include "Screen.h"

class CDlgGameMenu : public CScreen {
 public:
  explicit CDlgGameMenu(CTavexDlg* host);

  int32_t gameKind = 0;  // 0 tournament A, 1 tournament B, 2 grading ladder
  int32_t result = -1;   // 0 new, 1 continue, -1 back
  ScreenButton items[3];
  ScreenButton TitleBarButtons[TITLE_BUTTONS];

  void Draw();

 protected:
  BOOL OnInitDialog() override;
  void OnMouseMove(UINT flags, CPoint point) override;
  void OnLButtonDown(UINT flags, CPoint point) override;
  void OnLButtonUp(UINT flags, CPoint point) override;

 private:
  void Layout();
};
