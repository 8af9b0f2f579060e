#include "DlgBoardSet.h"

#include "TavexDlg.h"

CDlgBoardSet::CDlgBoardSet(CTavexDlg* host) : CScreen(IDD_DLG_BOARDSET, host) {
  buttonTable = {.buttons = buttons, .count = BOARDSET_BUTTONS, .dragWindow = false};
}

BOOL CDlgBoardSet::OnInitDialog() {
  CDialog::OnInitDialog();
  SetWindowPos(&wndTopMost, placeRect.left, placeRect.top, placeRect.Width(), placeRect.Height(),
               SWP_SHOWWINDOW);
  // Five 29 x 29 buttons in a row, their lit looks in the same order below the panel.
  for (int i = 0; i < BOARDSET_BUTTONS; ++i)
    SetButton(buttons[i], CRect(468 + 31 * i, 436, 497 + 31 * i, 465),
              CRect(15 + 31 * i, 64, 44 + 31 * i, 93));
  LoadPicture("img\\boardSet.bmp");
  GrabPage(&background);
  Draw();
  ScreenOpened();
  return TRUE;
}

void CDlgBoardSet::Draw() {
  ImagePage page;
  graphics->LockPage(&page, FALSE);
  graphics->BltPage(&page, 0, 0, &background, CRect(0, 0, 640, 480), FALSE);
  graphics->BltPage(&page, 456, 428, &picture, CRect(0, 0, 184, 52), TRUE);
  if (host->chosenBoard >= 0 && host->chosenBoard < BOARDSET_BUTTONS) {
    const ScreenButton& current = buttons[host->chosenBoard];
    graphics->BltPage(&page, current.dest.left, current.dest.top, &picture, current.hoverSrc, TRUE);
  }
  DrawActiveButton(&page, buttons, BOARDSET_BUTTONS, TRUE);
  graphics->UnlockPage(FALSE);
  Present(true);
}

void CDlgBoardSet::OnMouseMove(UINT flags, CPoint point) {
  PointCursor(buttons, BOARDSET_BUTTONS, point);
  Present(true);
  CScreen::OnMouseMove(flags, point);
}

void CDlgBoardSet::Choose(int chosen, int) {
  if (chosen != -1) {
    result = chosen;
    host->chosenBoard = chosen;
    EndDialog(0);
  }
  Draw();
}

BOOL CDlgBoardSet::DestroyWindow() {
  RestorePage(&background);
  return CScreen::DestroyWindow();
}
