#include "DlgGameStart.h"

#include "DlgGameTable.h"
#include "TavexDlg.h"

namespace {

constexpr TitleBarSprites kTitleSprites = {.windowed = {151, 595, 168, 612},
                                           .fullScreen = {169, 595, 186, 612},
                                           .minimize = {187, 595, 204, 612},
                                           .close = {205, 595, 222, 612},
                                           .mark = {169, 577, 186, 594}};
constexpr CRect kStoneMarks[2] = {{564, 480, 592, 509}, {593, 480, 621, 509}};
constexpr CRect kNextMarker(99, 480, 179, 514);
constexpr CRect kNextPicture(0, 577, 150, 748);
constexpr CRect kSummaryHeading(180, 480, 324, 509);
constexpr CRect kPassPicture(260, 510, 330, 651);
constexpr CRect kFailPicture(331, 510, 401, 651);
constexpr CRect kWonSprite(0, 480, 48, 527);
constexpr CRect kLostSprite(49, 480, 97, 527);
constexpr int kRowStep = 63;

// The digit strip reads 1 to 9, then 0.
CRect DigitSprite(int d) {
  const int slot = d == 0 ? 9 : d - 1;
  return CRect(150 + 17 * slot, 677, 166 + 17 * slot, 702);
}

// Levels 0 to 5 in the right column, 6 to 11 in the left, each column from the bottom up.
constexpr CRect LevelRect(int n) {
  const int left = n < 6 ? 483 : 402;
  const int top = 665 - 37 * (n % 6);
  return CRect(left, top, left + 80, top + 36);
}

// Ten portraits to a row, in roster order.
constexpr CRect PortraitRect(int k) {
  const int left = 151 + 36 * (k % 10);
  const int top = 702 + 46 * (k / 10);
  return CRect(left, top, left + 36, top + 46);
}

}  // namespace

const CRect ladderLevelRects[LADDER_LEVEL_COUNT] = {
    LevelRect(0), LevelRect(1), LevelRect(2), LevelRect(3), LevelRect(4),  LevelRect(5),
    LevelRect(6), LevelRect(7), LevelRect(8), LevelRect(9), LevelRect(10), LevelRect(11),
};

const CRect ladderPortraitRects[30] = {
    PortraitRect(0),  PortraitRect(1),  PortraitRect(2),  PortraitRect(3),  PortraitRect(4),
    PortraitRect(5),  PortraitRect(6),  PortraitRect(7),  PortraitRect(8),  PortraitRect(9),
    PortraitRect(10), PortraitRect(11), PortraitRect(12), PortraitRect(13), PortraitRect(14),
    PortraitRect(15), PortraitRect(16), PortraitRect(17), PortraitRect(18), PortraitRect(19),
    PortraitRect(20), PortraitRect(21), PortraitRect(22), PortraitRect(23), PortraitRect(24),
    PortraitRect(25), PortraitRect(26), PortraitRect(27), PortraitRect(28), PortraitRect(29),
};

CDlgGameStart::CDlgGameStart(CTavexDlg* host) : CScreen(IDD_DLG_GAMESTART, host) {
  buttonTable = {.buttons = buttons, .count = START_BUTTONS};
}

void CDlgGameStart::Layout() {
  LayoutTitleBar(buttons, kTitleSprites);
  SetButton(buttons[START_PLAY], CRect(278, 417, 326, 465), CRect(98, 528, 146, 576));
  SetButton(buttons[START_ABANDON], CRect(334, 417, 382, 465), CRect(147, 528, 195, 576));
}

BOOL CDlgGameStart::OnInitDialog() {
  CDialog::OnInitDialog();
  graphics->CenterScreenWindow(this, 640, 480);
  exitRequested = 0;
  result = ROUND_ABANDON;
  Layout();
  LoadPicture("img\\gamestart.bmp");
  DrawRound();
  host->CollapseWindow();
  ScreenOpened();
  return TRUE;
}

void CDlgGameStart::DrawRound() {
  ImagePage page;
  BeginPage(&page);
  // The opponent has black in games 0 and 2, the human in games 1 and 3.
  for (int i = 0; i < LADDER_GAMES; ++i)
    graphics->BltPage(&page, 290, 148 + kRowStep * i, &picture, kStoneMarks[i % 2], TRUE);

  if (gameIndex < LADDER_GAMES) {
    graphics->BltPage(&page, 308, 144 + kRowStep * gameIndex, &picture, kNextMarker, TRUE);
    graphics->BltPage(&page, 396, 202, &picture, kNextPicture, TRUE);
  } else {
    const int32_t score = host->standings[0].points;
    graphics->BltPage(&page, 399, 201, &picture, kSummaryHeading, TRUE);
    graphics->BltPage(&page, 436, 228, &picture,
                      score >= LADDER_PASS_SCORE ? kPassPicture : kFailPicture, TRUE);
    CString digits;
    digits.Format("%d", int(score));
    // A sign has no sprite; it keeps its place.
    for (int k = 0; k < digits.GetLength(); ++k) {
      const char c = digits.GetAt(k);
      if (c < '0' || c > '9') continue;
      graphics->BltPage(&page, 499 + 16 * k, 200, &picture, DigitSprite(c - '0'), TRUE);
    }
  }

  for (int i = 0; i < gameIndex && i < LADDER_GAMES; ++i) {
    const int32_t outcome = host->standings[i + 1].points;
    if (outcome == LADDER_WON)
      graphics->BltPage(&page, 220, 130 + kRowStep * i, &picture, kWonSprite, TRUE);
    else if (outcome == LADDER_LOST)
      graphics->BltPage(&page, 220, 130 + kRowStep * i, &picture, kLostSprite, TRUE);
  }

  if (level >= 0 && level < LADDER_LEVEL_COUNT)
    graphics->BltPage(&page, 412, 139, &picture, ladderLevelRects[level], TRUE);

  DrawActiveButton(&page, buttons, START_BUTTONS, FALSE);

  for (int i = 0; i < LADDER_GAMES; ++i) {
    const int k = host->standings[i + 1].rosterIndex;
    if (k >= 0 && k < ROSTER_SIZE)
      graphics->BltPage(&page, 100, 128 + kRowStep * i, &picture, ladderPortraitRects[k], FALSE);
  }
  graphics->UnlockPage(FALSE);

  HDC dc = nullptr;
  graphics->GetPageDC(&dc, FALSE);
  for (int i = 0; i < LADDER_GAMES; ++i)
    graphics->TextOutShadow(&dc, 142, 127 + kRowStep * i,
                            RosterName(host, host->standings[i + 1].rosterIndex),
                            RGB(186, 186, 168), RGB(238, 238, 218));
  graphics->ReleasePageDC(&dc, FALSE);

  Present(true);
}

void CDlgGameStart::OnMouseMove(UINT flags, CPoint point) {
  if (PointCursor(buttons, START_BUTTONS, point))
    DrawRound();
  else
    Present(false);
  CScreen::OnMouseMove(flags, point);
}

void CDlgGameStart::Choose(int chosen, int) {
  // Unlike the tables, the release itself does not redraw: a leaving screen is not drawn again.
  if (TitleBarAction(chosen)) DrawRound();  // closing abandons
  switch (chosen) {
    case START_PLAY:
      exitRequested = 1;
      result = ROUND_PLAY;
      LeaveScreen();
      break;
    case START_ABANDON:
      exitRequested = 1;
      result = ROUND_ABANDON;
      LeaveScreen();
      break;
    default: break;
  }
}
