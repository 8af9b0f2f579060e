#include "DlgSoundSet.h"

#include "TavexDlg.h"

namespace {

struct SwitchButton {
  CRect rect, lit;
  int channel;
  BOOL on;
};
constexpr SwitchButton kButtons[SOUNDSET_BUTTONS] = {
    {{531, 354, 572, 406}, {135, 13, 176, 65}, CHANNEL_MUSIC, TRUE},
    {{531, 408, 572, 460}, {135, 67, 176, 119}, CHANNEL_MUSIC, FALSE},
    {{583, 354, 624, 406}, {187, 13, 228, 65}, CHANNEL_EFFECTS, TRUE},
    {{583, 408, 624, 460}, {187, 67, 228, 119}, CHANNEL_EFFECTS, FALSE},
};

}  // namespace

CDlgSoundSet::CDlgSoundSet(CTavexDlg* host) : CScreen(IDD_DLG_SOUNDSET, host) {
  // A press beside the buttons does nothing: the panel is not dragged.
  buttonTable = {.buttons = buttons, .count = SOUNDSET_BUTTONS, .dragWindow = false};
}

BOOL CDlgSoundSet::OnInitDialog() {
  CDialog::OnInitDialog();
  SetWindowPos(&wndTopMost, placeRect.left, placeRect.top, placeRect.Width(), placeRect.Height(),
               SWP_SHOWWINDOW);
  for (int i = 0; i < SOUNDSET_BUTTONS; ++i)
    SetButton(buttons[i], kButtons[i].rect, kButtons[i].lit);
  LoadPicture("img\\SoundSet.bmp");
  GrabPage(&background);
  Draw();
  ScreenOpened();
  return TRUE;
}

void CDlgSoundSet::Draw() {
  ImagePage page;
  graphics->LockPage(&page, FALSE);
  graphics->BltPage(&page, 0, 0, &background, CRect(0, 0, 640, 480), FALSE);
  graphics->BltPage(&page, 517, 341, &picture, CRect(0, 0, 120, 136), TRUE);
  const ScreenButton& music = buttons[sound->channelEnabled[CHANNEL_MUSIC] ? 0 : 1];
  const ScreenButton& effects = buttons[sound->channelEnabled[CHANNEL_EFFECTS] ? 2 : 3];
  graphics->BltPage(&page, music.dest.left, music.dest.top, &picture, music.hoverSrc, FALSE);
  graphics->BltPage(&page, effects.dest.left, effects.dest.top, &picture, effects.hoverSrc, FALSE);
  DrawActiveButton(&page, buttons, SOUNDSET_BUTTONS, TRUE);
  graphics->UnlockPage(FALSE);
  Present(true);
}

void CDlgSoundSet::OnMouseMove(UINT flags, CPoint point) {
  PointCursor(buttons, SOUNDSET_BUTTONS, point);
  Present(true);
  CScreen::OnMouseMove(flags, point);
}

void CDlgSoundSet::Choose(int chosen, int) {
  if (chosen != -1) {
    sound->EnableChannel(kButtons[chosen].channel, kButtons[chosen].on);
    EndDialog(0);
  }
  Draw();
}

BOOL CDlgSoundSet::DestroyWindow() {
  // The caller's picture goes back exactly as it was.
  RestorePage(&background);
  return CScreen::DestroyWindow();
}
