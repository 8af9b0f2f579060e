#include "DlgTopList.h"

#include <cstring>
#include <string_view>

#include "Big5.h"
#include "TavexDlg.h"

namespace {

constexpr TitleBarSprites kTitleSprites = {.windowed = {250, 498, 267, 515},
                                           .fullScreen = {268, 498, 285, 515},
                                           .minimize = {286, 498, 303, 515},
                                           .close = {304, 498, 321, 515},
                                           .mark = {268, 480, 285, 497}};

constexpr COLORREF kLineColour = RGB(0, 0, 0);
constexpr COLORREF kLineShadow = RGB(159, 159, 140);
constexpr int kLineStep = 23;
constexpr int kLeftX = 123, kRightX = 376, kFirstLineY = 146;

const char* const kListGradeNames[12] = {"六級", "五級", "四級", "三級", "二級", "一級",
                                         "一段", "二段", "三段", "四段", "五段", "六段"};

bool IsListKind(int k) { return k >= 0 && k < 3; }

}  // namespace

CString TopTenName(const PlayerRecord& entry) {
  const std::string_view field(entry.name, strnlen(entry.name, sizeof entry.name));
  size_t length = field.size();
  // A damaged file may end the field in the middle of a character.
  if (length > 0 && IsBig5Lead(static_cast<uint8_t>(field[length - 1])) &&
      Big5PrevChar(field, length) == length - 1)
    --length;
  return CString(field.substr(0, length));
}

bool FormatTopTenLine(int column, int listKind, const PlayerRecord& entry, CString* line) {
  if (entry.newMark == 0) return false;
  const CString name = TopTenName(entry);
  if (listKind == TOPLIST_LADDER) {
    if (entry.score < 1 || entry.score > 12) return false;
    line->Format("%s %s", static_cast<const char*>(name), kListGradeNames[entry.score - 1]);
  } else if (column == 0) {
    line->Format("%s %2u分", static_cast<const char*>(name), entry.score);
  } else {
    line->Format("%s %u分", static_cast<const char*>(name), entry.score);
  }
  return true;
}

CDlgTopList::CDlgTopList(CTavexDlg* host) : CScreen(IDD, host) {
  buttonTable = {.buttons = buttons, .count = TOPLIST_BUTTONS};
}

void CDlgTopList::Layout() {
  LayoutTitleBar(buttons, kTitleSprites);
  SetButton(buttons[TOPLIST_BACK], CRect(298, 417, 348, 467), CRect(0, 480, 50, 530));
  SetButton(buttons[TOPLIST_LEFT_TABS + 0], CRect(41, 98, 65, 160), CRect(100, 480, 124, 542));
  SetButton(buttons[TOPLIST_LEFT_TABS + 1], CRect(34, 170, 58, 232), CRect(125, 480, 149, 542));
  SetButton(buttons[TOPLIST_LEFT_TABS + 2], CRect(28, 248, 52, 310), CRect(150, 480, 174, 542));
  SetButton(buttons[TOPLIST_RIGHT_TABS + 0], CRect(569, 95, 593, 157), CRect(175, 480, 199, 542));
  SetButton(buttons[TOPLIST_RIGHT_TABS + 1], CRect(576, 167, 600, 229), CRect(200, 480, 224, 542));
  SetButton(buttons[TOPLIST_RIGHT_TABS + 2], CRect(582, 245, 606, 307), CRect(225, 480, 249, 542));
}

BOOL CDlgTopList::OnInitDialog() {
  CDialog::OnInitDialog();
  graphics->CenterScreenWindow(this, 640, 480);
  host->SelectCursor(CURSOR_NONE);
  Layout();
  LoadPicture("img\\toplist.bmp");
  DrawLists();
  {
    CClientDC dc(this);
    host->ShowPicture(&dc);
  }
  host->CollapseWindow();
  sound->FreeSound(&music);
  sound->LoadWave(MediaPath("music\\Track12.wav"), &music);
  sound->PlayMusic(&music, TRUE);
  host->SelectCursor(CURSOR_NORMAL);
  Draw();
  ScreenOpened();
  return TRUE;
}

void CDlgTopList::DrawLists() {
  ImagePage page;
  BeginPage(&page);
  // The list each column shows always looks pressed.
  if (IsListKind(freeStyleList)) {
    const ScreenButton& tab = buttons[TOPLIST_LEFT_TABS + freeStyleList];
    graphics->BltPage(&page, tab.dest.left, tab.dest.top, &picture, tab.hoverSrc, TRUE);
  }
  if (IsListKind(renjuList)) {
    const ScreenButton& tab = buttons[TOPLIST_RIGHT_TABS + renjuList];
    graphics->BltPage(&page, tab.dest.left, tab.dest.top, &picture, tab.hoverSrc, TRUE);
  }
  DrawActiveButton(&page, buttons, TOPLIST_BUTTONS, TRUE);
  graphics->UnlockPage(FALSE);

  HDC dc = nullptr;
  graphics->GetPageDC(&dc, FALSE);
  const int lists[2] = {freeStyleList, renjuList};
  const int xs[2] = {kLeftX, kRightX};
  for (int column = 0; column < 2; ++column) {
    if (!IsListKind(lists[column])) continue;
    const PlayerRecord* list = host->chessData.topTen[column][lists[column]];
    for (int i = 0; i < TOPTEN_PLACES; ++i) {
      CString line;
      // Empty places leave their gap: the lines below do not move up.
      if (FormatTopTenLine(column, lists[column], list[i], &line))
        graphics->TextOutShadow(&dc, xs[column], kFirstLineY + kLineStep * i, line, kLineColour,
                                kLineShadow);
    }
  }
  graphics->ReleasePageDC(&dc, FALSE);
}

void CDlgTopList::Draw() {
  DrawLists();
  Present(false);
}

void CDlgTopList::OnMouseMove(UINT flags, CPoint point) {
  PointCursor(buttons, TOPLIST_BUTTONS, point);
  Present(true);
  CScreen::OnMouseMove(flags, point);
}

void CDlgTopList::Choose(int chosen, int) {
  // Only the full-screen button and the tabs redraw; elsewhere the pressed look stays a while.
  if (TitleBarAction(chosen)) Draw();
  switch (chosen) {
    case TOPLIST_BACK: LeaveScreen(); break;
    case TOPLIST_LEFT_TABS + 0:
    case TOPLIST_LEFT_TABS + 1:
    case TOPLIST_LEFT_TABS + 2:
      freeStyleList = chosen - TOPLIST_LEFT_TABS;
      Draw();
      break;
    case TOPLIST_RIGHT_TABS + 0:
    case TOPLIST_RIGHT_TABS + 1:
    case TOPLIST_RIGHT_TABS + 2:
      renjuList = chosen - TOPLIST_RIGHT_TABS;
      Draw();
      break;
    default: break;
  }
}

BOOL CDlgTopList::DestroyWindow() {
  sound->FreeSound(&music);
  return CScreen::DestroyWindow();
}

void CDlgTopList::CloseProgram() {
  host->quitRequested = 1;
  LeaveScreen();
}
