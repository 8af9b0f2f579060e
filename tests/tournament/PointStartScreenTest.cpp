// The final standings and the ladder round screen: what they show for given standings and what
// their buttons leave behind.
#include "DlgGamePoint.h"
#include "DlgGameStart.h"
#include "DlgGameTable.h"
#include "TournamentTestUtil.h"

namespace {

class StandingsScreenTest : public TournamentScreenTest {
 protected:
  int LineMismatches(TestHost& host, const ImagePage& pic, int place, const CString& line) {
    const int y = 180 + 77 * place;
    return TextMismatches(host, pic, CRect(210, y, 520, y + 18), [&](CDirectDraw& dd, HDC* dc) {
      dd.TextOutShadow(dc, 220, y, line, RGB(0, 0, 0), RGB(160, 160, 140));
    });
  }

  void SetPoints(TestHost& host, std::initializer_list<int32_t> points) {
    host.PickOpponents(0);
    int p = 0;
    for (int32_t v : points) host.standings[p++].points = v;
  }

  CString OpponentLine(TestHost& host, int p) {
    CString line;
    line.Format("%s 累計積分:%02d", host.roster[host.standings[p].rosterIndex].name,
                int(host.standings[p].points));
    return line;
  }
};

TEST_F(StandingsScreenTest, ThePodiumShowsTheFirstThreeByPointsWithThePlayerNamedPlayer) {
  TestHost host;
  Run(host, [&] {
    ImagePage pic = Picture(host, "img\\gamePoint.bmp");
    SetPoints(host, {8, 4, 6, 2, 10, 0, 6, 4});
    const Standing before[8] = {host.standings[0], host.standings[1], host.standings[2],
                                host.standings[3], host.standings[4], host.standings[5],
                                host.standings[6], host.standings[7]};
    CDlgGamePoint screen(&host);
    onOpen = [&](CScreen*) {
      // Participant 4 with 10, the human with 8, then of the two sixes participant 6 before 2.
      EXPECT_EQ(screen.sortedStandings[0].rosterIndex, host.standings[4].rosterIndex);
      EXPECT_EQ(LineMismatches(host, pic, 0, OpponentLine(host, 4)), 0);
      EXPECT_EQ(LineMismatches(host, pic, 1, "Player 累計積分:08"), 0);
      EXPECT_EQ(LineMismatches(host, pic, 2, OpponentLine(host, 6)), 0);
      EXPECT_EQ(Changed(host, pic, CRect(200, 180 + 77 * 3, 640, 480)), 0)
          << "places 4 to 8 are not written";
      ClickAndPump(kContinueButton.x, kContinueButton.y);
    };
    screen.DoModal();
    EXPECT_EQ(screen.result, 0);
    EXPECT_EQ(screen.exitRequested, 1);
    EXPECT_EQ(host.quitRequested, 0);
    for (int p = 0; p < 8; ++p) {
      EXPECT_EQ(host.standings[p].rosterIndex, before[p].rosterIndex)
          << "the host's standings stay";
      EXPECT_EQ(host.standings[p].points, before[p].points);
    }
    FreeImagePage(&pic);
  });
}

TEST_F(StandingsScreenTest, WithEqualScoresThePlayerComesLastAndIsNotShownAtAnyShowing) {
  TestHost host;
  Run(host, [&] {
    ImagePage pic = Picture(host, "img\\GamePointWorld.bmp");
    SetPoints(host, {7, 7, 7, 7, 7, 7, 7, 7});
    CDlgGamePoint screen(&host);
    screen.tournamentKind = 1;
    onOpen = [&](CScreen*) {
      EXPECT_EQ(screen.sortedStandings[7].rosterIndex, -1);
      for (int i = 0; i < 3; ++i)
        EXPECT_EQ(LineMismatches(host, pic, i, OpponentLine(host, i + 1)), 0) << i;
      ClickAndPump(kContinueButton.x, kContinueButton.y);
    };
    screen.DoModal();
    screen.DoModal();  // sorted afresh from the same standings: the same podium
    EXPECT_EQ(openings, 2);
    EXPECT_TRUE(messages.empty()) << messages.front();
    FreeImagePage(&pic);
  });
}

TEST_F(StandingsScreenTest, APressKeepsTheCursorAndTheCloseButtonQuits) {
  TestHost host;
  Run(host, [&] {
    ImagePage pic = Picture(host, "img\\gamePoint.bmp");
    SetPoints(host, {14, 0, 0, 0, 0, 0, 0, 0});
    CDlgGamePoint screen(&host);
    onOpen = [&](CScreen*) {
      EXPECT_EQ(LineMismatches(host, pic, 0, "Player 累計積分:14"), 0);
      MoveAndPump(kContinueButton.x, kContinueButton.y);
      EXPECT_EQ(host.directDraw.cursorPage, &host.cursorPages[1]);
      PressAndPump(kContinueButton.x, kContinueButton.y);
      EXPECT_EQ(host.directDraw.cursorPage, &host.cursorPages[1]) << "this screen keeps the shape";
      EXPECT_EQ(SpriteMismatches(host, pic, CRect(440, 480, 488, 528), 298, 417, false), 0);
      ReleaseAndPump(20, 300);
      EXPECT_EQ(screen.exitRequested, 0);
      ClickAndPump(kFullScreenButton.x, kFullScreenButton.y);
      EXPECT_EQ(host.fullScreen, 1);
      EXPECT_EQ(SpriteMismatches(host, pic, CRect(18, 510, 35, 527), 575, 3), 0);
      EXPECT_EQ(screen.buttons[TITLE_FULLSCREEN].hoverSrc, CRect(18, 528, 35, 545));
      LeaveFullScreenView(host);
      ClickAndPump(kCloseButton.x, kCloseButton.y);
    };
    screen.DoModal();
    EXPECT_EQ(screen.result, -1);
    EXPECT_EQ(screen.exitRequested, 1);
    EXPECT_EQ(host.quitRequested, 1);
    FreeImagePage(&pic);
  });
}

class LadderScreenTest : public TournamentScreenTest {
 protected:
  static constexpr CRect kWon{0, 480, 48, 527};
  static constexpr CRect kLost{49, 480, 97, 527};
  static constexpr CRect kMarker{99, 480, 179, 514};
  static constexpr CRect kNextPicture{0, 577, 150, 748};
  // The heading left of the score's first digit and above the pass or fail picture, and the
  // part right of the first digit.
  static constexpr CRect kHeading{180, 480, 280, 507};
  static constexpr CRect kHeadingRight{296, 480, 324, 507};
  static constexpr CRect kPass{260, 510, 330, 651};
  static constexpr CRect kFail{331, 510, 401, 651};

