// The play screen: every game of the program, free, tournament or ladder, runs here from the
// first stone to the result, inside the screen's opening handler.
#pragma once
#include <cstdint>

#include "ChessData.h"
#include "Screen.h"

constexpr UINT IDD_DLG_CHESSAC = 103;

// Game modes the host passes to SetupGame; only the free game may edit the sides and the record.
enum { GAME_FREE = 0, GAME_TOURNAMENT_A = 1, GAME_TOURNAMENT_B = 2, GAME_LADDER = 3 };

// How a game ended: a win is the winning side's index (0 black, 1 white).
enum { RESULT_NONE = -1, RESULT_BLACK_WON = 0, RESULT_WHITE_WON = 1, RESULT_DRAW = 2 };

enum {
  PANEL_START = 0,
  PANEL_SAVE = 1,
  PANEL_LOAD = 2,
  PANEL_BACK = 3,
  PANEL_FORWARD = 4,
  PANEL_NEW = 5,
  PANEL_SWAP = 6,
  PANEL_LEAVE = 7,
  PANEL_KIND_BLACK = 8,
  PANEL_KIND_WHITE = 9,
  PANEL_BUTTONS = 10,
};

// The title bar first, as on every screen.
enum {
  SIDE_FULLSCREEN = TITLE_FULLSCREEN,
  SIDE_MINIMIZE = TITLE_MINIMIZE,
  SIDE_CLOSE = TITLE_CLOSE,
  SIDE_SOUND = 3,
  SIDE_BOARD = 4,
  SIDE_PORTRAIT_BLACK = 5,
  SIDE_PORTRAIT_WHITE = 6,
  SIDE_BUTTONS = 7,
};

// Sliders: 2 x side + 0 for the style, + 1 for the level.
enum { SLIDERS = 4 };

constexpr int BOARD_TIMER_ID = 10;
constexpr int THINK_TICK_MS = 250;
constexpr CRect kBoardRect(226, 63, 586, 423);

// The order in which a portrait steps through the roster.
extern const int ROSTER_ORDER[30];

class CDlgChessAc : public CScreen {
 public:
  explicit CDlgChessAc(CTavexDlg* host);
  ~CDlgChessAc() override;

  // Before every showing: null stands for a human side.
  void SetupGame(PlayerRecord* black, PlayerRecord* white, int mode);

  int32_t HiddenMode = 0;
  int32_t mode = GAME_FREE;
  CString statusText;
  uint32_t lastTick = 0;
  CString infoText;
  int32_t result = RESULT_NONE;
  ImagePage playersImage;
  WaveSound music;
  uint32_t lastBlinkTick = 0;
  int32_t clickedCell = -1;
  int32_t running = 0;
  // Non-zero while a think or a foul question waits in a message pump: the record and the
  // engine must not be edited under it.
  int32_t busy = 0;
  ScreenButton sliders[SLIDERS];
  ScreenButton panelButtons[PANEL_BUTTONS];
  ScreenButton sideButtons[SIDE_BUTTONS];
  ImagePage boardImage;

  // Called on every turn of the screen's waiting loops (pump steps, the game-over display, the
  // blinking of the last stone, slider drags); tests script the screen from here.
  static void (*waitHook)(CDlgChessAc* screen);

  void PumpStep();
  static int HitTestBoard(int x, int y);
  void PlaceStone(int cell);
  void ShowGameOver();
  void BlinkLastMove();

  void RedrawScreen();
  void DrawScene();
  void LayoutButtons();
  void DrawSidePanels(ImagePage* page);
  void DrawStones(ImagePage* page);
  void DrawClocks(ImagePage* page);

  void SetRosterSide(int side);
  void PlaceSlider(int i);
  void DragSlider(int i, int x, int y);
  static int RosterOrderIndex(int id);
  static int RosterOrderAt(int i);

  void LoadBoardImage();
  void SelectMusicTrack();

  BOOL DestroyWindow() override;

 protected:
  BOOL OnInitDialog() override;
  void OnMouseMove(UINT flags, CPoint point) override;
  void OnLButtonDown(UINT flags, CPoint point) override;
  void OnLButtonUp(UINT flags, CPoint point) override;
  void OnLButtonDblClk(UINT flags, CPoint point) override;
  void OnRButtonDown(UINT flags, CPoint point) override;
  void OnRButtonUp(UINT flags, CPoint point) override;
  void OnChar(UINT ch, UINT repeat, UINT flags) override;
  void OnTimer(UINT id) override;
  void OnPaint() override;
  void OnSize(UINT type, int cx, int cy) override;
  void OnClose() override;

 private:
  void RunGameLoop();
  void HumanTurn();
  void ComputerTurn(const PlayerRecord& rec, int* info);
  void EndOfGame();
  void ClockStep();
  void Wait();
  // Presents the page for ms or until the left button is reported; true when it was.
  bool PresentFor(uint32_t ms);
  void Present();

  bool Editable() const { return running == 0 && busy == 0; }
  void NameSideByKind(int side);
  void SetStartLook(bool stopLook);
  void PanelAction(int index);
  void SideAction(int index);
  void SaveGame();
  void LoadGame();
  void OpenSoundSettings();
  void OpenBoardChoice();
  int& SliderField(int i);
};
