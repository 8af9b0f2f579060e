// The play screen's control panel: the mouse over the buttons, what each button does, the
// kinds of the two sides, the roster portraits and the style and level sliders.
#include <unistd.h>

#include <cstring>

#include "AiEngine.h"
#include "DlgBoardSet.h"
#include "DlgChessAc.h"
#include "DlgSoundSet.h"
#include "TavexDlg.h"

const int ROSTER_ORDER[30] = {0,  3, 12, 17, 2,  9, 19, 26, 10, 13, 16, 21, 4, 14, 24,
                              28, 1, 20, 22, 27, 5, 6,  11, 15, 8,  23, 29, 7, 18, 25};

namespace {

constexpr CRect kDragArea(186, 0, 640, 480);
constexpr CRect kStartHover(193, 569, 375, 695), kStartPressed(5, 569, 187, 695);
constexpr CRect kStopHover(5, 696, 187, 822), kStopPressed(193, 696, 375, 822);
constexpr CRect kComputerPortrait(0, 276, 72, 368), kHumanPortrait(72, 276, 144, 368);

CRect RosterPortrait(int id) {
  const int x = (id % 10) * 72, y = (id / 10) * 92;
  return CRect(x, y, x + 72, y + 92);
}

int SliderValue(const CRect& track, int x) {
  const int v = (x - track.left) * 8 / 65;
  return v < 0 ? 0 : v > 8 ? 8 : v;
}

}  // namespace

int CDlgChessAc::RosterOrderIndex(int id) {
  for (int i = 0; i < 30; ++i)
    if (ROSTER_ORDER[i] == id) return i;
  return 0;
}

int CDlgChessAc::RosterOrderAt(int i) { return i >= 0 && i < 30 ? ROSTER_ORDER[i] : 0; }

int& CDlgChessAc::SliderField(int i) {
  PlayerRecord& side = host->chessData.sides[(i / 2) & 1];
  return (i % 2) == 0 ? side.style : side.level;
}

void CDlgChessAc::PlaceSlider(int i) {
  int v = SliderField(i);
  v = v < 0 ? 0 : v > 8 ? 8 : v;
  const int pos = v * 65 / 8;
  ScreenButton& s = sliders[i];
  s.dest = CRect(s.hit.left + pos, s.hit.top, s.hit.left + 11 + pos, s.dest.bottom);
}

void CDlgChessAc::DragSlider(int i, int x, int y) {
  ScreenButton& s = sliders[i];
  // The press itself sets the value, so a quick click on the track moves the knob too.
  int v = SliderValue(s.hit, x);
  (void)y;
  for (bool first = true; first || GetAsyncKeyState(VK_LBUTTON) != 0; first = false) {
    v = SliderValue(s.hit, x);
    const int pos = v * 65 / 8;
    s.dest = CRect(s.hit.left + pos, s.hit.top, s.hit.left + 11 + pos, s.dest.bottom);
    RedrawScreen();
    if (waitHook) waitHook(this);
    CPoint pt;
    GetCursorPos(&pt);
    ScreenToClient(&pt);
    x = pt.x;
    usleep(2000);
  }
  SliderField(i) = v;
}

void CDlgChessAc::SetRosterSide(int side) {
  PlayerRecord& rec = host->chessData.sides[side];
  const int32_t stoneCode = rec.stoneCode, clock = rec.clock;
  const int id = rec.rosterId >= 0 && rec.rosterId < ROSTER_SIZE ? rec.rosterId : 0;
  rec = host->roster[id];
  rec.rosterId = id;
  PlaceSlider(2 * side);
  PlaceSlider(2 * side + 1);
  rec.stoneCode = stoneCode;
  rec.clock = clock;
  sideButtons[SIDE_PORTRAIT_BLACK + side].hoverSrc = RosterPortrait(id);
}

void CDlgChessAc::NameSideByKind(int side) {
  PlayerRecord& rec = host->chessData.sides[side];
  ScreenButton& portrait = sideButtons[SIDE_PORTRAIT_BLACK + side];
  switch (rec.kind) {
    case PLAYER_ROSTER: SetRosterSide(side); break;
    case PLAYER_COMPUTER:
      std::memset(rec.name, 0, sizeof rec.name);
      std::strcpy(rec.name, "COMPUTER");
      portrait.hoverSrc = kComputerPortrait;
      break;
    default:
      // Anything that is neither opponent kind plays as a person.
      rec.kind = PLAYER_HUMAN;
      std::memset(rec.name, 0, sizeof rec.name);
      std::strcpy(rec.name, side == 0 ? "PLAYER 1" : "PLAYER 2");
      portrait.hoverSrc = kHumanPortrait;
      break;
  }
}

