// The host dialog: owns everything the screens share and runs the program from start-up
// through the main menu loop to the exit.
#pragma once
#include <cstdint>

#include "AiEngine.h"
#include "ChessData.h"
#include "Dialog.h"
#include "DirectDraw.h"
#include "DirectSound.h"
#include "WinString.h"

class CScreen;
class CDlgMain;
class CDlgHow;
class CDlgGameMenu;
class CDlgActiveMovie;
class CDlgChessAc;
class CDlgTopList;
class CDlgGameSaveLoad;
class CDlgGameStart;
class CDlgCertificate;
class CDlgGameTable;
class CDlgGamePoint;
class CDlgInput;

// The main menu's items: the two rule sets, then what it hands back to the host.
enum {
  MENU_FREESTYLE = 0,
  MENU_RENJU = 1,
  MENU_QUIT = 2,
  MENU_FREE_GAME = 3,
  MENU_TOURNAMENT_A = 4,
  MENU_TOURNAMENT_B = 5,
  MENU_LADDER = 6,
  MENU_TOP_LIST = 7,
  MENU_HOW_TO = 8,
};

// The long modes, as the game menu shows them.
enum GameKind : int32_t {
  GAMEKIND_TOURNAMENT_A = 0,
  GAMEKIND_TOURNAMENT_B = 1,
  GAMEKIND_LADDER = 2,
};

// The host's effect sounds, by index.
enum {
  EFFECT_HOVER = 0,
  EFFECT_CLICK = 1,
  EFFECT_PLOP = 2,
  EFFECT_STONE = 3,
  EFFECT_FOUL = 4,
  EFFECT_THREAT = 5,
  EFFECT_COUNT = 6,
};

constexpr int ROSTER_SIZE = 30;
// Cursor shapes, by the index SelectCursor takes.
enum CursorShape {
  CURSOR_NONE = -1,  // no software cursor is drawn
  CURSOR_NORMAL = 0,
  CURSOR_HOVER = 1,  // over a button, or over the board on a human's turn
  CURSOR_PRESSED = 2,
  CURSOR_BUSY = 3,  // the computer is thinking
  CURSOR_SHAPES = 4,
};

// What PickOpponents picks: a tournament's seven, or the four of ladder level l, picked by
// OPPONENTS_LADDER + l.
enum { OPPONENTS_TOURNAMENT_A = 0, OPPONENTS_TOURNAMENT_B = 1, OPPONENTS_LADDER = 2 };

struct Standing {
  int32_t rosterIndex;
  int32_t points;
};

class CTavexDlg : public CDialog {
 public:
  explicit CTavexDlg(CWnd* parent = nullptr);
  ~CTavexDlg() override;

  // Shared game state; screens reach it through their host pointer.
  uint8_t resultMatrix[8][8] = {};
  Standing standings[8] = {};
  PlayerRecord roster[ROSTER_SIZE] = {};
  int32_t chosenBoard = 0;
  ImagePage loadingImage;
  ImagePage cursorPages[CURSOR_SHAPES];
  int32_t fullScreen = 0;
  WaveSound soundEffects[EFFECT_COUNT];
  CChessData chessData;
  int32_t quitRequested = 0;
  CDirectSound directSound;
  CDirectDraw directDraw;
  CString dataPath;

  // The screens, built once at start-up and run again and again.
  CDlgMain* dlgMain = nullptr;
  CDlgHow* dlgHow = nullptr;
  CDlgChessAc* dlgChessAc = nullptr;
  CDlgTopList* dlgTopList = nullptr;
  CDlgGameMenu* dlgGameMenu = nullptr;
  CDlgGameSaveLoad* dlgGameSaveLoad = nullptr;
  CDlgActiveMovie* dlgActiveMovie = nullptr;
  CDlgGameStart* dlgGameStart = nullptr;
  CDlgCertificate* dlgCertificate = nullptr;
  CDlgGameTable* dlgGameTable = nullptr;
  CDlgGamePoint* dlgGamePoint = nullptr;
  CDlgInput* dlgInput = nullptr;

  // Operations the screens use.
  void CollapseWindow();
  void TakeScreenPlace(CWnd* screen);
  int SelectCursor(CursorShape shape);
  // RULES_FREESTYLE or RULES_RENJU: the game record and the engine always change together.
  void SetRuleSet(int rules);
  void ShowPicture(CDC* dc);
  void LoadTopTen();
  void SaveTopTen();
  void InitRoster();
  void PickOpponents(int mode);

  // Used by the start-up and the exit.
  void LoadSoundConfig();
  void SaveSoundConfig();
  void LoadCursors();
  void LoadSoundEffects();

  // The modes of the main menu.
  void RunFreeGame();
  void RunTournament(GameKind kind);
  void RunLadder();
  // After a finished tournament or ladder: a place won in list kind `listKind` of the current
  // rule set is written, the run's slot deleted, and unless the program is closing, the place
  // is named, shown and written again.
  void EnterTopTen(int listKind, uint32_t score);

  BOOL DestroyWindow() override;

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  void OnPaint() override;
  BOOL OnEraseBkgnd(CDC* dc) override;

 private:
  void ConstructScreens();
  void DestroyScreens();
  void ReleaseMedia();
  // One game of a long mode against roster entry `rosterIndex`; the play screen's result.
  int PlayRosterGame(int rosterIndex, bool opponentBlack, int mode);
  // The side that won a game (0 black, 1 white) is the person's.
  bool HumanWon(int gameResult) const;
  void StartModeMusic(const char* name);
  void StopModeMusic();
  bool engineReady = false;
  WaveSound modeMusic;
  // Freed sounds must not be freed again: the music of a long mode is tracked here.
  bool modeMusicLoaded = false;
};
