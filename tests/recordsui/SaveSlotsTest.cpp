// The save slots: file names, what a slot file holds, damaged files, and the slot screen.
#include <sys/stat.h>
#include <utime.h>

#include <ctime>

#include "DlgGameSaveLoad.h"
#include "RecordsTestUtil.h"
#include "WinFile.h"

namespace {

using namespace records_test;

class SaveSlotsTest : public RecordsTest {
 protected:
  // A tournament in progress: the human and seven opponents, some rounds played.
  static void FillTournament(CTavexDlg& host) {
    host.standings[0] = {-1, 5};
    for (int i = 1; i < 8; ++i) host.standings[i] = {i * 4 - 1, i};
    for (int r = 0; r < 8; ++r)
      for (int c = 0; c < 8; ++c) host.resultMatrix[r][c] = uint8_t((r + c) % 5);
  }

  static std::vector<uint8_t> TournamentFile(int32_t round, const Standing (&standings)[8],
                                             uint8_t matrixValue) {
    std::vector<uint8_t> bytes(kTournamentSlotBytes, matrixValue);
    std::memcpy(bytes.data(), &round, 4);
    std::memcpy(bytes.data() + 4, standings, 64);
    return bytes;
  }

  static std::vector<uint8_t> LadderFile(int32_t level, int32_t game,
                                         const Standing (&standings)[8]) {
    std::vector<uint8_t> bytes(kLadderSlotBytes, 0);
    std::memcpy(bytes.data(), &level, 4);
    std::memcpy(bytes.data() + 4, &game, 4);
    std::memcpy(bytes.data() + 8, standings, 64);
    return bytes;
  }
};

TEST_F(SaveSlotsTest, FileNamesFollowRuleSetKindAndSlot) {
  EXPECT_EQ(SaveSlotFileName(0, 0, 0), "save\\00_00_00.sav");
  EXPECT_EQ(SaveSlotFileName(1, 2, 5), "save\\01_02_05.sav");
  EXPECT_EQ(SaveSlotFileName(0, 1, 3), "save\\00_01_03.sav");

  // The screen's file follows the host's rule set, the kind and the selected slot.
  CTavexDlg host;
  CDlgGameSaveLoad slots(&host);
  FillTournament(host);
  slots.saveKind = SAVE_TOURNAMENT_B;
  slots.slot = 3;
  slots.SaveTournament(2);
  host.chessData.ruleSet = 1;
  slots.SaveTournament(4);
  slots.saveKind = SAVE_LADDER;
  slots.slot = 5;
  slots.SaveLadder(1, 0);
  EXPECT_EQ(ListDir("save"),
            (std::vector<std::string>{"00_01_03.sav", "01_01_03.sav", "01_02_05.sav"}));
}

TEST_F(SaveSlotsTest, TournamentAndLadderComeBackAsTheyWereSaved) {
  CTavexDlg host;
  CDlgGameSaveLoad slots(&host);
  FillTournament(host);
  Standing savedStandings[8];
  uint8_t savedMatrix[8][8];
  std::memcpy(savedStandings, host.standings, sizeof savedStandings);
  std::memcpy(savedMatrix, host.resultMatrix, sizeof savedMatrix);

  slots.slot = 2;
  slots.SaveTournament(3);
  const std::vector<uint8_t> file = ReadBytes("save/00_00_02.sav");
  ASSERT_EQ(file.size(), size_t(kTournamentSlotBytes));
  int32_t round;
  std::memcpy(&round, file.data(), 4);
  EXPECT_EQ(round, 3);
  EXPECT_EQ(std::memcmp(file.data() + 4, savedStandings, 64), 0);
  EXPECT_EQ(std::memcmp(file.data() + 68, savedMatrix, 64), 0);

  std::memset(host.standings, 0, sizeof host.standings);
  std::memset(host.resultMatrix, 0, sizeof host.resultMatrix);
  EXPECT_EQ(slots.LoadTournament(), 3);
  EXPECT_EQ(std::memcmp(host.standings, savedStandings, sizeof savedStandings), 0);
  EXPECT_EQ(std::memcmp(host.resultMatrix, savedMatrix, sizeof savedMatrix), 0);

  // Game 2 of level 4: two outcomes played, the score so far.
  slots.saveKind = SAVE_LADDER;
  host.standings[0] = {-1, 2};
  host.standings[1] = {16, 0};
  host.standings[2] = {21, 2};
  host.standings[3] = {13, 0};
  host.standings[4] = {10, 0};
  std::memcpy(savedStandings, host.standings, sizeof savedStandings);
  slots.SaveLadder(4, 2);
  EXPECT_EQ(ReadBytes("save/00_02_02.sav").size(), size_t(kLadderSlotBytes));
  std::memset(host.standings, 0, sizeof host.standings);
  int32_t game = -5;
  EXPECT_EQ(slots.LoadLadder(&game), 4);
  EXPECT_EQ(game, 2);
  EXPECT_EQ(std::memcmp(host.standings, savedStandings, sizeof savedStandings), 0);
}

TEST_F(SaveSlotsTest, DamagedTournamentFilesAreEmptySlotsAndChangeNothing) {
  CTavexDlg host;
  CDlgGameSaveLoad slots(&host);
  Standing good[8] = {{-1, 0}};
  for (int i = 1; i < 8; ++i) good[i] = {29 - i, 0};

  struct Case {
    std::string what;
    std::vector<uint8_t> bytes;
  };
  std::vector<Case> cases;
  cases.push_back({"short", TournamentFile(2, good, 1)});
  cases.back().bytes.resize(100);
  cases.push_back({"long", TournamentFile(2, good, 1)});
  cases.back().bytes.push_back(0);
  cases.push_back({"round 7", TournamentFile(7, good, 1)});
  cases.push_back({"round -1", TournamentFile(-1, good, 1)});
  cases.push_back({"result code 5", TournamentFile(2, good, 5)});
  Standing bad[8];
  // Each opponent's entry is checked, the first and the last as well as one between.
  for (int i : {1, 4, 7}) {
    std::memcpy(bad, good, sizeof bad);
    bad[i].rosterIndex = 30;
    cases.push_back({"roster index 30 at " + std::to_string(i), TournamentFile(2, bad, 1)});
  }
  std::memcpy(bad, good, sizeof bad);
  bad[0].rosterIndex = 3;
  cases.push_back({"human replaced", TournamentFile(2, bad, 1)});
  cases.push_back({"empty", {}});

  for (const Case& c : cases) {
    WriteBytes("save/00_00_00.sav", c.bytes.data(), c.bytes.size());
    FillTournament(host);
    Standing before[8];
    uint8_t matrix[8][8];
    std::memcpy(before, host.standings, sizeof before);
    std::memcpy(matrix, host.resultMatrix, sizeof matrix);
    EXPECT_EQ(slots.LoadTournament(), 0) << c.what;
    EXPECT_EQ(std::memcmp(host.standings, before, sizeof before), 0) << c.what;
    EXPECT_EQ(std::memcmp(host.resultMatrix, matrix, sizeof matrix), 0) << c.what;
  }
  // The accepted edges of the same file do load.
  const std::vector<uint8_t> edge = TournamentFile(6, good, 4);
  WriteBytes("save/00_00_00.sav", edge.data(), edge.size());
  EXPECT_EQ(slots.LoadTournament(), 6);
  EXPECT_EQ(host.resultMatrix[7][7], 4);

  // No file at all: round 0, the host's freshly picked opponents kept.
  RemoveFile("save\\00_00_00.sav");
  FillTournament(host);
  EXPECT_EQ(slots.LoadTournament(), 0);
  EXPECT_EQ(host.standings[7].rosterIndex, 27);
}

TEST_F(SaveSlotsTest, DamagedLadderFilesAreEmptySlotsAndLeaveTheGameAlone) {
  CTavexDlg host;
  CDlgGameSaveLoad slots(&host);
  slots.saveKind = SAVE_LADDER;
  Standing good[8] = {{-1, 3}, {16, 0}, {21, 1}, {13, 2}, {10, 77}};

  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  };
  std::vector<Case> cases;
  cases.push_back({"level 12", LadderFile(12, 3, good)});
  cases.push_back({"level -1", LadderFile(-1, 3, good)});
  cases.push_back({"game 4", LadderFile(4, 4, good)});
  cases.push_back({"short", LadderFile(4, 3, good)});
  cases.back().bytes.resize(71);
  Standing bad[8];
  std::memcpy(bad, good, sizeof bad);
  bad[2].rosterIndex = -1;
  cases.push_back({"opponent -1", LadderFile(4, 3, bad)});
  std::memcpy(bad, good, sizeof bad);
  bad[3].points = 3;
  cases.push_back({"outcome 3 of a played game", LadderFile(4, 3, bad)});

