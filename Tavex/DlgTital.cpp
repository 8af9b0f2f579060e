#include "DlgTital.h"

#include "TavexDlg.h"

int32_t CDlgTital::titleFrame = 0;
int32_t CDlgTital::titleForward = 1;
uint32_t CDlgTital::titleLastStep = 0;
bool CDlgTital::titleClockStarted = false;

CDlgTital::CDlgTital(CTavexDlg* host) : CScreen(IDD_DLG_TITAL, host) {}

BOOL CDlgTital::OnInitDialog() {
  CDialog::OnInitDialog();
  graphics->CenterScreenWindow(this, 640, 480);
  exitRequested = 0;
  CRect place;
  GetWindowRect(&place);
  host->SelectCursor(CURSOR_NONE);
  LoadPicture("img\\Tital.bmp");
  Compose();
  {
    CClientDC dc(this);
    host->ShowPicture(&dc);
  }
  host->CollapseWindow();
  sound->FreeSound(&music);
  sound->LoadWave(MediaPath("music\\t02.wav"), &music);
  sound->PlayMusic(&music, TRUE);
  host->SelectCursor(CURSOR_HOVER);
  Draw();
  SetWindowPos(&wndTopMost, place.left, place.top, 640, 480, SWP_SHOWWINDOW);
  ScreenOpened();
  return TRUE;
}

void CDlgTital::Compose() {
  if (!titleClockStarted) {
    titleLastStep = timeGetTime();
    titleClockStarted = true;
  }
  ImagePage page;
  graphics->LockPage(&page, FALSE);
  graphics->BltPage(&page, 0, 0, &picture, CRect(0, 0, 640, 480), FALSE);
  const int x = 640 + 125 * titleFrame;
  graphics->BltPage(&page, 125, 29, &picture, CRect(x, 0, x + 125, 360), FALSE);
  graphics->UnlockPage(FALSE);
  // One step per composition at most, so a long pause moves on by a single frame.
  if (timeGetTime() - titleLastStep > kFrameMs) {
    if (titleForward) {
      titleFrame = (titleFrame + 1) % kFrames;
      if (titleFrame == kFrames - 1) titleForward = 0;
    } else {
      titleFrame = titleFrame - 1;
      if (titleFrame == 0) titleForward = 1;
    }
    titleLastStep = timeGetTime();
  }
  PictureChangesAt(titleLastStep + kFrameMs + 1);
}

void CDlgTital::Draw() {
  Compose();
  Present(true);
}

void CDlgTital::OnOK() {}
void CDlgTital::OnCancel() {}

void CDlgTital::OnMouseMove(UINT flags, CPoint point) {
  Draw();
  CScreen::OnMouseMove(flags, point);
}

void CDlgTital::OnLButtonDown(UINT flags, CPoint point) {
  host->SelectCursor(CURSOR_PRESSED);
  LeaveScreen();
  CScreen::OnLButtonDown(flags, point);
}

BOOL CDlgTital::DestroyWindow() {
  sound->FreeSound(&music);
  return CScreen::DestroyWindow();
}
