#include "DlgMain.h"

#include "AiEngine.h"
#include "DlgSoundSet.h"
#include "TavexDlg.h"

namespace {

constexpr TitleBarSprites kTitleSprites = {.windowed = {569, 498, 586, 515},
                                           .fullScreen = {587, 498, 604, 515},
                                           .minimize = {605, 498, 622, 515},
                                           .close = {624, 498, 641, 515},
                                           .mark = {587, 480, 604, 497}};

struct ItemLayout {
  CRect rect, hover, pressed;
};
constexpr ItemLayout kItems[MAIN_ITEMS] = {
    {{151, 212, 302, 263}, {0, 480, 151, 531}, {0, 636, 151, 687}},
    {{61, 261, 302, 312}, {152, 480, 393, 531}, {152, 636, 393, 687}},
    {{155, 399, 256, 450}, {394, 480, 495, 531}, {394, 636, 495, 687}},
    {{299, 167, 537, 218}, {0, 532, 238, 583}, {0, 688, 238, 739}},
    {{345, 211, 537, 262}, {239, 532, 431, 583}, {239, 688, 431, 739}},
    {{392, 257, 537, 308}, {432, 532, 577, 583}, {432, 688, 577, 739}},
    {{346, 306, 537, 357}, {0, 584, 191, 635}, {0, 740, 191, 791}},
    {{300, 353, 537, 404}, {192, 584, 429, 635}, {192, 740, 429, 791}},
    {{346, 399, 537, 450}, {430, 584, 621, 635}, {430, 740, 621, 791}},
};

}  // namespace

CDlgMain::CDlgMain(CTavexDlg* host) : CScreen(IDD_DLG_MAIN, host) {
  buttonTable = {.buttons = TitleBarButtons,
                 .count = MAIN_TITLE_BUTTONS,
                 .items = items,
                 .itemCount = MAIN_ITEMS};
}

void CDlgMain::Layout() {
  for (int i = 0; i < MAIN_ITEMS; ++i)
    SetButton(items[i], kItems[i].rect, kItems[i].hover, kItems[i].pressed);
  LayoutTitleBar(TitleBarButtons, kTitleSprites);
  SetButton(TitleBarButtons[TITLE_SOUND_SETTINGS], CRect(589, 431, 625, 467),
            CRect(532, 480, 568, 516));
}

BOOL CDlgMain::OnInitDialog() {
  CDialog::OnInitDialog();
  host->SelectCursor(CURSOR_NONE);
  graphics->CenterScreenWindow(this, 640, 480);
  exitRequested = 0;
  result = -1;
  Layout();
  LoadPicture("img\\main.bmp");
  Compose();
  {
    CClientDC dc(this);
    host->ShowPicture(&dc);
  }
  host->CollapseWindow();
  sound->FreeSound(&music);
  sound->LoadWave(MediaPath("music\\t09.wav"), &music);
  sound->PlayMusic(&music, TRUE);
  host->SelectCursor(CURSOR_NORMAL);
  Draw();
  ScreenOpened();
  return TRUE;
}

void CDlgMain::Compose() {
  ImagePage page;
  BeginPage(&page);
  const ScreenButton& rule =
      items[host->chessData.ruleSet == RULES_FREESTYLE ? MENU_FREESTYLE : MENU_RENJU];
  graphics->BltPage(&page, rule.dest.left, rule.dest.top, &picture, rule.hoverSrc, TRUE);
  DrawActiveButton(&page, TitleBarButtons, MAIN_TITLE_BUTTONS, FALSE);
  DrawActiveItem(&page, items, MAIN_ITEMS);
  graphics->UnlockPage(FALSE);
}

void CDlgMain::Draw() {
  Compose();
  Present(true);
}

void CDlgMain::OnOK() {}
void CDlgMain::OnCancel() {}

void CDlgMain::OnMouseMove(UINT flags, CPoint point) {
  HoverMenu(point, true);
  CScreen::OnMouseMove(flags, point);
}

void CDlgMain::Choose(int tb, int item) {
  host->SelectCursor(CURSOR_NORMAL);
  result = item;
  if (item == MENU_FREESTYLE || item == MENU_RENJU) {
    host->SetRuleSet(item == MENU_FREESTYLE ? RULES_FREESTYLE : RULES_RENJU);
  } else if (item >= MENU_QUIT) {
    LeaveScreen();
  }
  Draw();
  if (TitleBarAction(tb))
    Draw();
  else if (tb == TITLE_SOUND_SETTINGS)
    OpenSoundSettings();
  SetActiveWindow();
}

void CDlgMain::OpenSoundSettings() {
  const bool musicWasOn = sound->channelEnabled[CHANNEL_MUSIC] != 0;
  CDlgSoundSet panel(host);
  GetWindowRect(&panel.placeRect);
  panel.DoModal();
  const bool musicOn = sound->channelEnabled[CHANNEL_MUSIC] != 0;
  if (musicOn != musicWasOn) {
    if (musicOn)
      sound->PlayMusic(&music, TRUE);
    else
      sound->StopSound(&music);
  }
}

BOOL CDlgMain::DestroyWindow() {
  sound->FreeSound(&music);
  return CScreen::DestroyWindow();
}