void CDlgChessAc::SetStartLook(bool stopLook) {
  ScreenButton& b = panelButtons[PANEL_START];
  b.dest = CRect(1, 175, 183, 301);
  b.hit = CRect(58, 188, 122, 252);
  b.hoverSrc = stopLook ? kStopHover : kStartHover;
  b.pressedSrc = stopLook ? kStopPressed : kStartPressed;
  b.state = BUTTON_IDLE;
}

void CDlgChessAc::OnMouseMove(UINT flags, CPoint point) {
  const CChessData& data = host->chessData;
  if (running == 1 && kBoardRect.PtInRect(point)) {
    if (!LeftButtonDown())
      host->SelectCursor(data.sides[data.moveIndex & 1].kind == PLAYER_HUMAN ? CURSOR_HOVER
                                                                             : CURSOR_BUSY);
    Present();
    CScreen::OnMouseMove(flags, point);
    return;
  }
  // Past the start button the panel is inert while it cannot be edited.
  bool hover = TrackHover(panelButtons, Editable() ? PANEL_BUTTONS : PANEL_START + 1, point, true);
  for (int i = 0; i < SIDE_BUTTONS; ++i) {
    if (i >= SIDE_PORTRAIT_BLACK && !Editable()) break;
    if (sideButtons[i].hit.PtInRect(point)) hover = true;
  }
  if (Editable())
    for (auto& s : sliders)
      if (s.hit.PtInRect(point)) hover = true;
  if (hover) {
    if (!LeftButtonDown()) host->SelectCursor(CURSOR_HOVER);
    RedrawScreen();
  } else {
    if (!LeftButtonDown()) host->SelectCursor(CURSOR_NORMAL);
    Present();
  }
  CScreen::OnMouseMove(flags, point);
}

void CDlgChessAc::OnLButtonDown(UINT flags, CPoint point) {
  lastBlinkTick = timeGetTime();
  host->SelectCursor(CURSOR_PRESSED);
  int pressed = -1;
  for (int i = 0; i < SIDE_BUTTONS; ++i) {
    if (i >= SIDE_PORTRAIT_BLACK && !Editable()) break;
    ScreenButton& b = sideButtons[i];
    b.state = b.hit.PtInRect(point) ? BUTTON_LIT : BUTTON_IDLE;
    if (b.state) pressed = i;
  }
  if (Editable()) {
    int hitSlider = -1;
    for (int i = 0; i < SLIDERS; ++i) {
      sliders[i].state = sliders[i].hit.PtInRect(point) ? BUTTON_LIT : BUTTON_IDLE;
      if (sliders[i].state) hitSlider = i, pressed = 100 + i;
    }
    if (hitSlider != -1 && host->chessData.sides[hitSlider / 2].kind == PLAYER_COMPUTER)
      DragSlider(hitSlider, point.x, point.y);
  }
  for (int i = 0; i < PANEL_BUTTONS; ++i) {
    if (i > PANEL_START && !Editable()) break;
    ScreenButton& b = panelButtons[i];
    b.state = b.hit.PtInRect(point) ? BUTTON_PRESSED : BUTTON_IDLE;
    if (b.state) pressed = i;
  }
  if (kBoardRect.PtInRect(point)) {
    clickedCell = HitTestBoard(point.x, point.y);
    pressed = 1000;
  }
  if (pressed == -1 && kDragArea.PtInRect(point)) {
    DragWindow(point);
    CScreen::OnLButtonDown(flags, point);
    return;
  }
  if (pressed != 1000) {
    PlayClickEffect();
    RedrawScreen();
  }
  CScreen::OnLButtonDown(flags, point);
}

void CDlgChessAc::OnLButtonUp(UINT flags, CPoint point) {
  int side = -1, panel = -1;
  const bool editable = Editable();
  for (int i = 0; i < SIDE_BUTTONS; ++i) {
    if (i >= SIDE_PORTRAIT_BLACK && !editable) break;
    ScreenButton& b = sideButtons[i];
    if (b.state == BUTTON_LIT && b.hit.PtInRect(point)) side = i;
    b.state = BUTTON_IDLE;
  }
  if (editable)
    for (auto& s : sliders) s.state = BUTTON_IDLE;
  for (int i = 0; i < PANEL_BUTTONS; ++i) {
    if (i > PANEL_START && !editable) break;
    ScreenButton& b = panelButtons[i];
    if (b.state == BUTTON_PRESSED && b.hit.PtInRect(point)) panel = i;
    b.state = BUTTON_IDLE;
  }
  PanelAction(panel);
  RedrawScreen();
  SideAction(side);
  SetActiveWindow();
  CScreen::OnLButtonUp(flags, point);
}

