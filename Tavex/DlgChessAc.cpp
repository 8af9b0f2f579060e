// The play screen's game: set-up, the loop of pump steps with human and computer turns, the
// clocks, the blinking last stone, placing stones with their threats and fouls, the end.
#include "DlgChessAc.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "AiEngine.h"
#include "BoardChoice.h"
#include "TavexDlg.h"

namespace {

constexpr char kFoulQuestion[] = " 違反連珠規則,確定要下該子嗎？(Y/N)";
constexpr char kHiddenPhrase[] = "blue kite up";
constexpr int kHiddenLength = 12;

constexpr CRect kHumanWinner(0, 822, 159, 982);
constexpr CRect kComputerWinner(159, 822, 318, 982);
constexpr int kWinnerX = 414, kWinnerY = 76;

// Typed characters are collected across showings, in blocks of twelve.
char hiddenBuffer[kHiddenLength + 1];
int hiddenCount = 0;

bool Reported(int vk) { return GetAsyncKeyState(vk) != 0; }

// Milliseconds until `period` has passed since `since`, 0 once it has.
uint32_t Remaining(uint32_t since, uint32_t period, uint32_t now) {
  const uint32_t gone = now - since;
  return gone >= period ? 0 : period - gone;
}

// Busy for as long as it lives, nesting as the pumps do.
struct BusyScope {
  explicit BusyScope(int32_t& flag) : flag_(flag) { ++flag_; }
  ~BusyScope() { --flag_; }
  int32_t& flag_;
};

}  // namespace

void (*CDlgChessAc::waitHook)(CDlgChessAc* screen) = nullptr;

CDlgChessAc::CDlgChessAc(CTavexDlg* host) : CScreen(IDD_DLG_CHESSAC, host) {}

CDlgChessAc::~CDlgChessAc() {
  FreeImagePage(&boardImage);
  FreeImagePage(&playersImage);
  sound->FreeSound(&music);
}

void CDlgChessAc::SetupGame(PlayerRecord* black, PlayerRecord* white, int mode_) {
  statusText = "";
  mode = mode_;
  LayoutButtons();
  CChessData& data = host->chessData;
  data.ClearBoard();
  data.ClearMoves();
  data.moveIndex = 0;
  running = 0;
  exitRequested = 0;
  lastBlinkTick = 0;
  result = RESULT_NONE;
  PlayerRecord* given[2] = {black, white};
  for (int side = 0; side < 2; ++side) {
    if (given[side])
      data.sides[side] = *given[side];
    else
      std::memset(&data.sides[side], 0, sizeof(PlayerRecord));
    data.sides[side].clock = 0;
  }
  data.sides[0].stoneCode = CELL_BLACK;
  data.sides[1].stoneCode = CELL_WHITE;
  for (int side = 0; side < 2; ++side) NameSideByKind(side);
}

BOOL CDlgChessAc::OnInitDialog() {
  CDialog::OnInitDialog();
  HiddenMode = 0;
  lastTick = timeGetTime();
  graphics->CenterScreenWindow(this, 640, 480);
  LoadBoardImage();
  FreeImagePage(&playersImage);
  graphics->LoadImagePage(&playersImage, MediaPath("img\\players.bmp"));
  host->SelectCursor(CURSOR_NONE);
  DrawScene();
  {
    CClientDC dc(this);
    host->ShowPicture(&dc);
  }
  host->CollapseWindow();
  SetActiveWindow();
  host->SelectCursor(CURSOR_NORMAL);
  SelectMusicTrack();
  AiReset();
  SetFocus();
  RedrawScreen();
  ScreenOpened();
  RunGameLoop();
  host->TakeScreenPlace(this);
  EndDialog(0);
  return TRUE;
}

void CDlgChessAc::LoadBoardImage() {
  FreeImagePage(&boardImage);
  const int board =
      host->chosenBoard >= 0 && host->chosenBoard < BOARD_CHOICES ? host->chosenBoard : 0;
  CString name;
  name.Format("img\\base_%d.bmp", board);
  graphics->LoadImagePage(&boardImage, MediaPath(name));
}