  static CRect Digit(int d) {
    const int slot = d == 0 ? 9 : d - 1;
    return CRect(150 + 17 * slot, 677, 166 + 17 * slot, 702);
  }
  static CRect OutcomeArea(int i) { return CRect(220, 130 + 63 * i, 268, 177 + 63 * i); }

  // Plays the outcomes into the standings as the ladder keeps them, with the level's score.
  static void SetOutcomes(TestHost& host, int level, std::initializer_list<int> outcomes) {
    host.PickOpponents(level + 2);
    int i = 0, score = 0;
    for (int o : outcomes) {
      host.standings[++i].points = o;
      score += 2 - o;
    }
    host.standings[0].points = score;
  }
};

TEST_F(LadderScreenTest, BeforeTheFirstGameTheMarkerStandsAtRowZeroAndNoOutcomeIsShown) {
  TestHost host;
  Run(host, [&] {
    ImagePage pic = Picture(host, "img\\gamestart.bmp");
    SetOutcomes(host, 0, {});
    CDlgGameStart screen(&host);
    onOpen = [&](CScreen* s) {
      EXPECT_EQ(PlatformTest::ShownWindow(), s);
      EXPECT_EQ(SpriteMismatches(host, pic, kMarker, 308, 144), 0);
      EXPECT_EQ(SpriteMismatches(host, pic, kNextPicture, 396, 202), 0);
      EXPECT_EQ(SpriteMismatches(host, pic, ladderLevelRects[0], 412, 139), 0);
      for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Changed(host, pic, OutcomeArea(i)), 0) << i;
        // The marker of game 0 covers the right of its stone mark.
        const int markRight = i == 0 ? 564 + 18 : 592 + 29 * (i % 2);
        EXPECT_EQ(SpriteMismatches(host, pic, CRect(564 + 29 * (i % 2), 480, markRight, 509), 290,
                                   148 + 63 * i),
                  0)
            << "stone mark " << i;
        const int k = host.standings[i + 1].rosterIndex;
        EXPECT_EQ(SpriteMismatches(host, pic, ladderPortraitRects[k], 100, 128 + 63 * i, false), 0)
            << "portrait " << i;
        EXPECT_EQ(TextMismatches(host, pic, CRect(140, 127 + 63 * i, 216, 145 + 63 * i),
                                 [&](CDirectDraw& dd, HDC* dc) {
                                   dd.TextOutShadow(dc, 142, 127 + 63 * i, host.roster[k].name,
                                                    RGB(186, 186, 168), RGB(238, 238, 218));
                                 }),
                  0)
            << "name " << i;
      }
      EXPECT_EQ(host.standings[1].rosterIndex, 17);
      ClickAndPump(kPlayButton.x, kPlayButton.y);
    };
    screen.DoModal();
    EXPECT_EQ(screen.result, 0);
    EXPECT_EQ(screen.exitRequested, 1);
    EXPECT_EQ(host.quitRequested, 0);
    FreeImagePage(&pic);
  });
}