  for (const Case& c : cases) {
    WriteBytes("save/00_02_00.sav", c.bytes.data(), c.bytes.size());
    host.standings[0] = {-1, 0};
    host.standings[1] = {17, 0};
    int32_t game = 7;
    EXPECT_EQ(slots.LoadLadder(&game), 0) << c.what;
    EXPECT_EQ(game, 7) << c.what;
    EXPECT_EQ(host.standings[1].rosterIndex, 17) << c.what;
  }
  // Only played games' outcomes count: game 3 means entries 1 to 3; entry 4 is not yet played.
  const std::vector<uint8_t> ok = LadderFile(11, 3, good);
  WriteBytes("save/00_02_00.sav", ok.data(), ok.size());
  int32_t game = 7;
  EXPECT_EQ(slots.LoadLadder(&game), 11);
  EXPECT_EQ(game, 3);
}

TEST_F(SaveSlotsTest, AFailedSaveKeepsThePreviousSlotWholeAndLeavesNothingBehind) {
  CTavexDlg host;
  CDlgGameSaveLoad slots(&host);
  FillTournament(host);
  slots.SaveTournament(2);
  const std::vector<uint8_t> before = ReadBytes("save/00_00_00.sav");
  SetWriteLimitForTests(40);  // the disk fills up partway through the next save
  slots.SaveTournament(5);
  SetWriteLimitForTests(-1);
  EXPECT_EQ(ReadBytes("save/00_00_00.sav"), before);
  EXPECT_EQ(ListDir("save"), std::vector<std::string>{"00_00_00.sav"});
  EXPECT_EQ(slots.LoadTournament(), 2);

  // Deleting removes the slot; a second delete is harmless.
  slots.DeleteSave();
  EXPECT_FALSE(Exists("save/00_00_00.sav"));
  slots.DeleteSave();

  // Without the directory nothing is written and nothing fails loudly.
  ASSERT_EQ(rmdir("save"), 0);
  slots.SaveLadder(3, 1);
  EXPECT_FALSE(Exists("save"));
  int32_t game = 9;
  EXPECT_EQ(slots.LoadLadder(&game), 0);
  EXPECT_EQ(game, 9);
}

