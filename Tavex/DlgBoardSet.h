// The choice of one of the five boards: a small panel over the lower right corner of the caller.
#pragma once
#include "BoardChoice.h"
#include "Screen.h"

enum { BOARDSET_BUTTONS = BOARD_CHOICES };

class CDlgBoardSet : public CScreen {
 public:
  explicit CDlgBoardSet(CTavexDlg* host);

  CRect placeRect;       // the caller's window rectangle, set before the run
  ImagePage background;  // the caller's page, put back at the end
  int32_t result = -1;   // the board chosen, 0 to 4
  ScreenButton buttons[BOARDSET_BUTTONS];

  void Draw() override;
  BOOL DestroyWindow() override;

 protected:
  BOOL OnInitDialog() override;
  void OnMouseMove(UINT flags, CPoint point) override;
  void Choose(int button, int item) override;
};
