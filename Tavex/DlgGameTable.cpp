#include "DlgGameTable.h"

#include <cstdlib>
#include <cstring>

#include "ChessData.h"
#include "TavexDlg.h"

namespace {

constexpr TitleBarSprites kTitleSprites = {.windowed = {542, 498, 559, 515},
                                           .fullScreen = {560, 498, 577, 515},
                                           .minimize = {578, 498, 595, 515},
                                           .close = {596, 498, 613, 515},
                                           .mark = {328, 480, 345, 497}};

// The marks of codes 1 to 4, in code order.
constexpr CRect kResultMarks[4] = {
    {35, 480, 54, 501}, {54, 480, 73, 501}, {73, 480, 92, 501}, {92, 480, 111, 501}};

constexpr int kCellLeft = 255;
constexpr int kRowTop = 146;
constexpr int kStep = 26;

}  // namespace

const uint8_t roundSchedule[TOURNAMENT_PLAYERS][TOURNAMENT_ROUNDS] = {
    {1, 2, 3, 4, 5, 6, 7}, {0, 3, 2, 5, 4, 7, 6}, {3, 0, 1, 6, 7, 4, 5}, {2, 1, 0, 7, 6, 5, 4},
    {5, 6, 7, 0, 1, 2, 3}, {4, 7, 6, 1, 0, 3, 2}, {7, 4, 5, 2, 3, 0, 1}, {6, 5, 4, 3, 2, 1, 0},
};

uint8_t MirrorResult(uint8_t code) {
  if (code == MATCH_WON) return MATCH_LOST;
  if (code == MATCH_LOST) return MATCH_WON;
  return code;
}

uint8_t MatchCode(PairingOutcome outcome) {
  switch (outcome) {
    case PAIRING_WON: return MATCH_WON;
    case PAIRING_LOST: return MATCH_LOST;
    default: return MATCH_DRAW;
  }
}

int32_t RowPoints(const uint8_t row[TOURNAMENT_PLAYERS]) {
  int32_t points = 0;
  for (int q = 0; q < TOURNAMENT_PLAYERS; ++q) {
    if (row[q] == MATCH_WON)
      points += 2;
    else if (row[q] == MATCH_DRAW)
      points += 1;
  }
  return points;
}

CString RosterName(const CTavexDlg* host, int rosterIndex) {
  if (rosterIndex < 0 || rosterIndex >= ROSTER_SIZE) return CString();
  // The field need not hold its terminating zero; never read past it.
  const char* name = host->roster[rosterIndex].name;
  const void* end = std::memchr(name, 0, sizeof host->roster[rosterIndex].name);
  const int length =
      end ? int(static_cast<const char*>(end) - name) : int(sizeof host->roster[rosterIndex].name);
  return CString(name, length);
}

int RosterLevel(const CTavexDlg* host, int rosterIndex) {
  if (rosterIndex < 0 || rosterIndex >= ROSTER_SIZE) return 0;
  return host->roster[rosterIndex].level;
}

CDlgGameTable::CDlgGameTable(CTavexDlg* host) : CScreen(IDD_DLG_GAMETABLE, host) {
  buttonTable = {.buttons = buttons, .count = TABLE_BUTTONS};
}

void CDlgGameTable::Layout() {
  LayoutTitleBar(buttons, kTitleSprites);
  SetButton(buttons[TABLE_PLAY], CRect(278, 417, 326, 465), CRect(111, 480, 159, 528));
  SetButton(buttons[TABLE_ABANDON], CRect(334, 417, 382, 465), CRect(161, 480, 209, 528));
}

BOOL CDlgGameTable::OnInitDialog() {
  CDialog::OnInitDialog();
  graphics->CenterScreenWindow(this, 640, 480);
  exitRequested = 0;
  result = ROUND_ABANDON;
  Layout();
  LoadPicture(tournamentKind != 0 ? "img\\GameTableWorld.bmp" : "img\\gameTable.bmp");
  DrawTable();
  host->CollapseWindow();
  ScreenOpened();
  return TRUE;
}

void CDlgGameTable::MarkRoundPending() {
  // The round may come from a save; a value outside the schedule marks nothing.
  if (round < 0 || round >= TOURNAMENT_ROUNDS) return;
  for (int p = 0; p < TOURNAMENT_PLAYERS; ++p)
    host->resultMatrix[p][roundSchedule[p][round]] = MATCH_PENDING;
}