TEST_F(LadderScreenTest, DuringALevelThePlayedGamesShowWonOrLostAndADrawNothing) {
  TestHost host;
  Run(host, [&] {
    ImagePage pic = Picture(host, "img\\gamestart.bmp");
    SetOutcomes(host, 6, {LADDER_LOST, LADDER_DRAWN, LADDER_WON});
    CDlgGameStart screen(&host);
    screen.level = 6;
    screen.gameIndex = 3;
    onOpen = [&](CScreen*) {
      EXPECT_EQ(SpriteMismatches(host, pic, CRect(402, 665, 482, 701), 412, 139), 0)
          << "level 6: left column, bottom";
      EXPECT_EQ(SpriteMismatches(host, pic, kLost, 220, 130), 0);
      EXPECT_EQ(Changed(host, pic, OutcomeArea(1)), 0);
      EXPECT_EQ(SpriteMismatches(host, pic, kWon, 220, 130 + 126), 0);
      EXPECT_EQ(Changed(host, pic, OutcomeArea(3)), 0) << "the next game has no outcome yet";
      EXPECT_EQ(SpriteMismatches(host, pic, kMarker, 308, 144 + 63 * 3), 0);
      ClickAndPump(kAbandonButton.x, kAbandonButton.y);
    };
    screen.DoModal();
    EXPECT_EQ(screen.result, -1);
    EXPECT_EQ(screen.exitRequested, 1);
    EXPECT_EQ(host.quitRequested, 0);
    FreeImagePage(&pic);
  });
}

TEST_F(LadderScreenTest, TheSummaryPassesAtFourFailsAtThreeAndWritesTheScoreInDigits) {
  struct Case {
    std::initializer_list<int> outcomes;
    int gameIndex;
    bool pass;
    int digit;
  };
  const Case cases[] = {
      {{LADDER_WON, LADDER_LOST, LADDER_WON, LADDER_LOST}, LADDER_SUMMARY, true, 4},
      {{LADDER_WON, LADDER_DRAWN, LADDER_LOST, LADDER_LOST}, LADDER_SUMMARY, false, 3},
      {{LADDER_WON, LADDER_WON, LADDER_WON, LADDER_WON}, 4, true, 8},  // 4 acts as the summary
      {{LADDER_LOST, LADDER_LOST, LADDER_LOST, LADDER_LOST}, LADDER_SUMMARY, false, 0},
  };
  TestHost host;
  Run(host, [&] {
    ImagePage pic = Picture(host, "img\\gamestart.bmp");
    CDlgGameStart screen(&host);
    screen.level = 11;
    for (const Case& c : cases) {
      SetOutcomes(host, 11, c.outcomes);
      screen.gameIndex = c.gameIndex;
      onOpen = [&](CScreen*) {
        EXPECT_EQ(SpriteMismatches(host, pic, kHeading, 399, 201), 0);
        EXPECT_EQ(SpriteMismatches(host, pic, c.pass ? kPass : kFail, 436, 228), 0)
            << "score " << c.digit;
        EXPECT_NE(SpriteMismatches(host, pic, c.pass ? kFail : kPass, 436, 228), 0);
        EXPECT_EQ(SpriteMismatches(host, pic, Digit(c.digit), 499, 200), 0) << "score " << c.digit;
        EXPECT_EQ(SpriteMismatches(host, pic, kHeadingRight, 515, 201), 0) << "a single digit";
        EXPECT_NE(SpriteMismatches(host, pic, kMarker, 308, 144), 0) << "no marker on the summary";
        int i = 0;
        for (int o : c.outcomes) {
          if (o == LADDER_DRAWN) {
            EXPECT_EQ(Changed(host, pic, OutcomeArea(i)), 0);
          } else {
            EXPECT_EQ(
                SpriteMismatches(host, pic, o == LADDER_WON ? kWon : kLost, 220, 130 + 63 * i), 0)
                << i;
          }
          ++i;
        }
        // On the summary abandon only goes on; the ladder decides by the score.
        ClickAndPump(kAbandonButton.x, kAbandonButton.y);
      };
      screen.DoModal();
      EXPECT_EQ(screen.result, -1);
      EXPECT_EQ(host.quitRequested, 0);
    }
    EXPECT_EQ(openings, 4);
    FreeImagePage(&pic);
  });
}