void CDlgChessAc::SelectMusicTrack() {
  sound->FreeSound(&music);
  CString track;
  track.Format("music\\Track%02d.wav", Random(15) + 2);
  sound->LoadWave(MediaPath(track), &music);
  sound->PlayMusic(&music, TRUE);
}

void CDlgChessAc::RunGameLoop() {
  int info = 0;
  CChessData& data = host->chessData;
  while (!exitRequested) {
    PumpStep();
    while (running == 1 && result == RESULT_NONE) {
      if (data.moveIndex >= MOVE_RECORDS) {
        // A full board has no move left for anybody.
        result = RESULT_DRAW;
      } else {
        const PlayerRecord& rec = data.sides[data.moveIndex & 1];
        if (rec.kind == PLAYER_HUMAN)
          HumanTurn();
        else
          ComputerTurn(rec, &info);
      }
      if (exitRequested) break;
      if (info != 0) {
        HDC dc;
        if (graphics->GetPageDC(&dc, FALSE)) {
          graphics->TextOutShadow(&dc, 200, 0, infoText, RGB(255, 255, 255), RGB(1, 0, 0));
          graphics->ReleasePageDC(&dc, FALSE);
        }
      }
      Present();
      if (result != RESULT_NONE) EndOfGame();
    }
  }
}

void CDlgChessAc::HumanTurn() {
  clickedCell = -1;
  PumpStep();
  const int cell = clickedCell;
  if (cell == -1 || !IsPlayingCell(cell) || host->chessData.board[cell] != CELL_EMPTY) return;
  PlaceStone(cell);
  sound->PlayEffect(&host->soundEffects[EFFECT_STONE], FALSE);
}

void CDlgChessAc::ComputerTurn(const PlayerRecord& rec, int* info) {
  CChessData& data = host->chessData;
  host->SelectCursor(CURSOR_BUSY);
  SetTimer(BOARD_TIMER_ID, THINK_TICK_MS);
  const uint32_t t0 = timeGetTime();
  int cell;
  int score = 0;
  if (HiddenMode == 1) {
    cell = 0;  // no think: a random cell below
  } else {
    BusyScope scope(busy);
    cell = AiThink(rec.level, 1, rec.style, 1, info, &score);
  }
  const uint32_t elapsed = timeGetTime() - t0;
  if (*info != 0) infoText.Format("Time:[%i]  RetNode:[%i] Score:[%i]", int(elapsed), *info, score);
  KillTimer(BOARD_TIMER_ID);
  if (cell < 0) return;
  // The engine's answer must be a free cell of the board; anything else would write outside it.
  if (!IsPlayingCell(cell) || data.board[cell] != CELL_EMPTY) cell = data.RandomLegalCell();
  if (cell < 0) {
    // Nothing left that the mover may play.
    result = RESULT_DRAW;
    return;
  }
  PlaceStone(cell);
  sound->PlayEffect(&host->soundEffects[EFFECT_STONE], FALSE);
}

void CDlgChessAc::EndOfGame() {
  statusText = "";
  running = 0;
  SetStartLook(false);
  if (result == RESULT_BLACK_WON || result == RESULT_WHITE_WON)
    ShowGameOver();
  else
    RedrawScreen();
}

void CDlgChessAc::Wait() {
  if (waitHook) waitHook(this);
}

void CDlgChessAc::Present() {
  CClientDC dc(this);
  graphics->Flip(&dc);
}

void CDlgChessAc::PumpStep() {
  Wait();
  MSG m;
  if (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessage(&m);
  } else {
    // Nothing to do until input, a timer, the cursor's mouse move or the clock or blink step.
    uint32_t due = 100;
    if (running == 1) {
      const uint32_t now = timeGetTime();
      due = std::min(Remaining(lastTick, 1001, now), Remaining(lastBlinkTick, 5000, now));
    }
    WaitForMessage(due);
  }
  graphics->KeepCursor();
  if (running == 1) {
    BlinkLastMove();
    ClockStep();
  }
}

