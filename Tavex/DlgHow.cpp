#include "DlgHow.h"

#include "AiEngine.h"
#include "TavexDlg.h"

namespace {

constexpr TitleBarSprites kTitleSprites = {.windowed = {126, 498, 143, 515},
                                           .fullScreen = {144, 498, 161, 515},
                                           .minimize = {162, 498, 179, 515},
                                           .close = {180, 498, 197, 515},
                                           .mark = {144, 480, 161, 497}};
constexpr CRect kRuleMark(0, 480, 25, 505);

}  // namespace

CDlgHow::CDlgHow(CTavexDlg* host) : CScreen(IDD_DLG_HOW, host) {
  buttonTable = {.buttons = buttons, .count = HOW_BUTTONS};
}

void CDlgHow::Layout() {
  LayoutTitleBar(buttons, kTitleSprites);
  SetButton(buttons[HOW_BACK], CRect(296, 416, 346, 466), CRect(25, 480, 75, 530));
  // A whole line of text answers, but only the box at its left end is drawn.
  SetButton(buttons[HOW_FREESTYLE], CRect(134, 127, 258, 152), kRuleMark);
  buttons[HOW_FREESTYLE].dest = CRect(134, 127, 159, 152);
  SetButton(buttons[HOW_RENJU], CRect(134, 234, 378, 259), kRuleMark);
  buttons[HOW_RENJU].dest = CRect(134, 234, 159, 259);
}

BOOL CDlgHow::OnInitDialog() {
  CDialog::OnInitDialog();
  graphics->CenterScreenWindow(this, 640, 480);
  exitRequested = 0;
  {
    CClientDC dc(this);
    host->ShowPicture(&dc);
  }
  Layout();
  LoadPicture("img\\how.bmp");
  sound->FreeSound(&music);
  sound->LoadWave(MediaPath("music\\T03.wav"), &music);
  sound->PlayMusic(&music, TRUE);
  Draw();
  host->CollapseWindow();
  ScreenOpened();
  return TRUE;
}

void CDlgHow::Draw() {
  ImagePage page;
  BeginPage(&page);
  const ScreenButton& rule =
      buttons[host->chessData.ruleSet == RULES_FREESTYLE ? HOW_FREESTYLE : HOW_RENJU];
  graphics->BltPage(&page, rule.dest.left, rule.dest.top, &picture, rule.hoverSrc, TRUE);
  DrawActiveButton(&page, buttons, HOW_BUTTONS, TRUE);
  graphics->UnlockPage(FALSE);
  Present(false);
}

void CDlgHow::OnMouseMove(UINT flags, CPoint point) {
  PointCursor(buttons, HOW_BUTTONS, point);
  Present(true);
  CScreen::OnMouseMove(flags, point);
}

void CDlgHow::Choose(int chosen, int) {
  if (chosen == HOW_FREESTYLE || chosen == HOW_RENJU)
    host->SetRuleSet(chosen == HOW_FREESTYLE ? RULES_FREESTYLE : RULES_RENJU);
  Draw();
  if (TitleBarAction(chosen)) Draw();
  if (chosen == HOW_BACK) {
    exitRequested = 1;
    LeaveScreen();
  }
}

BOOL CDlgHow::DestroyWindow() {
  sound->FreeSound(&music);
  return CScreen::DestroyWindow();
}
