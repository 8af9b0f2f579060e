// The whole program headless, with a play screen whose games end as each test says: the person
// wins, loses, draws, breaks the game off or closes the program.
#pragma once
#include <string>
#include <vector>

#include "DlgChessAc.h"
#include "DlgGameMenu.h"
#include "DlgGamePoint.h"
#include "DlgGameSaveLoad.h"
#include "DlgGameStart.h"
#include "DlgGameTable.h"
#include "DlgLicense.h"
#include "DlgMain.h"
#include "DlgTopList.h"
#include "Roster.h"
#include "ScreenTestUtil.h"

// Page points of the buttons the flows press.
namespace at {
constexpr CPoint kFreeGame(400, 190), kTournamentA(440, 236), kTournamentB(460, 282),
    kLadder(440, 330), kQuit(205, 424), kRenju(180, 290);
constexpr CPoint kNew(300, 160), kContinue(300, 230), kBack(300, 290);
constexpr CPoint kSlotConfirm(296, 350), kSlotCancel(352, 350);
inline CPoint Slot(int s) { return CPoint(300, 187 + 24 * s); }
constexpr CPoint kPlay(302, 441), kAbandon(358, 441);  // the table and the ladder screen
constexpr CPoint kContinueStandings(322, 441);
constexpr CPoint kTopListBack(323, 442);
constexpr CPoint kLeaveGame(155, 206), kStartGame(90, 220);
}  // namespace at

inline void Press(CPoint p) { ClickAndPump(p.x, p.y); }

class GameFlowTest : public ScreenTest {
 protected:
  // One letter a game, in order: W the person wins, L loses, D draw, B broken off (left without
  // a result), Q the program's close button during the game.
  std::string outcomes;
  struct Game {
    int mode;
    int blackKind, whiteKind;
    int opponent;  // roster entry
  };
  std::vector<Game> games;

  void SetUp() override {
    ScreenTest::SetUp();
    onOpen[IDD_DLG_CHESSAC] = [this](CScreen* s, int n) {
      PlayScripted(static_cast<CDlgChessAc*>(s), n);
    };
  }

  void PlayScripted(CDlgChessAc* s, int n) {
    const CChessData& d = s->host->chessData;
    const int human = d.sides[0].kind == PLAYER_HUMAN ? 0 : 1;
    games.push_back({s->mode, d.sides[0].kind, d.sides[1].kind, d.sides[1 - human].rosterId});
    const char o = size_t(n) < outcomes.size() ? outcomes[size_t(n)] : 'B';
    if (o == 'Q') {
      ClickAndPump(kTitleClose.x, kTitleClose.y);
      return;
    }
    s->result = o == 'W' ? human : o == 'L' ? 1 - human : o == 'D' ? 2 : -1;
    Press(at::kLeaveGame);
  }

  // The main menu opens a mode the first `times` times it shows, then quits.
  void MainMenuRuns(CPoint mode, int times = 1, bool renju = false) {
    onOpen[IDD_DLG_MAIN] = [=](CScreen*, int n) {
      if (renju && n == 0) Press(at::kRenju);
      Press(n < times ? mode : at::kQuit);
    };
  }

  static std::vector<uint8_t> TournamentSlot(int32_t round, const Standing (&standings)[8],
                                             const uint8_t (&matrix)[8][8]) {
    std::vector<uint8_t> b(kTournamentSlotBytes);
    std::memcpy(b.data(), &round, 4);
    std::memcpy(b.data() + 4, standings, 64);
    std::memcpy(b.data() + 68, matrix, 64);
    return b;
  }

  static std::vector<uint8_t> LadderSlot(int32_t level, int32_t game,
                                         const Standing (&standings)[8]) {
    std::vector<uint8_t> b(kLadderSlotBytes);
    std::memcpy(b.data(), &level, 4);
    std::memcpy(b.data() + 4, &game, 4);
    std::memcpy(b.data() + 8, standings, 64);
    return b;
  }

  static bool Exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
  }

  // After a close on an end screen: the program ended there, the slot is gone and the result
  // stands first in its free-style list under the default name.
  void ExpectStoredOnClose(const char* slot, int list, uint32_t score) {
    EXPECT_EQ(opened[CDlgTopList::IDD], 0);
    EXPECT_EQ(opened[IDD_DLG_MAIN], 1);
    EXPECT_FALSE(Exists(slot));
    const PlayerRecord e = TopTenEntry(ReadBytes("top10.dat"), 0, list, 0);
    EXPECT_STREQ(e.name, "Player");
    EXPECT_EQ(e.score, score);
  }

  // A top-ten entry as "top10.dat" holds it.
  static PlayerRecord TopTenEntry(const std::vector<uint8_t>& file, int rules, int list,
                                  int place) {
    PlayerRecord r{};
    const size_t offset =
        sizeof(PlayerRecord) * (size_t(rules) * 30 + size_t(list) * 10 + size_t(place));
    if (file.size() >= offset + sizeof r) std::memcpy(&r, file.data() + offset, sizeof r);
    return r;
  }
};
