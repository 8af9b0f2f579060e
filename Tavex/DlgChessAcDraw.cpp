// The play screen's picture: the layout of its buttons and the composition of a frame from the
// board picture's sprites and the portraits.
#include <cstdio>
#include <cstring>

#include "AiEngine.h"
#include "DlgChessAc.h"
#include "TavexDlg.h"

namespace {

constexpr CRect kKindIcons[3] = {{528, 480, 554, 506}, {554, 480, 580, 506}, {580, 480, 606, 506}};
constexpr CRect kKindHighlight(606, 480, 634, 508);
constexpr CRect kBadgeBlack(542, 507, 573, 538), kBadgeWhite(542, 539, 573, 570);
constexpr CRect kBadgeSwappedBlack(574, 507, 605, 538), kBadgeSwappedWhite(574, 539, 605, 570);
constexpr CRect kKnobHeld(528, 507, 539, 518), kKnobResting(528, 518, 539, 529);
constexpr CRect kRuleFree(376, 569, 457, 595), kRuleRenju(458, 569, 539, 595);
constexpr CRect kRunningOverlay(382, 823, 564, 949);
constexpr CRect kColon(537, 660, 547, 680);
constexpr CRect kStoneWhite(548, 660, 569, 681), kStoneBlack(570, 660, 591, 681);
constexpr CRect kShadow(592, 660, 614, 682);
constexpr TitleBarSprites kTitleSprites = {.windowed = {565, 794, 582, 811},
                                           .fullScreen = {583, 794, 600, 811},
                                           .minimize = {601, 794, 618, 811},
                                           .close = {619, 794, 636, 811},
                                           .mark = {583, 776, 600, 793}};
constexpr CRect kHumanPortrait(72, 276, 144, 368);

CRect ClockFrame(int f, bool white) {
  const int top = white ? 527 : 483;
  return CRect(f * 44 + 2, top, f * 44 + 42, top + 37);
}

// The digit strip reads 1234567890.
bool DigitSprite(char ch, CRect* out) {
  if (ch < '0' || ch > '9') return false;
  const int i = ch == '0' ? 9 : ch - '1';
  *out = CRect(376 + 16 * i, 660, 392 + 16 * i, 680);
  return true;
}

struct PanelLayout {
  CRect dest, hover, pressed;
};
constexpr PanelLayout kPanel[PANEL_BUTTONS] = {
    {{1, 175, 183, 301}, {193, 569, 375, 695}, {5, 569, 187, 695}},
    {{10, 188, 46, 224}, {376, 623, 412, 659}, {376, 950, 412, 986}},
    {{15, 224, 51, 260}, {413, 623, 449, 659}, {413, 950, 449, 986}},
    {{37, 255, 73, 291}, {450, 623, 486, 659}, {450, 950, 486, 986}},
    {{75, 263, 111, 299}, {487, 623, 523, 659}, {487, 950, 523, 986}},
    {{112, 255, 148, 291}, {524, 623, 560, 659}, {524, 950, 560, 986}},
    {{134, 224, 170, 260}, {561, 623, 597, 659}, {561, 950, 597, 986}},
    {{137, 188, 173, 224}, {598, 623, 634, 659}, {598, 950, 634, 986}},
    {{41, 4, 69, 32}, kKindHighlight, kKindHighlight},
    {{41, 297, 69, 325}, kKindHighlight, kKindHighlight},
};

constexpr CRect kSliderTracks[SLIDERS] = {
    {94, 71, 170, 82}, {94, 118, 170, 129}, {94, 365, 170, 376}, {94, 412, 170, 423}};

CString SideName(const PlayerRecord& rec) {
  return CString(rec.name, int(strnlen(rec.name, sizeof rec.name)));
}

}  // namespace

void CDlgChessAc::LayoutButtons() {
  LayoutTitleBar(sideButtons, kTitleSprites);
  SetButton(sideButtons[SIDE_SOUND], CRect(545, 442, 577, 477), CRect(565, 696, 597, 731));
  SetButton(sideButtons[SIDE_BOARD], CRect(576, 442, 608, 477), CRect(596, 696, 628, 731));
  SetButton(sideButtons[SIDE_PORTRAIT_BLACK], CRect(12, 42, 84, 134), kHumanPortrait);
  SetButton(sideButtons[SIDE_PORTRAIT_WHITE], CRect(12, 336, 84, 428), kHumanPortrait);
  for (int i = 0; i < PANEL_BUTTONS; ++i)
    SetButton(panelButtons[i], kPanel[i].dest, kPanel[i].hover, kPanel[i].pressed);
  panelButtons[PANEL_START].hit = CRect(58, 188, 122, 252);
  for (int i = 0; i < SLIDERS; ++i) {
    const CRect& t = kSliderTracks[i];
    SetButton(sliders[i], CRect(t.left, t.top, t.left + 11, t.bottom), kKnobHeld, kKnobResting);
    sliders[i].hit = t;
  }
}