TEST_F(SaveSlotsTest, LabelsShowTheFileDateOrTheEmptySlot) {
  WriteBytes("save/01_02_04.sav", "x", 1);
  struct tm when {};
  when.tm_year = 2001 - 1900;
  when.tm_mon = 2;
  when.tm_mday = 5;
  when.tm_hour = 9;
  when.tm_min = 7;
  when.tm_sec = 2;
  when.tm_isdst = -1;
  const time_t t = mktime(&when);
  struct utimbuf times = {t, t};
  ASSERT_EQ(utime("save/01_02_04.sav", &times), 0);

  EXPECT_EQ(SaveSlotLabel("save\\01_02_04.sav"), "2001年 3月 5日 09:07:02");
  EXPECT_EQ(SaveSlotLabel("save\\01_02_03.sav"), "空白存檔");

  CTavexDlg host;
  CDlgGameSaveLoad slots(&host);
  host.chessData.ruleSet = 1;
  slots.saveKind = SAVE_LADDER;
  slots.RefreshSlotLabels();
  for (int s = 0; s < SAVE_SLOTS; ++s)
    EXPECT_EQ(slots.slotLabels[s], s == 4 ? "2001年 3月 5日 09:07:02" : "空白存檔") << s;
  // A free-style slot of the same number is another file.
  host.chessData.ruleSet = 0;
  slots.RefreshSlotLabels();
  EXPECT_EQ(slots.slotLabels[4], "空白存檔");
}

