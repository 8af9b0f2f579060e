// One level of the grading ladder: the four opponents, the games played so far and the next
// one, or the level's summary with its score and whether it is passed.
#pragma once
#include <cstdint>

#include "Screen.h"

enum : UINT { IDD_DLG_GAMESTART = 113 };

constexpr int LADDER_LEVEL_COUNT = 12;
constexpr int LADDER_GAMES = 4;
// gameIndex of the level's summary, shown after the fourth game.
constexpr int LADDER_SUMMARY = 5;
// The score a level needs to be passed.
constexpr int LADDER_PASS_SCORE = 4;

// Outcomes of the ladder's games as kept in the host's standings[game + 1].points.
enum { LADDER_WON = 0, LADDER_DRAWN = 1, LADDER_LOST = 2 };

// Source rectangles in the picture: the level names and the opponents' portraits by roster entry.
extern const CRect ladderLevelRects[LADDER_LEVEL_COUNT];
extern const CRect ladderPortraitRects[30];

enum { START_PLAY = 3, START_ABANDON = 4, START_BUTTONS = 5 };

class CDlgGameStart : public CScreen {
 public:
  explicit CDlgGameStart(CTavexDlg* host);

  int32_t level = 0;      // 0 to 11
  int32_t gameIndex = 0;  // 0 to 3 the next game, 4 or more the summary
  RoundChoice result = ROUND_ABANDON;
  // Title bar 0 to 2, then play and abandon; state 1 is pressed.
  ScreenButton buttons[START_BUTTONS];

  void DrawRound();
  void Draw() override { DrawRound(); }

 protected:
  BOOL OnInitDialog() override;
  void OnMouseMove(UINT flags, CPoint point) override;
  void Choose(int button, int item) override;

 private:
  void Layout();
};