void CDlgChessAc::PanelAction(int index) {
  CChessData& data = host->chessData;
  // Editing belongs to the free game; elsewhere the pairing of the host stands.
  if (index >= PANEL_LOAD && index != PANEL_LEAVE && mode != GAME_FREE) return;
  switch (index) {
    case PANEL_START:
      running = 1 - running;
      if (running) {
        data.TruncateMoves(data.moveIndex);
        lastTick = timeGetTime();
      }
      SetStartLook(running == 1);
      break;
    case PANEL_SAVE: SaveGame(); break;
    case PANEL_LOAD: LoadGame(); break;
    case PANEL_BACK:
      data.StepBack(1);
      result = RESULT_NONE;
      statusText = "";  // it spoke of the stone just taken back
      break;
    case PANEL_FORWARD: data.StepForward(1); break;
    case PANEL_NEW:
      statusText = "";
      data.ClearBoard();
      data.moveIndex = 0;
      result = RESULT_NONE;
      data.sides[0].clock = data.sides[1].clock = 0;
      AiReset();
      break;
    case PANEL_SWAP: {
      const PlayerRecord black = data.sides[0];
      data.sides[0] = data.sides[1];
      data.sides[1] = black;
      data.sides[0].stoneCode = CELL_BLACK;
      data.sides[1].stoneCode = CELL_WHITE;
      NameSideByKind(0);
      NameSideByKind(1);
      for (int i = 0; i < SLIDERS; ++i) PlaceSlider(i);
      break;
    }
    case PANEL_LEAVE:
      data.ClearBoard();
      data.ClearMoves();
      data.moveIndex = 0;
      AiReset();
      exitRequested = 1;
      LeaveScreen();
      break;
    case PANEL_KIND_BLACK:
    case PANEL_KIND_WHITE: {
      const int s = index - PANEL_KIND_BLACK;
      PlayerRecord& rec = data.sides[s];
      rec.kind = (rec.kind + 1) % 3;
      if (rec.kind < 0) rec.kind = PLAYER_HUMAN;
      rec.level = 0;
      rec.style = 0;
      NameSideByKind(s);
      for (int i = 0; i < SLIDERS; ++i) PlaceSlider(i);
      break;
    }
    default: break;
  }
}

void CDlgChessAc::SaveGame() {
  ImagePage* cursor = graphics->cursorPage;
  graphics->cursorPage = nullptr;
  ShowCursor(TRUE);
  host->chessData.SaveGameFile();
  ShowCursor(FALSE);
  graphics->cursorPage = cursor;
}

void CDlgChessAc::LoadGame() {
  CChessData& data = host->chessData;
  ImagePage* cursor = graphics->cursorPage;
  graphics->cursorPage = nullptr;
  ShowCursor(TRUE);
  const int loaded = data.LoadGameFile();
  ShowCursor(FALSE);
  graphics->cursorPage = cursor;
  if (!loaded) return;
  result = RESULT_NONE;
  data.ClearBoard();
  RedrawScreen();
  for (int i = 0; i < MOVE_RECORDS; ++i) {
    const int before = data.moveIndex;
    data.StepForward(1);
    RedrawScreen();
    if (data.moveIndex == before || data.moveIndex >= MOVE_RECORDS ||
        !data.moves[data.moveIndex].used)
      break;
  }
}

void CDlgChessAc::SideAction(int index) {
  CChessData& data = host->chessData;
  if (TitleBarAction(index)) RedrawScreen();
  switch (index) {
    case SIDE_SOUND: OpenSoundSettings(); break;
    case SIDE_BOARD: OpenBoardChoice(); break;
    case SIDE_PORTRAIT_BLACK:
    case SIDE_PORTRAIT_WHITE: {
      const int s = index - SIDE_PORTRAIT_BLACK;
      PlayerRecord& rec = data.sides[s];
      if (mode != GAME_FREE || rec.kind != PLAYER_ROSTER) break;
      rec.rosterId = RosterOrderAt((RosterOrderIndex(rec.rosterId) + 1) % 30);
      SetRosterSide(s);
      RedrawScreen();
      break;
    }
    default: break;
  }
}

void CDlgChessAc::OpenSoundSettings() {
  const bool musicWasOn = sound->channelEnabled[CHANNEL_MUSIC] != 0;
  CDlgSoundSet panel(host);
  GetWindowRect(&panel.placeRect);
  panel.DoModal();
  const bool musicOn = sound->channelEnabled[CHANNEL_MUSIC] != 0;
  if (musicOn == musicWasOn) return;
  if (musicOn)
    sound->PlayMusic(&music, TRUE);
  else
    sound->StopSound(&music);
}

void CDlgChessAc::OpenBoardChoice() {
  const int before = host->chosenBoard;
  CDlgBoardSet panel(host);
  GetWindowRect(&panel.placeRect);
  panel.DoModal();
  if (host->chosenBoard == before) return;
  {
    CClientDC dc(this);
    host->ShowPicture(&dc);
  }
  LoadBoardImage();
  SelectMusicTrack();
  RedrawScreen();
}
