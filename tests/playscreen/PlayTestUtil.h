// Runs the play screen headless under a small host: the same start-up the program does for a
// game (display, sound, cursors, roster, effects, engine), then one showing of the screen,
// scripted from the screen's wait hook.
#pragma once
#include <sys/stat.h>

#include <fstream>

#include "../common/ScreenScript.h"
#include "EngineHost.h"
#include "TavexApp.h"

class PlayHost : public CTavexDlg {
 public:
  int rules = RULES_FREESTYLE;
  PlayerRecord* black = nullptr;
  PlayerRecord* white = nullptr;
  int mode = GAME_FREE;
  // Runs after SetupGame, before the showing.
  std::function<void(CDlgChessAc&)> prepare;
  int32_t finalResult = -2;
  bool engineReady = false;

 protected:
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    if (!directDraw.InitDisplay(640, 480, this, FALSE)) {
      EndDialog(0);
      return TRUE;
    }
    directSound.InitSound();
    LoadCursors();
    InitRoster();
    FreeImagePage(&loadingImage);
    directDraw.LoadImagePage(&loadingImage, dataPath + "img\\Loading.bmp");
    LoadSoundEffects();
    engineReady = AiInit();
    if (engineReady) {
      AiSetRules(rules);
      chessData.ruleSet = rules;
      CDlgChessAc screen(this);
      screen.SetupGame(black, white, mode);
      if (prepare) prepare(screen);
      screen.DoModal();
      finalResult = screen.result;
      AiFree();
    }
    directDraw.ReleaseDisplay();
    EndDialog(0);
    return TRUE;
  }
};

// Centre of cell (r, c) on the screen.
inline CPoint CellPoint(int r, int c) { return CPoint(238 + 24 * c, 75 + 24 * r); }
inline CPoint CellPoint(int cell) { return CellPoint((cell - 128) / 32, (cell - 128) % 32); }

// Centres of the panel's buttons.
constexpr CPoint kStart(90, 220), kSave(28, 206), kLoad(33, 242), kTakeBack(55, 273),
    kForward(93, 281), kNewGame(130, 273), kSwap(152, 242), kLeave(155, 206), kKindBlack(55, 18),
    kKindWhite(55, 311), kPortraitBlack(48, 88), kPortraitWhite(48, 382), kNeutral(178, 150);

inline void Click(CPoint p) { PlatformTest::Click(p.x, p.y); }

// The engine's position is the record's position.
inline ::testing::AssertionResult EngineInStep(const CChessData& data) {
  if (gameStones != data.moveIndex)
    return ::testing::AssertionFailure()
           << "engine " << gameStones << " stones, record " << data.moveIndex;
  for (int r = 0; r < 15; ++r)
    for (int c = 0; c < 15; ++c)
      if (gameBoard[CellAt(r, c)] != data.board[CellAt(r, c)])
        return ::testing::AssertionFailure() << "cell " << r << "," << c << " differs";
  return ::testing::AssertionSuccess();
}

inline int StonesOnBoard(const CChessData& data) {
  int n = 0;
  for (int r = 0; r < 15; ++r)
    for (int c = 0; c < 15; ++c) n += data.board[CellAt(r, c)] != CELL_EMPTY;
  return n;
}

inline PlayerRecord ComputerSide(int level, int style = 4) {
  PlayerRecord r{};
  r.kind = PLAYER_COMPUTER;
  r.level = level;
  r.style = style;
  return r;
}

class PlayTest : public ScreenScriptTest {
 protected:
  // The test's script, run on every wait of the screen.
  std::function<void(CDlgChessAc&)> script;
  // A script of named steps; its progress stays readable after the run.
  using PlayStep = ScriptStep<CDlgChessAc>;
  StepScript<CDlgChessAc> steps;
  void Steps(std::vector<PlayStep> list) {
    steps = {std::move(list), 0};
    script = [this](CDlgChessAc& s) {
      steps(s);
      Step(steps.Awaited());
    };
  }

  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(EnterOwnDir("play", [](const std::string& name) {
      return name == "Sound.cfg" || name == "top10.dat" || name == "save";
    }));
    lastResortSeconds = 240;
    ScreenScriptTest::SetUp();
    // The search pumps this thread's messages, as in the program.
    InstallEngineHostPump();
    current = this;
    CDlgChessAc::waitHook = &PlayTest::Hook;
    savedChooser = EngineHost::ChooseFile;
  }

  void TearDown() override {
    CDlgChessAc::waitHook = nullptr;
    EngineHost::ChooseFile = savedChooser;
    current = nullptr;
    ScreenScriptTest::TearDown();
  }

  void Run(PlayHost& host) {
    if (!Restart()) return;
    host.DoModal();
    ASSERT_TRUE(host.engineReady) << "engine tables";
    EXPECT_TRUE(messages.empty()) << messages.front();
  }

  // The usual end of a scripted game: the game-over display is clicked away, then the screen
  // is left. True when it acted.
  bool gameOverClicked = false;
  bool leavePosted = false;
  bool FinishWhenOver(CDlgChessAc& s) {
    if (s.result == -1) return false;
    if ((s.result == 0 || s.result == 1) && !gameOverClicked) {
      gameOverClicked = true;
      Click(kNeutral);
      return true;
    }
    if (s.running == 0 && s.busy == 0 && !leavePosted) {
      leavePosted = true;
      Click(kLeave);
    }
    return true;
  }
  // The last step of a game played out: the game-over display given way, then the screen left.
  PlayStep Finish(std::string awaits = "the game over and the screen left") {
    return {std::move(awaits), [](CDlgChessAc&) { return false; }, nullptr,
            [this](CDlgChessAc& s) { FinishWhenOver(s); }};
  }
  // The first step of most scripts.
  static PlayStep PressStart() {
    return {"the screen to open", nullptr, [](CDlgChessAc&) { Click(kStart); }};
  }

  // Leaves once, whatever the state.
  void LeaveOnce() {
    if (leavePosted) return;
    leavePosted = true;
    Click(kLeave);
  }

 private:
  static inline PlayTest* current = nullptr;
  bool (*savedChooser)(bool, const char*, std::string&) = nullptr;
  // States already seen do not count as progress: the last stone's blink steps the record
  // back and forth.
  static void Hook(CDlgChessAc* screen) {
    if (!current) return;
    CDlgChessAc& s = *screen;
    if (!current->Stalled() && current->script) current->script(s);
    const CChessData& d = s.host->chessData;
    std::vector<int> state = {d.moveIndex, s.result, s.running, s.busy};
    for (const PlayerRecord& p : d.sides)
      state.insert(state.end(), {p.kind, p.rosterId, p.level, p.style});
    current->Watch(
        state,
        [&] {
          return "the screen stands at move " + std::to_string(d.moveIndex) + ", result " +
                 std::to_string(s.result) + ", running " + std::to_string(s.running) + ", busy " +
                 std::to_string(s.busy) + ", kinds " + std::to_string(d.sides[0].kind) + "/" +
                 std::to_string(d.sides[1].kind);
        },
        screen);
  }
};
