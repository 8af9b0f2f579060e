// The main menu: rule set, the modes, the sound settings and the end of the program.
#pragma once
#include "Screen.h"

enum { MAIN_ITEMS = 9, MAIN_TITLE_BUTTONS = 4, TITLE_SOUND_SETTINGS = 3 };

class CDlgMain : public CScreen {
 public:
  explicit CDlgMain(CTavexDlg* host);

  int32_t result = -1;  // the item released last; the host reads 2 to 8
  WaveSound music;
  ScreenButton items[MAIN_ITEMS];
  ScreenButton TitleBarButtons[MAIN_TITLE_BUTTONS];

  void Compose();
  void Draw() override;
  BOOL DestroyWindow() override;

 protected:
  BOOL OnInitDialog() override;
  // Enter, Escape and the system's close request leave the menu open.
  void OnOK() override;
  void OnCancel() override;
  void OnMouseMove(UINT flags, CPoint point) override;
  void Choose(int button, int item) override;

 private:
  void Layout();
  void OpenSoundSettings();
};