TEST_F(LadderScreenTest, AScoreWithASignKeepsItsPlaceAndUnknownIndexesDrawNothing) {
  TestHost host;
  Run(host, [&] {
    ImagePage pic = Picture(host, "img\\gamestart.bmp");
    SetOutcomes(host, 3, {});
    host.standings[0].points = -2;
    host.standings[2].rosterIndex = 30;
    host.standings[4].rosterIndex = -1;
    CDlgGameStart screen(&host);
    screen.level = 12;
    screen.gameIndex = LADDER_SUMMARY;
    onOpen = [&](CScreen*) {
      EXPECT_EQ(SpriteMismatches(host, pic, kFail, 436, 228), 0);
      EXPECT_EQ(SpriteMismatches(host, pic, Digit(2), 499 + 16, 200), 0)
          << "the '-' keeps its place";
      EXPECT_EQ(SpriteMismatches(host, pic, CRect(280, 480, 296, 507), 499, 201), 0)
          << "nothing over the heading at 499";
      EXPECT_EQ(Changed(host, pic, CRect(412, 139, 492, 175)), 0) << "no level name for level 12";
      EXPECT_EQ(Changed(host, pic, CRect(100, 191, 220, 237)), 0) << "no portrait and no name";
      EXPECT_EQ(Changed(host, pic, CRect(100, 317, 220, 363)), 0);
      ClickAndPump(kCloseButton.x, kCloseButton.y);
    };
    screen.DoModal();
    EXPECT_EQ(screen.result, -1);
    EXPECT_EQ(screen.exitRequested, 1);
    EXPECT_EQ(host.quitRequested, 1) << "only the close button ends the ladder from the summary";
    FreeImagePage(&pic);
  });
}

TEST_F(LadderScreenTest, PressedButtonsAndTheFullScreenMarkUseTheLadderPicturesSprites) {
  TestHost host;
  Run(host, [&] {
    ImagePage pic = Picture(host, "img\\gamestart.bmp");
    SetOutcomes(host, 1, {LADDER_WON});
    CDlgGameStart screen(&host);
    screen.level = 1;
    screen.gameIndex = 1;
    onOpen = [&](CScreen*) {
      PressAndPump(kPlayButton.x, kPlayButton.y);
      EXPECT_EQ(host.directDraw.cursorPage, &host.cursorPages[2]);
      EXPECT_EQ(SpriteMismatches(host, pic, CRect(98, 528, 146, 576), 278, 417, false), 0);
      ReleaseAndPump(10, 300);
      EXPECT_EQ(screen.exitRequested, 0);
      EXPECT_EQ(screen.buttons[START_PLAY].state, 0);
      PressAndPump(kAbandonButton.x, kAbandonButton.y);
      EXPECT_EQ(SpriteMismatches(host, pic, CRect(147, 528, 195, 576), 334, 417, false), 0);
      ReleaseAndPump(10, 300);
      ClickAndPump(kFullScreenButton.x, kFullScreenButton.y);
      EXPECT_EQ(host.fullScreen, 1);
      EXPECT_EQ(SpriteMismatches(host, pic, CRect(169, 577, 186, 594), 575, 3), 0);
      EXPECT_EQ(screen.buttons[TITLE_FULLSCREEN].hoverSrc, CRect(169, 595, 186, 612));
      LeaveFullScreenView(host);
      ClickAndPump(kPlayButton.x, kPlayButton.y);
    };
    screen.DoModal();
    EXPECT_EQ(screen.result, 0);
    // The next screen starts in the full-screen look the flag keeps.
    onOpen = [&](CScreen*) {
      EXPECT_EQ(screen.buttons[TITLE_FULLSCREEN].hoverSrc, CRect(169, 595, 186, 612));
      EXPECT_EQ(SpriteMismatches(host, pic, CRect(169, 577, 186, 594), 575, 3), 0);
      ClickAndPump(kFullScreenButton.x, kFullScreenButton.y);
      EXPECT_EQ(host.fullScreen, 0);
      PlatformTest::CloseRequest();
      PumpAll();
    };
    screen.DoModal();
    EXPECT_EQ(screen.result, -1) << "a close request abandons";
    EXPECT_EQ(host.quitRequested, 0);
    FreeImagePage(&pic);
  });
}

}  // namespace