void CDlgChessAc::ClockStep() {
  const uint32_t elapsed = timeGetTime() - lastTick;
  if (elapsed > 1000) {
    CChessData& data = host->chessData;
    // A clock loaded from a record may already stand near the top; it stops there.
    int32_t& clock = data.sides[data.moveIndex & 1].clock;
    const int64_t sum = int64_t(clock) + elapsed;
    clock = sum > INT32_MAX ? INT32_MAX : int32_t(sum);
    lastTick = timeGetTime();
    RedrawScreen();
  }
}

int CDlgChessAc::HitTestBoard(int x, int y) { return 128 + (x - 226) / 24 + 32 * ((y - 63) / 24); }

bool CDlgChessAc::PresentFor(uint32_t ms) {
  const uint32_t start = timeGetTime();
  while (timeGetTime() - start < ms) {
    Present();
    if (Reported(VK_LBUTTON)) return true;
    Wait();
    WaitForInput(Remaining(start, ms, timeGetTime()));
  }
  return false;
}

void CDlgChessAc::BlinkLastMove() {
  if (timeGetTime() - lastBlinkTick < 5000) return;
  CChessData& data = host->chessData;
  const int last = data.moveIndex - 1;
  // Only a stone that stands on the board can blink.
  if (last >= 0 && data.moves[last].used && IsPlayingCell(data.moves[last].cell) &&
      data.board[data.moves[last].cell] != CELL_EMPTY) {
    bool pressed = false;
    for (int i = 0; i < 5 && !pressed; ++i) {
      data.StepBack(0);
      RedrawScreen();
      pressed = PresentFor(100);
      data.StepForward(0);
      RedrawScreen();
      if (pressed) break;
      if (PresentFor(100)) {
        // A press while the stone shows: one more dark phase, then the stone stays.
        data.StepBack(0);
        RedrawScreen();
        PresentFor(100);
        data.StepForward(0);
        RedrawScreen();
        pressed = true;
      }
    }
  }
  lastBlinkTick = timeGetTime();
}

void CDlgChessAc::PlaceStone(int cell) {
  CChessData& data = host->chessData;
  const int n = data.moveIndex;
  const int mover = n & 1;
  data.SetCell(cell, (n & 1) ? CELL_WHITE : CELL_BLACK);
  data.moves[n].used = 1;
  data.moves[n].clock = data.sides[mover].clock;
  data.moves[n].cell = cell;
  RedrawScreen();
  const uint32_t flags = AiPlayMove(cell);
  statusText = "";
  data.moveIndex = n + 1;
  if (flags & THREAT_FIVE) {
    result = mover;
    return;
  }
  if (data.moveIndex == MOVE_RECORDS) {
    if (result == RESULT_NONE) result = RESULT_DRAW;
    return;
  }
  WaveSound* threat = &host->soundEffects[EFFECT_THREAT];
  if (flags & THREAT_OPEN_FOUR) {
    statusText = "[活四]";
    sound->PlayEffect(threat, FALSE);
  }
  if (flags & THREAT_FOUR) {
    statusText += "[死四]";
    sound->PlayEffect(threat, FALSE);
  }
  if (flags & THREAT_THREE) {
    statusText += "[活三]";
    sound->PlayEffect(threat, FALSE);
  }
  bool foul = false;
  if (flags & FOUL_DOUBLE_THREE) statusText = "[雙活三]", foul = true;
  if (flags & FOUL_DOUBLE_FOUR) statusText = "[雙四]", foul = true;
  if (flags & FOUL_OVERLINE) statusText = "[長連]", foul = true;
  if (!foul) return;

  // The foul question: nothing may edit the record until it is answered.
  BusyScope scope(busy);
  statusText += kFoulQuestion;
  SetFocus();
  // A key still held from before does not answer.
  const uint32_t t0 = timeGetTime();
  while (Reported('Y') || Reported('N')) {
    PumpStep();
    if (timeGetTime() - t0 > 5000) break;
  }
  sound->PlayEffect(&host->soundEffects[EFFECT_FOUL], FALSE);
  if (data.sides[mover].kind != PLAYER_HUMAN) {
    statusText = "";
    result = data.moveIndex & 1;
    return;
  }
  for (;;) {
    if (exitRequested) return;
    PumpStep();
    if (Reported('Y')) {
      result = data.moveIndex & 1;
      return;
    }
    if (Reported('N')) {
      data.StepBack(1);
      statusText = "";
      RedrawScreen();
      return;
    }
  }
}