PairingOutcome CDlgGameTable::SimulatePairing(int p) {
  if (p < 0 || p >= TOURNAMENT_PLAYERS || round < 0 || round >= TOURNAMENT_ROUNDS)
    return PAIRING_DRAWN;
  const int q = roundSchedule[p][round];
  const int sp = RosterLevel(host, host->standings[p].rosterIndex);
  const int sq = RosterLevel(host, host->standings[q].rosterIndex);
  if (Random(uint16_t(2 * std::abs(sp - sq) + 10)) == 0) return PAIRING_DRAWN;
  // The extra 2 goes to q: between two level-0 players p never wins.
  const int r = Random(uint16_t(sp + sq + 2));
  return r < sp ? PAIRING_WON : PAIRING_LOST;
}

void CDlgGameTable::RecordResult(uint8_t humanResult) {
  if (round < 0 || round >= TOURNAMENT_ROUNDS) return;
  // Each pairing is decided once, from its lower-numbered side; only a pending cell is decided.
  for (int p = 1; p < TOURNAMENT_PLAYERS; ++p) {
    const int q = roundSchedule[p][round];
    if (q == 0) continue;
    if (host->resultMatrix[p][q] != MATCH_PENDING) continue;
    const uint8_t code = MatchCode(SimulatePairing(p));
    host->resultMatrix[p][q] = code;
    host->resultMatrix[q][p] = MirrorResult(code);
  }
  const int q0 = roundSchedule[0][round];
  host->resultMatrix[0][q0] = humanResult;
  host->resultMatrix[q0][0] = MirrorResult(humanResult);
}

void CDlgGameTable::DrawTable() {
  ImagePage page;
  BeginPage(&page);
  DrawActiveButton(&page, buttons, TABLE_BUTTONS, FALSE);
  MarkRoundPending();
  for (int p = 0; p < TOURNAMENT_PLAYERS; ++p) {
    for (int q = 0; q < TOURNAMENT_PLAYERS; ++q) {
      const uint8_t code = host->resultMatrix[p][q];
      // Only codes 1 to 4 have a mark; anything else from a damaged save draws nothing.
      if (code < MATCH_WON || code > MATCH_PENDING) continue;
      graphics->BltPage(&page, kCellLeft + kStep * q, kRowTop + kStep * p, &picture,
                        kResultMarks[code - 1], TRUE);
    }
  }
  graphics->UnlockPage(FALSE);

  HDC dc = nullptr;
  graphics->GetPageDC(&dc, FALSE);
  // The human is "PLAYER" here whatever name is entered later.
  graphics->TextOutShadow(&dc, 144, kRowTop, "PLAYER", RGB(255, 0, 0), RGB(1, 0, 0));
  for (int p = 1; p < TOURNAMENT_PLAYERS; ++p)
    graphics->TextOutShadow(&dc, 144, kRowTop + kStep * p,
                            RosterName(host, host->standings[p].rosterIndex), RGB(255, 0, 0), 0);
  for (int p = 0; p < TOURNAMENT_PLAYERS; ++p) {
    host->standings[p].points = RowPoints(host->resultMatrix[p]);
    CString text;
    text.Format("%02d", int(host->standings[p].points));
    graphics->DrawTextInRect(&dc, text,
                             CRect(463, kRowTop + kStep * p, 512, kRowTop + 26 + kStep * p),
                             DT_CENTER, RGB(255, 255, 255), RGB(1, 0, 0));
  }
  graphics->ReleasePageDC(&dc, FALSE);

  Present(true);
}

void CDlgGameTable::OnMouseMove(UINT flags, CPoint point) {
  if (PointCursor(buttons, TABLE_BUTTONS, point))
    DrawTable();
  else
    Present(false);
  CScreen::OnMouseMove(flags, point);
}

void CDlgGameTable::Choose(int chosen, int) {
  DrawTable();
  if (TitleBarAction(chosen)) DrawTable();  // closing abandons
  switch (chosen) {
    case TABLE_PLAY:
      result = ROUND_PLAY;
      exitRequested = 1;
      LeaveScreen();
      break;
    case TABLE_ABANDON:
      result = ROUND_ABANDON;
      exitRequested = 1;
      LeaveScreen();
      break;
    default: break;
  }
}
