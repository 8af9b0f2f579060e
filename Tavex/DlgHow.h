// How to play: the rules, with the rule set in force marked and switchable.
#pragma once
#include "Screen.h"

enum { HOW_BUTTONS = 6, HOW_BACK = 3, HOW_FREESTYLE = 4, HOW_RENJU = 5 };

class CDlgHow : public CScreen {
 public:
  explicit CDlgHow(CTavexDlg* host);

  WaveSound music;
  // Title bar 0 to 2, then back and the two rule-set lines.
  ScreenButton buttons[HOW_BUTTONS];

  void Draw() override;
  BOOL DestroyWindow() override;

 protected:
  BOOL OnInitDialog() override;
  void OnMouseMove(UINT flags, CPoint point) override;
  void Choose(int button, int item) override;

 private:
  void Layout();
};
