// Music and effects on or off: a small panel over the lower right corner of the caller.
#pragma once
#include "Screen.h"

enum { SOUNDSET_BUTTONS = 4 };

class CDlgSoundSet : public CScreen {
 public:
  explicit CDlgSoundSet(CTavexDlg* host);

  CRect placeRect;       // the caller's window rectangle, set before the run
  ImagePage background;  // the caller's page, put back at the end
  ScreenButton buttons[SOUNDSET_BUTTONS];

  void Draw() override;
  BOOL DestroyWindow() override;

 protected:
  BOOL OnInitDialog() override;
  void OnMouseMove(UINT flags, CPoint point) override;
  void Choose(int button, int item) override;
};
