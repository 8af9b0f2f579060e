#include "DlgGameMenu.h"

#include "TavexDlg.h"

namespace {

const char* const kPictures[3] = {"img\\GameMenu_0.bmp", "img\\GameMenu_1.bmp",
                                  "img\\GameMenu_2.bmp"};

constexpr TitleBarSprites kTitleSprites = {.windowed = {542, 498, 559, 515},
                                           .fullScreen = {560, 498, 577, 515},
                                           .minimize = {578, 498, 595, 515},
                                           .close = {596, 498, 613, 515},
                                           .mark = {560, 480, 577, 497}};

}  // namespace

CDlgGameMenu::CDlgGameMenu(CTavexDlg* host) : CScreen(IDD_DLG_GAMEMENU, host) {}

void CDlgGameMenu::Layout() {
  SetButton(items[0], CRect(190, 138, 460, 199), CRect(0, 480, 270, 541),
            CRect(271, 480, 541, 541));
  SetButton(items[1], CRect(190, 200, 460, 261), CRect(0, 542, 270, 603),
            CRect(271, 542, 541, 603));
  SetButton(items[2], CRect(190, 253, 460, 314), CRect(0, 604, 270, 665),
            CRect(271, 604, 541, 665));
  LayoutTitleBar(TitleBarButtons, kTitleSprites);
}

BOOL CDlgGameMenu::OnInitDialog() {
  CDialog::OnInitDialog();
  graphics->CenterScreenWindow(this, 640, 480);
  exitRequested = 0;
  result = -1;
  Layout();
  LoadPicture(kPictures[gameKind >= 0 && gameKind < 3 ? gameKind : 0]);
  Draw();
  host->CollapseWindow();
  ScreenOpened();
  return TRUE;
}

void CDlgGameMenu::Draw() {
  ImagePage page;
  BeginPage(&page);
  DrawActiveButton(&page, TitleBarButtons, TITLE_BUTTONS, FALSE);
  for (auto& b : items) {
    if (b.state == BUTTON_LIT || b.state == BUTTON_PRESSED) {
      graphics->BltPage(&page, b.dest.left, b.dest.top, &picture,
                        b.state == BUTTON_LIT ? b.hoverSrc : b.pressedSrc, TRUE);
      break;
    }
  }
  graphics->UnlockPage(FALSE);
  Present(true);
}

void CDlgGameMenu::OnMouseMove(UINT flags, CPoint point) {
  // Every move over a button redraws, which keeps the animated cursor going there.
  const bool overTitle = ButtonAt(TitleBarButtons, TITLE_BUTTONS, point) != -1;
  const bool changed = TrackHover(items, 3, point, false) || overTitle;
  if (changed) {
    if (!LeftButtonDown()) host->SelectCursor(CURSOR_HOVER);
    Draw();
  } else {
    if (!LeftButtonDown()) host->SelectCursor(CURSOR_NORMAL);
    Present(false);
  }
  CScreen::OnMouseMove(flags, point);
}

void CDlgGameMenu::OnLButtonDown(UINT flags, CPoint point) {
  host->SelectCursor(CURSOR_PRESSED);
  const int titleHit = PressButtons(TitleBarButtons, TITLE_BUTTONS, point);
  const int itemHit = PressButtons(items, 3, point, BUTTON_PRESSED);
  if (titleHit == -1 && itemHit == -1) {
    DragWindow(point);
  } else {
    PlayClickEffect();
    Draw();
  }
  CScreen::OnLButtonDown(flags, point);
}

void CDlgGameMenu::OnLButtonUp(UINT flags, CPoint point) {
  const int tb = ReleaseButtons(TitleBarButtons, TITLE_BUTTONS, point);
  // In item order, so a release where two items overlap takes the later one.
  const int item = ReleaseButtons(items, 3, point, BUTTON_PRESSED);
  switch (item) {
    case 0:
      result = 0;
      LeaveScreen();
      break;
    case 1:
      result = 1;
      LeaveScreen();
      break;
    case 2:
      result = -1;
      exitRequested = 1;
      LeaveScreen();
      break;
    default: result = -1; break;
  }
  Draw();
  if (TitleBarAction(tb)) Draw();
  CScreen::OnLButtonUp(flags, point);
}
