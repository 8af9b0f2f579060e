// The tournament table on screen: marks, names and points for given results, and what its
// buttons leave behind.
#include "DlgGameTable.h"
#include "EngineHost.h"
#include "TournamentTestUtil.h"

namespace {

class TableScreenTest : public TournamentScreenTest {
 protected:
  static constexpr CRect kMarks[5] = {
      {}, {35, 480, 54, 501}, {54, 480, 73, 501}, {73, 480, 92, 501}, {92, 480, 111, 501}};

  static CRect Cell(int p, int q) {
    return CRect(255 + 26 * q, 146 + 26 * p, 274 + 26 * q, 167 + 26 * p);
  }

  int MarkMismatches(TestHost& host, const ImagePage& pic, int p, int q, int code) {
    return SpriteMismatches(host, pic, kMarks[code], 255 + 26 * q, 146 + 26 * p);
  }

  int PointsMismatches(TestHost& host, const ImagePage& pic, int p, const char* text) {
    const CRect rect(463, 146 + 26 * p, 512, 172 + 26 * p);
    return TextMismatches(
        host, pic, CRect(463, rect.top, 512, rect.bottom + 1), [&](CDirectDraw& dd, HDC* dc) {
          dd.DrawTextInRect(dc, text, rect, DT_CENTER, RGB(255, 255, 255), RGB(1, 0, 0));
        });
  }