// The slot screen: what it shows and what its buttons choose.
TEST_F(SaveSlotsTest, SlotScreenSelectsConfirmsAndCancels) {
  WriteBytes("save/00_02_01.sav", "x", 1);
  CTavexDlg host;
  CDlgGameSaveLoad slots(&host);
  ImagePage pic = LoadPicture(host, "img\\GameMenu_2_1.bmp");
  ASSERT_NE(pic.pixels, nullptr);
  const COLORREF lit = RGB(42, 1, 0), litShadow = RGB(147, 98, 58);
  const COLORREF idle = RGB(128, 128, 128), idleShadow = RGB(224, 166, 105);
  // The screen as it should look with `chosen` lit and every other label idle.
  auto expected = [&](int chosen) {
    std::vector<uint16_t> page = Background(pic);
    for (int s = 0; s < SAVE_SLOTS; ++s)
      Text(host, page, 200, 176 + 24 * s, slots.slotLabels[s], s == chosen ? lit : idle,
           s == chosen ? litShadow : idleShadow);
    return page;
  };
  const CRect labels(176, 176, 461, 320);
  int runs = 0;
  onScreen = [&](CScreen* s) {
    ASSERT_EQ(s, &slots);
    ++runs;
    ParkPointer();
    if (runs == 1) {
      EXPECT_EQ(slots.slot, 0);
      EXPECT_EQ(slots.slotLabels[1], SaveSlotLabel("save\\00_02_01.sav"));
      EXPECT_EQ(slots.slotLabels[0], "空白存檔");
      EXPECT_EQ(Mismatches(expected(0), labels), 0) << "the picture of the ladder, slot 0 lit";
      ClickAndPump(300, 187 + 24 * 3);  // the line of slot 3, right of its label
      EXPECT_EQ(slots.slot, 3);
      EXPECT_TRUE(slots.IsWindowVisible()) << "a slot only selects";
      ParkPointer();
      EXPECT_EQ(Mismatches(expected(3), labels), 0);
      // Pressed on slot 4, released beside it: nothing chosen.
      PlatformTest::MouseButton(VK_LBUTTON, true, 300, 187 + 24 * 4);
      PlatformTest::MouseButton(VK_LBUTTON, false, 500, 187 + 24 * 4);
      PumpAll();
      EXPECT_EQ(slots.slot, 3);
      ParkPointer();
      EXPECT_EQ(Mismatches(expected(3), labels), 0);
      // Confirm: its pressed look while held, then the choice.
      PlatformTest::MouseButton(VK_LBUTTON, true, 296, 350);
      PumpAll();
      std::vector<uint16_t> pressed = expected(3);
      Sprite(pressed, pic, CRect(0, 480, 48, 528), 272, 326, false);
      EXPECT_EQ(Mismatches(pressed, CRect(272, 326, 320, 374)), 0);
      PlatformTest::MouseButton(VK_LBUTTON, false, 296, 350);
      PumpAll();
    } else if (runs == 2) {
      EXPECT_EQ(slots.slot, 0) << "every opening starts at slot 0";
      ClickAndPump(300, 187 + 24 * 5);
      ClickAndPump(352, 350);  // cancel
    } else {
      ClickAndPump(625, 11);  // the close button
    }
  };
  body = [&](CTavexDlg&) {
    slots.saveKind = SAVE_LADDER;
    slots.DoModal();
    EXPECT_EQ(slots.result, 0);
    EXPECT_EQ(slots.slot, 3);
    EXPECT_EQ(host.quitRequested, 0);
    slots.DoModal();
    EXPECT_EQ(slots.result, -1);
    EXPECT_EQ(slots.slot, 5) << "cancel leaves the selection as it was";
    EXPECT_EQ(host.quitRequested, 0);
    slots.DoModal();
    EXPECT_EQ(slots.result, -1);
    EXPECT_EQ(host.quitRequested, 1);
  };
  RunInHost(host);
  EXPECT_EQ(runs, 3);
  FreeImagePage(&pic);
}

TEST_F(SaveSlotsTest, SlotScreenShowsThePictureOfItsModeAndEndsOnAWindowClose) {
  CTavexDlg host;
  CDlgGameSaveLoad slots(&host);
  ImagePage pics[SAVE_KINDS] = {LoadPicture(host, "img\\GameMenu_0_1.bmp"),
                                LoadPicture(host, "img\\GameMenu_1_1.bmp"),
                                LoadPicture(host, "img\\GameMenu_2_1.bmp")};
  int kind = 0;
  onScreen = [&](CScreen*) {
    ParkPointer();
    // Above the slot lines, where only the picture shows.
    EXPECT_EQ(Mismatches(Background(pics[kind]), CRect(0, 30, 640, 170)), 0) << kind;
    PlatformTest::CloseRequest();
    PumpAll();
  };
  body = [&](CTavexDlg&) {
    for (kind = 0; kind < SAVE_KINDS; ++kind) {
      slots.saveKind = kind;
      slots.DoModal();
      EXPECT_EQ(slots.result, -1);
      EXPECT_EQ(slots.exitRequested, 1);
    }
    EXPECT_EQ(host.quitRequested, 0);
  };
  RunInHost(host);
  for (auto& p : pics) FreeImagePage(&p);
}

}  // namespace