void CDlgChessAc::ShowGameOver() {
  CChessData& data = host->chessData;
  sound->StopSound(&music);
  DrawScene();
  ImagePage page;
  graphics->LockPage(&page, FALSE);
  WaveSound jingle;
  const bool human = data.sides[result].kind == PLAYER_HUMAN;
  sound->LoadWave(MediaPath(human ? "sound\\S138.wav" : "sound\\S119.wav"), &jingle);
  const CRect picture = human ? kHumanWinner : kComputerWinner;
  graphics->BltPage(&page, kWinnerX, kWinnerY, &boardImage, picture, TRUE);
  sound->PlayEffect(&jingle, TRUE);
  graphics->UnlockPage(FALSE);
  Present();

  MSG m;
  auto dropOne = [&m] { PeekMessage(&m, nullptr, 0, 0, PM_REMOVE); };
  while (Reported(VK_LBUTTON)) dropOne();
  bool show = true;
  bool clicked = false;
  for (;;) {
    Wait();
    if (clicked || Reported(VK_LBUTTON)) {
      while (Reported(VK_LBUTTON)) dropOne();
      sound->FreeSound(&jingle);
      RedrawScreen();
      return;
    }
    dropOne();
    const uint32_t start = timeGetTime();
    while (timeGetTime() - start < 500) {
      DrawScene();
      if (show) {
        graphics->LockPage(&page, FALSE);
        graphics->BltPage(&page, kWinnerX, kWinnerY, &boardImage, picture, TRUE);
        graphics->UnlockPage(FALSE);
      }
      Present();
      if (Reported(VK_LBUTTON)) {
        clicked = true;
        break;
      }
      Wait();
      WaitForInput(Remaining(start, 500, timeGetTime()));
    }
    show = !show;
  }
}

void CDlgChessAc::OnTimer(UINT id) {
  if (running == 0 || exitRequested) {
    // Stopped or left: the search ends at its next node and the turn places nothing.
    abortSearch = 1;
  } else {
    BlinkLastMove();
    ClockStep();
  }
  CScreen::OnTimer(id);
}

void CDlgChessAc::OnRButtonDown(UINT flags, CPoint point) {
  CountDebugClick();
  CScreen::OnRButtonDown(flags, point);
}

void CDlgChessAc::OnRButtonUp(UINT flags, CPoint point) { CScreen::OnRButtonUp(flags, point); }

void CDlgChessAc::OnLButtonDblClk(UINT flags, CPoint point) {
  OnLButtonDown(flags, point);
  CWnd::OnLButtonDblClk(flags, point);
}

void CDlgChessAc::OnChar(UINT ch, UINT repeat, UINT flags) {
  hiddenBuffer[hiddenCount++] = char(ch);
  hiddenBuffer[hiddenCount] = 0;
  if (hiddenCount == kHiddenLength) {
    char lower[kHiddenLength + 1];
    for (int i = 0; i <= kHiddenLength; ++i)
      lower[i] = char(std::tolower(static_cast<unsigned char>(hiddenBuffer[i])));
    if (std::memcmp(lower, kHiddenPhrase, kHiddenLength) == 0) HiddenMode = 1;
    std::memset(hiddenBuffer, 0, sizeof hiddenBuffer);
    hiddenCount = 0;
  }
  CScreen::OnChar(ch, repeat, flags);
}

void CDlgChessAc::OnClose() {
  exitRequested = 1;
  CDialog::OnClose();
}

void CDlgChessAc::OnPaint() { CScreen::OnPaint(); }

void CDlgChessAc::OnSize(UINT type, int cx, int cy) {
  CScreen::OnSize(type, cx < 640 ? cx : 640, cy < 480 ? cy : 480);
}

BOOL CDlgChessAc::DestroyWindow() {
  KillTimer(BOARD_TIMER_ID);
  sound->FreeSound(&music);
  FreeImagePage(&boardImage);
  FreeImagePage(&playersImage);
  return CScreen::DestroyWindow();
}
