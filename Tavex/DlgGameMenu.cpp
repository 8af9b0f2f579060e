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

CDlgGameMenu::CDlgGameMenu(CTavexDlg* host) : CScreen(IDD_DLG_GAMEMENU, host) {
  // Items are released in their order, so a release where two overlap takes the later one.
  buttonTable = {
      .buttons = TitleBarButtons, .count = TITLE_BUTTONS, .items = items, .itemCount = 3};
}

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
  result = GAMEMENU_BACK;
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
  DrawActiveItem(&page, items, 3);
  graphics->UnlockPage(FALSE);
  Present(true);
}

void CDlgGameMenu::OnMouseMove(UINT flags, CPoint point) {
  // Every move over a button redraws, which keeps the animated cursor going there.
  HoverMenu(point, false);
  CScreen::OnMouseMove(flags, point);
}

void CDlgGameMenu::Choose(int tb, int item) {
  switch (item) {
    case 0:
      result = GAMEMENU_NEW;
      LeaveScreen();
      break;
    case 1:
      result = GAMEMENU_CONTINUE;
      LeaveScreen();
      break;
    case 2:
      result = GAMEMENU_BACK;
      exitRequested = 1;
      LeaveScreen();
      break;
    default: result = GAMEMENU_BACK; break;
  }
  Draw();
  if (TitleBarAction(tb)) Draw();
}