void CDlgChessAc::DrawScene() {
  ImagePage page;
  graphics->LockPage(&page, FALSE);
  graphics->BltPage(&page, 0, 0, &boardImage, CRect(0, 0, 640, 480), FALSE);
  if (running == 1) graphics->BltPage(&page, 1, 175, &boardImage, kRunningOverlay, TRUE);
  if (host->fullScreen) {
    const CRect& d = sideButtons[SIDE_FULLSCREEN].dest;
    graphics->BltPage(&page, d.left, d.top, &boardImage, kTitleSprites.mark, TRUE);
  }
  DrawSidePanels(&page);
  DrawStones(&page);
  graphics->BltPage(&page, 213, 11, &boardImage,
                    host->chessData.ruleSet == RULES_FREESTYLE ? kRuleFree : kRuleRenju, TRUE);
  for (auto& s : sliders)
    graphics->BltPage(&page, s.dest.left, s.dest.top, &boardImage,
                      s.state == BUTTON_LIT ? kKnobHeld : kKnobResting, FALSE);
  for (int i = 0; i < SIDE_PORTRAIT_BLACK; ++i) {
    const ScreenButton& b = sideButtons[i];
    if (b.state == BUTTON_LIT) {
      graphics->BltPage(&page, b.dest.left, b.dest.top, &boardImage, b.hoverSrc, FALSE);
      break;
    }
  }
  for (auto& b : panelButtons) {
    if (b.state == BUTTON_LIT || b.state == BUTTON_PRESSED) {
      graphics->BltPage(&page, b.dest.left, b.dest.top, &boardImage,
                        b.state == BUTTON_LIT ? b.hoverSrc : b.pressedSrc, TRUE);
      break;
    }
  }
  DrawClocks(&page);
  graphics->UnlockPage(FALSE);
}

void CDlgChessAc::DrawSidePanels(ImagePage* page) {
  const CChessData& data = host->chessData;
  const bool usual = data.sides[0].stoneCode == CELL_BLACK;
  graphics->BltPage(page, 5, 3, &boardImage, usual ? kBadgeBlack : kBadgeSwappedBlack, FALSE);
  graphics->BltPage(page, 5, 296, &boardImage, usual ? kBadgeWhite : kBadgeSwappedWhite, FALSE);
  graphics->BltPage(page, 12, 42, &playersImage, sideButtons[SIDE_PORTRAIT_BLACK].hoverSrc, FALSE);
  graphics->BltPage(page, 12, 336, &playersImage, sideButtons[SIDE_PORTRAIT_WHITE].hoverSrc, FALSE);
  for (int side = 0; side < 2; ++side) {
    const int kind = data.sides[side].kind;
    if (kind >= 0 && kind < 3)
      graphics->BltPage(page, 42, side == 0 ? 5 : 298, &boardImage, kKindIcons[kind], TRUE);
  }
  HDC dc;
  if (graphics->GetPageDC(&dc, FALSE)) {
    graphics->DrawTextInRect(&dc, SideName(data.sides[0]), CRect(74, 8, 178, 28), DT_CENTER,
                             RGB(255, 255, 0), RGB(1, 0, 0));
    graphics->DrawTextInRect(&dc, SideName(data.sides[1]), CRect(74, 301, 178, 321), DT_CENTER,
                             RGB(255, 255, 0), RGB(1, 0, 0));
    graphics->ReleasePageDC(&dc, FALSE);
  }
}

void CDlgChessAc::DrawStones(ImagePage* page) {
  const uint8_t* board = host->chessData.board;
  for (int r = 0; r < 15; ++r)
    for (int c = 0; c < 15; ++c) {
      const uint8_t code = board[CellAt(r, c)];
      if (code == CELL_BLACK)
        graphics->BltBlend(page, 229 + 24 * c, 65 + 24 * r, &boardImage, kShadow);
      else if (code == CELL_WHITE)
        graphics->BltBlend(page, 228 + 24 * c, 64 + 24 * r, &boardImage, kShadow);
    }
  for (int r = 0; r < 15; ++r)
    for (int c = 0; c < 15; ++c) {
      const uint8_t code = board[CellAt(r, c)];
      if (code == CELL_BLACK)
        graphics->BltPage(page, 228 + 24 * c, 64 + 24 * r, &boardImage, kStoneBlack, TRUE);
      else if (code == CELL_WHITE)
        graphics->BltPage(page, 227 + 24 * c, 63 + 24 * r, &boardImage, kStoneWhite, TRUE);
    }
}

void CDlgChessAc::DrawClocks(ImagePage* page) {
  const CChessData& data = host->chessData;
  for (int side = 0; side < 2; ++side) {
    const int y = side == 0 ? 153 : 447;
    const uint32_t s = uint32_t(data.sides[side].clock) / 1000;
    const uint32_t h = s / 3600, m = (s / 60) % 60, sec = s % 60;
    CRect sprite;
    auto two = [&](uint32_t value, int x) {
      char text[16];
      std::snprintf(text, sizeof text, "%02u", value);
      for (int k = 0; k < 2; ++k)
        if (DigitSprite(text[k], &sprite))
          graphics->BltPage(page, x + 16 * k, y, &boardImage, sprite, TRUE);
    };
    if (h > 0) {
      two(h, 13);
      graphics->BltPage(page, 45, y, &boardImage, kColon, TRUE);
    }
    if (h > 0 || m > 0) {
      two(m, 53);
      graphics->BltPage(page, 85, y, &boardImage, kColon, TRUE);
    }
    if (h > 0 || m > 0 || sec > 0) two(sec, 93);
    graphics->BltPage(page, 131, side == 0 ? 145 : 439, &boardImage,
                      ClockFrame(int(sec % 12), side == 1), TRUE);
  }
}

void CDlgChessAc::RedrawScreen() {
  // One toggle for the whole program: the status line shows on every second redraw.
  static bool blinkOn = false;
  DrawScene();
  if (blinkOn) {
    HDC dc;
    if (graphics->GetPageDC(&dc, FALSE)) {
      graphics->TextOutShadow(&dc, 200, 450, statusText, RGB(255, 255, 0), RGB(1, 0, 0));
      graphics->ReleasePageDC(&dc, FALSE);
    }
  }
  blinkOn = !blinkOn;
  Present();
}
