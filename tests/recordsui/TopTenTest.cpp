// The top-ten file, the lines of the lists, the name entry and the top-ten screen.
#include "DlgInput.h"
#include "DlgTopList.h"
#include "RecordsTestUtil.h"
#include "WinFile.h"

namespace {

using namespace records_test;

constexpr int kTopTenBytes = 3360;
constexpr COLORREF kInk = RGB(0, 0, 0), kInkShadow = RGB(159, 159, 140);

PlayerRecord Entry(const char* name, uint32_t score) {
  PlayerRecord e;
  std::memset(&e, 0, sizeof e);
  std::strncpy(e.name, name, sizeof e.name - 1);
  e.score = score;
  e.newMark = 1;
  return e;
}

CString Line(int column, int kind, const PlayerRecord& e) {
  CString line;
  if (!FormatTopTenLine(column, kind, e, &line)) return CString("(none)");
  return line;
}

class TopTenTest : public RecordsTest {};

TEST_F(TopTenTest, TheFileComesBackByteForByteAndAMissingOrShortFileGivesEmptyPlaces) {
  std::vector<uint8_t> bytes(kTopTenBytes);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint8_t(i * 131 + 7);
  WriteBytes("top10.dat", bytes.data(), bytes.size());
  CTavexDlg host;
  host.LoadTopTen();
  EXPECT_EQ(std::memcmp(host.chessData.topTen, bytes.data(), kTopTenBytes), 0);
  // Where an entry sits: rule set r, list k, place p at 1680 r + 560 k + 56 (p - 1).
  EXPECT_EQ(std::memcmp(&host.chessData.topTen[1][2][3], bytes.data() + 1680 + 1120 + 168, 56), 0);
  remove("top10.dat");
  host.SaveTopTen();
  EXPECT_EQ(ReadBytes("top10.dat"), bytes);

  // A longer file: the first 3360 bytes.
  std::vector<uint8_t> longer = bytes;
  longer.resize(4000, 0xEE);
  WriteBytes("top10.dat", longer.data(), longer.size());
  host.LoadTopTen();
  EXPECT_EQ(std::memcmp(host.chessData.topTen, bytes.data(), kTopTenBytes), 0);

  // A short file: its whole entries, and nothing of the torn one.
  WriteBytes("top10.dat", bytes.data(), 1000);
  host.LoadTopTen();
  const auto* raw = reinterpret_cast<const uint8_t*>(host.chessData.topTen);
  EXPECT_EQ(std::memcmp(raw, bytes.data(), 17 * 56), 0);
  EXPECT_TRUE(std::all_of(raw + 17 * 56, raw + kTopTenBytes, [](uint8_t b) { return b == 0; }));

  remove("top10.dat");
  std::memset(host.chessData.topTen, 0x5A, kTopTenBytes);
  host.LoadTopTen();
  EXPECT_TRUE(std::all_of(raw, raw + kTopTenBytes, [](uint8_t b) { return b == 0; }));

  // A failed write leaves the file as it was.
  WriteBytes("top10.dat", bytes.data(), bytes.size());
  SetWriteLimitForTests(100);
  host.SaveTopTen();
  SetWriteLimitForTests(-1);
  EXPECT_EQ(ReadBytes("top10.dat"), bytes);
}

TEST_F(TopTenTest, LinesShowPointsAndGradesAsEachColumnWritesThem) {
  EXPECT_EQ(Line(0, TOPLIST_TOURNAMENT_A, Entry("Ann", 7)), "Ann  7分");
  EXPECT_EQ(Line(1, TOPLIST_TOURNAMENT_A, Entry("Ann", 7)), "Ann 7分");
  EXPECT_EQ(Line(0, TOPLIST_TOURNAMENT_B, Entry("Ann", 12)), "Ann 12分");
  EXPECT_EQ(Line(1, TOPLIST_TOURNAMENT_B, Entry("Ann", 12)), "Ann 12分");
  EXPECT_EQ(Line(0, TOPLIST_LADDER, Entry("Bo", 1)), "Bo 六級");
  EXPECT_EQ(Line(1, TOPLIST_LADDER, Entry("Bo", 6)), "Bo 一級");
  EXPECT_EQ(Line(0, TOPLIST_LADDER, Entry("Bo", 7)), "Bo 一段");
  EXPECT_EQ(Line(1, TOPLIST_LADDER, Entry("Bo", 12)), "Bo 六段");
  EXPECT_EQ(Line(0, TOPLIST_LADDER, Entry("Bo", 0)), "(none)");
  EXPECT_EQ(Line(0, TOPLIST_LADDER, Entry("Bo", 13)), "(none)");
  PlayerRecord empty = Entry("Cy", 9);
  empty.newMark = 0;
  EXPECT_EQ(Line(0, TOPLIST_TOURNAMENT_A, empty), "(none)");
  // Any mark but 0 holds an entry.
  empty.newMark = 255;
  EXPECT_EQ(Line(0, TOPLIST_TOURNAMENT_A, empty), "Cy  9分");

  // Names from a damaged file: never past the 20 bytes, never half a character.
  PlayerRecord full = Entry("", 3);
  std::memset(full.name, 'A', 20);
  full.newMark = 1;
  EXPECT_EQ(TopTenName(full), "AAAAAAAAAAAAAAAAAAAA");
  EXPECT_EQ(Line(1, TOPLIST_TOURNAMENT_A, full), "AAAAAAAAAAAAAAAAAAAA 3分");
  std::memcpy(full.name, "王小明", 6);
  full.name[18] = 'x';
  full.name[19] = char(0xA4);  // a lead byte whose trail byte would lie beyond the field
  EXPECT_EQ(TopTenName(full).GetLength(), 19);
  EXPECT_EQ(std::string(TopTenName(full)).substr(0, 6), "王小明");
}

TEST_F(TopTenTest, StoredNamesAreCutToNineteenBytesBetweenCharacters) {
  PlayerRecord e = Entry("old name", 1);
  StoreTopTenName(e, "一二三四五六七八九x");  // 19 bytes: kept whole
  EXPECT_STREQ(e.name, "一二三四五六七八九x");
  StoreTopTenName(e, "一二三四五六七八九十");  // 20 bytes: the last character does not fit
  EXPECT_STREQ(e.name, "一二三四五六七八九");
  StoreTopTenName(e, "abcdefghijklmnopqrstuvwxyz");
  EXPECT_STREQ(e.name, "abcdefghijklmnopqrs");
  EXPECT_EQ(e.name[19], 0);
  StoreTopTenName(e, "");
  EXPECT_STREQ(e.name, "");
}

TEST_F(TopTenTest, NameEntryOffersTheLastNameAndFallsBackToPlayer) {
  CTavexDlg host;
  body = [&](CTavexDlg&) {
    CDlgInput input(&host);
    EXPECT_FALSE(input.name.IsEmpty()) << "the computer's name, or Player";

    // Typing replaces the offered name (it starts selected).
    PlatformTest::TypeText("Mei");
    PlatformTest::Key(VK_RETURN, true);
    PlatformTest::Key(VK_RETURN, false);
    input.DoModal();
    EXPECT_EQ(input.name, "Mei");

    // The next showing offers it again; Enter keeps it.
    PlatformTest::Key(VK_RETURN, true);
    PlatformTest::Key(VK_RETURN, false);
    input.DoModal();
    EXPECT_EQ(input.name, "Mei");

    // An emptied field stores Player.
    PlatformTest::Key(VK_BACK, true);
    PlatformTest::Key(VK_BACK, false);
    PlatformTest::Key(VK_RETURN, true);
    PlatformTest::Key(VK_RETURN, false);
    input.DoModal();
    EXPECT_EQ(input.name, "Player");

    // Escape stores Player whatever was typed.
    PlatformTest::TypeText("Zed");
    PlatformTest::Key(VK_ESCAPE, true);
    PlatformTest::Key(VK_ESCAPE, false);
    input.DoModal();
    EXPECT_EQ(input.name, "Player");
  };
  RunInHost(host);
}

// A place won: inserted, named in the name entry, shown in the list, written to the file.
TEST_F(TopTenTest, APlaceWonIsNamedShownAndWritten) {
  CTavexDlg host;
  CDlgTopList list(&host);
  ImagePage pic = LoadPicture(host, "img\\toplist.bmp");
  ASSERT_NE(pic.pixels, nullptr);
  int place = 0;
  onScreen = [&](CScreen* s) {
    ASSERT_EQ(s, &list);
    ParkPointer();
    std::vector<uint16_t> page = Background(pic);
    Sprite(page, pic, CRect(100, 480, 124, 542), 41, 98, true);    // left: tournament A
    Sprite(page, pic, CRect(200, 480, 224, 542), 576, 167, true);  // right: tournament B
    const PlayerRecord* renju = host.chessData.topTen[1][TOPLIST_TOURNAMENT_B];
    for (int i = 0; i < 3; ++i) {
      CString line;
      ASSERT_TRUE(FormatTopTenLine(1, TOPLIST_TOURNAMENT_B, renju[i], &line));
      Text(host, page, 376, 146 + 23 * i, line, kInk, kInkShadow);
    }
    EXPECT_EQ(Mismatches(page, CRect(0, 40, 640, 400)), 0);
    ClickAndPump(323, 442);  // back
  };
  body = [&](CTavexDlg&) {
    host.chessData.ruleSet = 1;
    PlayerRecord* renjuB = host.chessData.topTen[1][TOPLIST_TOURNAMENT_B];
    renjuB[0] = Entry("Kai", 14);
    renjuB[1] = Entry("Lu", 6);
    PlayerRecord entry = Entry("Player", 9);
    place = host.chessData.InsertTopTen(&entry, renjuB);
    ASSERT_EQ(place, 2);
    CDlgInput input(&host);
    // Typed text arrives as UTF-8, whatever the program's own strings are.
    PlatformTest::TypeText(reinterpret_cast<const char*>(u8"林大同"));
    PlatformTest::Key(VK_RETURN, true);
    PlatformTest::Key(VK_RETURN, false);
    input.DoModal();
    StoreTopTenName(renjuB[place - 1], input.name);
    list.renjuList = TOPLIST_TOURNAMENT_B;
    list.DoModal();
    host.SaveTopTen();
  };
  RunInHost(host);
  EXPECT_EQ(host.quitRequested, 1);  // the menu closed the program afterwards
  const std::vector<uint8_t> file = ReadBytes("top10.dat");
  ASSERT_EQ(file.size(), size_t(kTopTenBytes));
  const size_t at = 1680 + 560 + 56 * (place - 1);
  EXPECT_STREQ(reinterpret_cast<const char*>(file.data() + at + 32), "林大同");
  uint32_t score;
  std::memcpy(&score, file.data() + at + 28, 4);
  EXPECT_EQ(score, 9u);
  FreeImagePage(&pic);
}

TEST_F(TopTenTest, TabsChooseTheListOfTheirColumnOnlyWhenReleasedOverThemselves) {
  CTavexDlg host;
  CDlgTopList list(&host);
  ImagePage pic = LoadPicture(host, "img\\toplist.bmp");
  ASSERT_NE(pic.pixels, nullptr);
  const CRect ladderTab(150, 480, 174, 542), tourATab(100, 480, 124, 542);
  auto columnLines = [&](std::vector<uint16_t>& page, int column, int kind) {
    for (int i = 0; i < TOPTEN_PLACES; ++i) {
      CString line;
      if (FormatTopTenLine(column, kind, host.chessData.topTen[column][kind][i], &line))
        Text(host, page, column == 0 ? 123 : 376, 146 + 23 * i, line, kInk, kInkShadow);
    }
  };
  int runs = 0;
  onScreen = [&](CScreen*) {
    ++runs;
    ParkPointer();
    if (runs == 1) {
      // Press the ladder tab, release beside it: still tournament A, the pressed look stays.
      PlatformTest::MouseButton(VK_LBUTTON, true, 40, 280);
      PlatformTest::MouseButton(VK_LBUTTON, false, 200, 280);
      PumpAll();
      EXPECT_EQ(list.freeStyleList, TOPLIST_TOURNAMENT_A);
      ParkPointer();
      std::vector<uint16_t> page = Background(pic);
      Sprite(page, pic, tourATab, 41, 98, true);
      Sprite(page, pic, CRect(175, 480, 199, 542), 569, 95, true);
      Sprite(page, pic, ladderTab, 28, 248, true);
      columnLines(page, 0, TOPLIST_TOURNAMENT_A);
      EXPECT_EQ(Mismatches(page, CRect(0, 40, 320, 400)), 0);

      ClickAndPump(40, 280);
      EXPECT_EQ(list.freeStyleList, TOPLIST_LADDER);
      EXPECT_EQ(list.renjuList, TOPLIST_TOURNAMENT_A);
      ParkPointer();
      page = Background(pic);
      Sprite(page, pic, ladderTab, 28, 248, true);
      columnLines(page, 0, TOPLIST_LADDER);
      // Three places filled, one with a grade out of range: lines at 146 and 169, a gap, 215.
      EXPECT_EQ(Mismatches(page, CRect(0, 40, 320, 400)), 0);
      ClickAndPump(594, 276);  // right column: ladder
      EXPECT_EQ(list.renjuList, TOPLIST_LADDER);
      ClickAndPump(625, 11);  // close
    } else {
      EXPECT_EQ(list.freeStyleList, TOPLIST_LADDER) << "kept from the last showing";
      EXPECT_EQ(list.renjuList, TOPLIST_LADDER);
      PlatformTest::CloseRequest();
      PumpAll();
    }
  };
  body = [&](CTavexDlg&) {
    PlayerRecord* ladder = host.chessData.topTen[0][TOPLIST_LADDER];
    ladder[0] = Entry("Ann", 12);
    ladder[1] = Entry("Bo", 1);
    ladder[2] = Entry("Cy", 13);
    ladder[3] = Entry("Di", 7);
    host.chessData.topTen[0][TOPLIST_TOURNAMENT_A][0] = Entry("Ed", 3);
    list.DoModal();
    EXPECT_EQ(host.quitRequested, 1);
    host.quitRequested = 0;
    list.DoModal();
    EXPECT_EQ(list.exitRequested, 1);
    EXPECT_EQ(host.quitRequested, 0);
  };
  RunInHost(host);
  EXPECT_EQ(runs, 2);
  FreeImagePage(&pic);
}

}  // namespace
