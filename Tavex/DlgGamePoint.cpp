#include "DlgGamePoint.h"

#include <cstring>

#include "DlgGameTable.h"

namespace {

constexpr TitleBarSprites kTitleSprites = {.windowed = {0, 528, 17, 545},
                                           .fullScreen = {18, 528, 35, 545},
                                           .minimize = {36, 528, 53, 545},
                                           .close = {54, 528, 71, 545},
                                           .mark = {18, 510, 35, 527}};

}  // namespace

void SortByPoints(Standing standings[8]) {
  for (int end = 7; end >= 1; --end) {
    int m = 0;
    for (int i = 1; i <= end; ++i)
      if (standings[i].points < standings[m].points) m = i;
    const Standing t = standings[m];
    standings[m] = standings[end];
    standings[end] = t;
  }
}

CDlgGamePoint::CDlgGamePoint(CTavexDlg* host) : CScreen(IDD_DLG_GAMEPOINT, host) {
  // This screen keeps the cursor shape it has while the button is held.
  buttonTable = {.buttons = buttons, .count = POINT_BUTTONS, .pressedCursor = false};
}

void CDlgGamePoint::Layout() {
  LayoutTitleBar(buttons, kTitleSprites);
  SetButton(buttons[POINT_CONTINUE], CRect(298, 417, 346, 465), CRect(440, 480, 488, 528));
}

BOOL CDlgGamePoint::OnInitDialog() {
  CDialog::OnInitDialog();
  graphics->CenterScreenWindow(this, 640, 480);
  exitRequested = 0;
  result = -1;
  Layout();
  LoadPicture(tournamentKind != 0 ? "img\\GamePointWorld.bmp" : "img\\gamePoint.bmp");
  SortStandings();
  DrawStandings();
  host->CollapseWindow();
  ScreenOpened();
  return TRUE;
}

void CDlgGamePoint::SortStandings() {
  std::memcpy(sortedStandings, host->standings, sizeof sortedStandings);
  SortByPoints(sortedStandings);
}

void CDlgGamePoint::DrawStandings() {
  ImagePage page;
  BeginPage(&page);
  DrawActiveButton(&page, buttons, POINT_BUTTONS, FALSE);
  graphics->UnlockPage(FALSE);

  HDC dc = nullptr;
  graphics->GetPageDC(&dc, FALSE);
  // Only the podium is written; the human is "Player" whatever name is entered later.
  for (int i = 0; i < 3; ++i) {
    const Standing& s = sortedStandings[i];
    CString line;
    if (s.rosterIndex == -1)
      line.Format("Player 累計積分:%02d", int(s.points));
    else
      line.Format("%s 累計積分:%02d", static_cast<const char*>(RosterName(host, s.rosterIndex)),
                  int(s.points));
    graphics->TextOutShadow(&dc, 220, 180 + 77 * i, line, RGB(0, 0, 0), RGB(160, 160, 140));
  }
  graphics->ReleasePageDC(&dc, FALSE);

  Present(true);
}

void CDlgGamePoint::OnMouseMove(UINT flags, CPoint point) {
  if (PointCursor(buttons, POINT_BUTTONS, point))
    DrawStandings();
  else
    Present(false);
  CScreen::OnMouseMove(flags, point);
}

void CDlgGamePoint::Choose(int chosen, int) {
  DrawStandings();
  if (TitleBarAction(chosen)) DrawStandings();
  switch (chosen) {
    case POINT_CONTINUE:
      result = 0;
      exitRequested = 1;
      LeaveScreen();
      break;
    default: break;
  }
}