  int NameMismatches(TestHost& host, const ImagePage& pic, int p, const CString& name,
                     COLORREF shadow) {
    return TextMismatches(host, pic, CRect(140, 146 + 26 * p, 252, 172 + 26 * p),
                          [&](CDirectDraw& dd, HDC* dc) {
                            dd.TextOutShadow(dc, 144, 146 + 26 * p, name, RGB(255, 0, 0), shadow);
                          });
  }
};

TEST_F(TableScreenTest, ANewTournamentShowsRoundZeroPendingNamesAndZeroPointsThenPlays) {
  TestHost host;
  Run(host, [&] {
    ImagePage pic = Picture(host, "img\\gameTable.bmp");
    host.PickOpponents(0);
    host.standings[4].points = 9;  // stale points are replaced by the drawing
    CDlgGameTable table(&host);
    table.round = 0;
    onOpen = [&](CScreen* s) {
      EXPECT_EQ(PlatformTest::ShownWindow(), s);
      for (int p = 0; p < 8; ++p) {
        for (int q = 0; q < 8; ++q) {
          if (q == roundSchedule[p][0]) {
            EXPECT_EQ(MarkMismatches(host, pic, p, q, MATCH_PENDING), 0) << p << "," << q;
          } else {
            EXPECT_EQ(Changed(host, pic, Cell(p, q)), 0) << p << "," << q;
          }
        }
        EXPECT_EQ(PointsMismatches(host, pic, p, "00"), 0) << "row " << p;
        EXPECT_EQ(host.standings[p].points, 0);
      }
      EXPECT_EQ(NameMismatches(host, pic, 0, "PLAYER", RGB(1, 0, 0)), 0);
      for (int p = 1; p < 8; ++p)
        EXPECT_EQ(NameMismatches(host, pic, p, host.roster[host.standings[p].rosterIndex].name, 0),
                  0)
            << p;
      // What is composed is what is presented (away from the cursor).
      EXPECT_EQ(PlatformTest::PresentedPixel(300, 200), Page(host)[200 * 640 + 300]);
      ClickAndPump(kPlayButton.x, kPlayButton.y);
    };
    table.DoModal();
    EXPECT_EQ(openings, 1);
    EXPECT_EQ(table.result, 0);
    EXPECT_EQ(table.exitRequested, 1);
    EXPECT_EQ(host.quitRequested, 0);
    EXPECT_EQ(table.picture.pixels, nullptr) << "the picture is freed when the screen closes";
    FreeImagePage(&pic);
  });
  EXPECT_TRUE(messages.empty()) << messages.front();
}

TEST_F(TableScreenTest, TheNextTableShowsTheRecordedRoundItsPointsAndTheNextPairingsThenAbandons) {
  TestHost host;
  Run(host, [&] {
    ImagePage pic = Picture(host, "img\\GameTableWorld.bmp");
    host.PickOpponents(1);
    CDlgGameTable table(&host);
    table.tournamentKind = 1;
    table.round = 0;
    onOpen = [&](CScreen*) { ClickAndPump(kPlayButton.x, kPlayButton.y); };
    table.DoModal();
    table.RecordResult(MATCH_WON);
    table.round = 1;
    onOpen = [&](CScreen*) {
      EXPECT_EQ(MarkMismatches(host, pic, 0, 1, MATCH_WON), 0);
      EXPECT_EQ(MarkMismatches(host, pic, 1, 0, MATCH_LOST), 0);
      for (auto [p, q] : {std::pair{2, 3}, {4, 5}, {6, 7}}) {
        const int code = host.resultMatrix[p][q];
        EXPECT_EQ(MarkMismatches(host, pic, p, q, code), 0);
        EXPECT_EQ(MarkMismatches(host, pic, q, p, MirrorResult(uint8_t(code))), 0);
      }
      for (int p = 0; p < 8; ++p)
        EXPECT_EQ(MarkMismatches(host, pic, p, roundSchedule[p][1], MATCH_PENDING), 0);
      EXPECT_EQ(PointsMismatches(host, pic, 0, "02"), 0);
      EXPECT_EQ(PointsMismatches(host, pic, 1, "00"), 0);
      for (int p = 0; p < 8; ++p) {
        CString text;
        text.Format("%02d", int(RowPoints(host.resultMatrix[p])));
        EXPECT_EQ(PointsMismatches(host, pic, p, text), 0) << p;
      }
      EXPECT_EQ(host.standings[0].points, 2);
      ClickAndPump(kAbandonButton.x, kAbandonButton.y);
    };
    table.DoModal();
    EXPECT_EQ(table.result, -1);
    EXPECT_EQ(table.exitRequested, 1);
    EXPECT_EQ(host.quitRequested, 0) << "abandoning ends only the tournament";
    FreeImagePage(&pic);
  });
}

TEST_F(TableScreenTest, TheFinalTableMarksNothingPendingAndItsCloseButtonQuits) {
  TestHost host;
  Run(host, [&] {
    ImagePage pic = Picture(host, "img\\gameTable.bmp");
    host.PickOpponents(0);
    CDlgGameTable table(&host);
    for (int r = 0; r < 7; ++r) {
      table.round = r;
      table.MarkRoundPending();
      table.RecordResult(MATCH_DRAW);
    }
    table.round = 7;
    onOpen = [&](CScreen*) {
      for (int p = 0; p < 8; ++p)
        for (int q = 0; q < 8; ++q) {
          const int code = host.resultMatrix[p][q];
          EXPECT_LT(code, int(MATCH_PENDING));
          if (code) {
            EXPECT_EQ(MarkMismatches(host, pic, p, q, code), 0);
          }
        }
      EXPECT_EQ(host.standings[0].points, 7) << "seven draws";
      EXPECT_EQ(PointsMismatches(host, pic, 0, "07"), 0);
      ClickAndPump(kCloseButton.x, kCloseButton.y);
    };
    table.DoModal();
    EXPECT_EQ(table.result, -1);
    EXPECT_EQ(table.exitRequested, 1);
    EXPECT_EQ(host.quitRequested, 1);
    FreeImagePage(&pic);
  });
}

TEST_F(TableScreenTest, DamagedStateDrawsNothingWhereItHasNoMeaning) {
  TestHost host;
  Run(host, [&] {
    ImagePage pic = Picture(host, "img\\gameTable.bmp");
    host.PickOpponents(0);
    host.standings[3].rosterIndex = 77;
    host.standings[5].rosterIndex = -40;
    host.resultMatrix[2][6] = 9;
    host.resultMatrix[6][2] = 200;
    CDlgGameTable table(&host);
    table.round = -1;
    onOpen = [&](CScreen*) {
      EXPECT_EQ(Changed(host, pic, Cell(2, 6)), 0);
      EXPECT_EQ(Changed(host, pic, Cell(6, 2)), 0);
      EXPECT_EQ(Changed(host, pic, Cell(0, 1)), 0) << "no round, nothing pending";
      EXPECT_EQ(Changed(host, pic, CRect(140, 146 + 26 * 3, 252, 172 + 26 * 3)), 0) << "no name";
      EXPECT_EQ(Changed(host, pic, CRect(140, 146 + 26 * 5, 252, 172 + 26 * 5)), 0) << "no name";
      PlatformTest::CloseRequest();
      PumpAll();
    };
    table.DoModal();
    EXPECT_EQ(table.exitRequested, 1);
    EXPECT_EQ(table.result, -1) << "a close request abandons";
    EXPECT_EQ(host.quitRequested, 0) << "and does not end the program";
    FreeImagePage(&pic);
  });
}

TEST_F(TableScreenTest, APressShowsThePressedButtonAndOnlyAReleaseOverItChooses) {
  TestHost host;
  Run(host, [&] {
    ImagePage pic = Picture(host, "img\\gameTable.bmp");
    host.PickOpponents(0);
    CDlgGameTable table(&host);
    onOpen = [&](CScreen*) {
      MoveAndPump(kPlayButton.x, kPlayButton.y);
      EXPECT_EQ(host.directDraw.cursorPage, &host.cursorPages[1]) << "over a button";
      EXPECT_EQ(table.buttons[TABLE_PLAY].state, 0) << "hovering changes no state";
      MoveAndPump(100, 300);
      EXPECT_EQ(host.directDraw.cursorPage, &host.cursorPages[0]);
      PressAndPump(kPlayButton.x, kPlayButton.y);
      EXPECT_EQ(host.directDraw.cursorPage, &host.cursorPages[2]);
      EXPECT_EQ(table.buttons[TABLE_PLAY].state, 1);
      EXPECT_EQ(SpriteMismatches(host, pic, CRect(111, 480, 159, 528), 278, 417, false), 0);
      ReleaseAndPump(kAbandonButton.x, kAbandonButton.y);  // released over the other button
      EXPECT_TRUE(table.IsWindowVisible());
      EXPECT_EQ(table.exitRequested, 0);
      EXPECT_EQ(Changed(host, pic, CRect(278, 417, 382, 465)), 0) << "both buttons idle again";
      // The full-screen button: the mark shows while the view is on; its pressed look follows.
      ClickAndPump(kFullScreenButton.x, kFullScreenButton.y);
      EXPECT_EQ(host.fullScreen, 1);
      EXPECT_EQ(table.buttons[TITLE_FULLSCREEN].hoverSrc, CRect(560, 498, 577, 515));
      EXPECT_EQ(SpriteMismatches(host, pic, CRect(328, 480, 345, 497), 575, 3), 0);
      LeaveFullScreenView(host);
      ClickAndPump(kPlayButton.x, kPlayButton.y);
    };
    table.DoModal();
    EXPECT_EQ(table.result, 0);
    // The next showing opens in the full-screen look and turns it off again.
    onOpen = [&](CScreen*) {
      EXPECT_EQ(table.buttons[TITLE_FULLSCREEN].hoverSrc, CRect(560, 498, 577, 515));
      EXPECT_EQ(SpriteMismatches(host, pic, CRect(328, 480, 345, 497), 575, 3), 0);
      ClickAndPump(kFullScreenButton.x, kFullScreenButton.y);
      EXPECT_EQ(host.fullScreen, 0);
      EXPECT_EQ(table.buttons[TITLE_FULLSCREEN].hoverSrc, CRect(542, 498, 559, 515));
      EXPECT_EQ(Changed(host, pic, CRect(575, 3, 592, 20)), 0);
      ClickAndPump(200, 450);  // on no button: only a drag
      EXPECT_TRUE(table.IsWindowVisible());
      ClickAndPump(kPlayButton.x, kPlayButton.y);
    };
    table.DoModal();
    EXPECT_EQ(table.result, 0);
    FreeImagePage(&pic);
  });
}

TEST_F(TableScreenTest, AMissingPictureIsReportedAndTheTableStillRuns) {
  TestHost host;
  Run(host, [&] {
    ASSERT_EQ(unlink("img/GameTableWorld.bmp"), 0);
    host.PickOpponents(1);
    CDlgGameTable table(&host);
    table.tournamentKind = 5;  // any kind but 0 is tournament B
    onOpen = [&](CScreen*) {
      EXPECT_EQ(table.picture.pixels, nullptr);
      ClickAndPump(kAbandonButton.x, kAbandonButton.y);
    };
    table.DoModal();
    EXPECT_EQ(openings, 1);
    EXPECT_EQ(table.exitRequested, 1);
    EXPECT_EQ(table.result, -1);
    // A second showing with the picture back loads it again.
    WritePicture("img/GameTableWorld.bmp", 528, 2);
    onOpen = [&](CScreen*) {
      EXPECT_NE(table.picture.pixels, nullptr);
      ClickAndPump(kPlayButton.x, kPlayButton.y);
    };
    table.DoModal();
    EXPECT_EQ(table.result, 0);
  });
  ASSERT_FALSE(messages.empty());
  EXPECT_NE(messages.front().find("GameTableWorld"), std::string::npos) << messages.front();
}

}  // namespace
