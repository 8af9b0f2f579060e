// The round-robin table of a tournament: the results so far, the points, and the round about
// to be played; also the scoring of the games the human does not play.
#pragma once
#include <cstdint>

#include "Screen.h"

enum : UINT { IDD_DLG_GAMETABLE = 115 };

// Result of participant p against participant q, as kept in the host's resultMatrix[p][q].
enum : uint8_t {
  MATCH_NONE = 0,
  MATCH_WON = 1,
  MATCH_LOST = 2,
  MATCH_DRAW = 3,
  MATCH_PENDING = 4,
};

constexpr int TOURNAMENT_PLAYERS = 8;
constexpr int TOURNAMENT_ROUNDS = 7;

// Whom participant p meets in round r: p XOR (r + 1), a perfect pairing every round.
extern const uint8_t roundSchedule[TOURNAMENT_PLAYERS][TOURNAMENT_ROUNDS];

// The same game seen from the other side: won and lost swap, the rest stays.
uint8_t MirrorResult(uint8_t code);
// One simulated game from one side; MatchCode gives the result code the matrix keeps.
enum PairingOutcome { PAIRING_WON = 0, PAIRING_LOST = 1, PAIRING_DRAWN = 2 };
uint8_t MatchCode(PairingOutcome outcome);
// 2 for each win and 1 for each draw of one row of the result matrix.
int32_t RowPoints(const uint8_t row[TOURNAMENT_PLAYERS]);

// A roster entry's display name (at most its field, without the terminating zero) and level;
// an index outside the roster has no name and counts as level 0.
CString RosterName(const CTavexDlg* host, int rosterIndex);
int RosterLevel(const CTavexDlg* host, int rosterIndex);

enum { TABLE_PLAY = 3, TABLE_ABANDON = 4, TABLE_BUTTONS = 5 };

class CDlgGameTable : public CScreen {
 public:
  explicit CDlgGameTable(CTavexDlg* host);

  int32_t tournamentKind = 0;  // 0 tournament A, anything else tournament B
  int32_t round = 0;           // 0 to 6 the round about to be played, 7 the final table
  RoundChoice result = ROUND_ABANDON;
  // Title bar 0 to 2, then play and abandon; state 1 is pressed.
  ScreenButton buttons[TABLE_BUTTONS];

  void MarkRoundPending();
  // Decides the other pairings of `round`, then enters the human's game.
  void RecordResult(uint8_t humanResult);
  // Participant p's game of `round` from p's side.
  PairingOutcome SimulatePairing(int p);
  void DrawTable();
  void Draw() override { DrawTable(); }

 protected:
  BOOL OnInitDialog() override;
  void OnMouseMove(UINT flags, CPoint point) override;
  void Choose(int button, int item) override;

 private:
  void Layout();
};
