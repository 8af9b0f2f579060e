// The play screen's picture: clocks, stones, sprites from the board picture.
#include "PlayTestUtil.h"

namespace {

class PlayDrawTest : public PlayTest {};

// Pixels of a keyed sprite that are missing from the page at (x, y).
int Mismatches(CDirectDraw& dd, const ImagePage& pic, const CRect& src, int x, int y) {
  ImagePage page;
  dd.LockPage(&page, FALSE);
  int bad = 0;
  for (int sy = src.top; sy < src.bottom; ++sy)
    for (int sx = src.left; sx < src.right; ++sx) {
      const uint16_t want = pic.pixels[size_t(sy) * pic.width + size_t(sx)];
      if (want == 0) continue;
      const int px = x + sx - src.left, py = y + sy - src.top;
      if (page.pixels[size_t(py) * page.width + size_t(px)] != want) ++bad;
    }
  dd.UnlockPage(FALSE);
  return bad;
}

// The page equals the background over rect.
bool ShowsBackground(CDirectDraw& dd, const ImagePage& pic, const CRect& rect) {
  ImagePage page;
  dd.LockPage(&page, FALSE);
  bool same = true;
  for (int y = rect.top; y < rect.bottom; ++y)
    for (int x = rect.left; x < rect.right; ++x)
      same = same && page.pixels[size_t(y) * page.width + size_t(x)] ==
                         pic.pixels[size_t(y) * pic.width + size_t(x)];
  dd.UnlockPage(FALSE);
  return same;
}

CRect Digit(char ch) {
  const int i = ch == '0' ? 9 : ch - '1';
  return CRect(376 + 16 * i, 660, 392 + 16 * i, 680);
}

TEST_F(PlayDrawTest, ClocksStonesAndLabelsComeFromTheBoardPicture) {
  PlayHost host;
  host.rules = RULES_RENJU;
  bool done = false;
  Steps({{"the screen to open", nullptr, [&](CDlgChessAc& s) {
            done = true;
            CChessData& d = host.chessData;
            CDirectDraw& dd = host.directDraw;
            const ImagePage& pic = s.boardImage;
            ASSERT_GE(pic.height, 986u);
            // 1 hour, 2 minutes, 5 seconds for black; nothing for white.
            d.sides[0].clock = 3725000;
            d.sides[1].clock = 0;
            d.board[CellAt(0, 0)] = CELL_BLACK;
            d.board[CellAt(14, 14)] = CELL_WHITE;
            s.DrawScene();
            const int y = 153;
            EXPECT_EQ(Mismatches(dd, pic, Digit('0'), 13, y), 0);
            EXPECT_EQ(Mismatches(dd, pic, Digit('1'), 29, y), 0);
            EXPECT_EQ(Mismatches(dd, pic, CRect(537, 660, 547, 680), 45, y), 0);
            EXPECT_EQ(Mismatches(dd, pic, Digit('0'), 53, y), 0);
            EXPECT_EQ(Mismatches(dd, pic, Digit('2'), 69, y), 0);
            EXPECT_EQ(Mismatches(dd, pic, Digit('0'), 93, y), 0);
            EXPECT_EQ(Mismatches(dd, pic, Digit('5'), 109, y), 0);
            EXPECT_EQ(Mismatches(dd, pic, CRect(5 * 44 + 2, 483, 5 * 44 + 42, 520), 131, 145), 0)
                << "frame 5";
            // White's clock at 0: frame 0 and no digits.
            EXPECT_EQ(Mismatches(dd, pic, CRect(2, 527, 42, 564), 131, 439), 0);
            EXPECT_TRUE(ShowsBackground(dd, pic, CRect(13, 447, 125, 467)));
            // Stones: black one pixel right of and below white, on the edge cells too.
            EXPECT_EQ(Mismatches(dd, pic, CRect(570, 660, 591, 681), 228, 64), 0);
            EXPECT_EQ(Mismatches(dd, pic, CRect(548, 660, 569, 681), 227 + 24 * 14, 63 + 24 * 14),
                      0);
            EXPECT_EQ(Mismatches(dd, pic, CRect(458, 569, 539, 595), 213, 11), 0) << "Renju label";

            // A hundred hours and more: the first two characters of the hour field.
            d.sides[0].clock = int32_t(123u * 3600u * 1000u);
            s.DrawScene();
            EXPECT_EQ(Mismatches(dd, pic, Digit('1'), 13, y), 0);
            EXPECT_EQ(Mismatches(dd, pic, Digit('2'), 29, y), 0);
            // A clock from a foreign file may be negative: it still draws, as an unsigned count.
            d.sides[1].clock = -1;
            s.DrawScene();

            d.board[CellAt(0, 0)] = CELL_EMPTY;
            d.board[CellAt(14, 14)] = CELL_EMPTY;
            d.sides[0].clock = d.sides[1].clock = 0;
            LeaveOnce();
          }}});
  Run(host);
  EXPECT_TRUE(done);
}

TEST_F(PlayDrawTest, RunningGameShowsTheStopFaceAndTheStatusLineBlinks) {
  PlayHost host;
  CDirectDraw& dd = host.directDraw;
  auto idle = [](CDlgChessAc& s) { return s.panelButtons[PANEL_START].state == 0; };
  Steps({{"the screen to open", nullptr,
          [](CDlgChessAc&) {
            Click(kStart);
            PlatformTest::MouseMove(kNeutral.x, kNeutral.y);  // no highlight over the button
          }},
         {"the game running, its start button idle",
          [&](CDlgChessAc& s) { return s.running && idle(s); },
          [&](CDlgChessAc& s) {
            const ImagePage& pic = s.boardImage;
            s.DrawScene();
            EXPECT_EQ(Mismatches(dd, pic, CRect(382, 823, 564, 949), 1, 175), 0);
            // The status line shows on every second redraw only.
            s.statusText = "[活三]";
            int shown = 0;
            for (int i = 0; i < 4; ++i) {
              s.RedrawScreen();
              ImagePage page;
              dd.LockPage(&page, FALSE);
              bool any = false;
              for (int yy = 450; yy < 467 && !any; ++yy)
                for (int xx = 200; xx < 248 && !any; ++xx)
                  any = page.pixels[size_t(yy) * page.width + size_t(xx)] !=
                        pic.pixels[size_t(yy) * pic.width + size_t(xx)];
              dd.UnlockPage(FALSE);
              shown += any;
            }
            EXPECT_EQ(shown, 2);
            s.statusText = "";
            Click(kStart);
            PlatformTest::MouseMove(kNeutral.x, kNeutral.y);
          }},
         {"the game stopped, its start button idle",
          [&](CDlgChessAc& s) { return !s.running && idle(s); },
          [&](CDlgChessAc& s) {
            s.DrawScene();
            // Between black's clock frame and white's badge, which reach into the dial.
            EXPECT_TRUE(ShowsBackground(dd, s.boardImage, CRect(1, 183, 183, 296)))
                << "stopped: no overlay";
            LeaveOnce();
          }}});
  Run(host);
  EXPECT_TRUE(steps.Finished());
}

}  // namespace
