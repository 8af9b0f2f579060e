// Every button of every screen is hit where its sprite is drawn: a click on each corner pixel of
// the sprite chooses it, one pixel outside does not (right and bottom are outside, as in a RECT).
// The rectangles are the pictures' sprite positions, written out here, not taken from the screens.
#include "DlgBoardSet.h"
#include "DlgChessAc.h"
#include "DlgGameMenu.h"
#include "DlgGamePoint.h"
#include "DlgGameSaveLoad.h"
#include "DlgGameStart.h"
#include "DlgGameTable.h"
#include "DlgHow.h"
#include "DlgLicense.h"
#include "DlgMain.h"
#include "DlgSoundSet.h"
#include "DlgTopList.h"
#include "ScreenTestUtil.h"

namespace {

// The button a press and release at `p` chooses, by the screens' own rule.
struct HitRule : CScreen {
  static int Choose(const ScreenButton* buttons, int count, CPoint p) {
    std::vector<ScreenButton> copy(buttons, buttons + count);
    PressButtons(copy.data(), count, p);
    return ReleaseButtons(copy.data(), count, p);
  }
};

const std::vector<CRect> kTitleBar = {{575, 3, 592, 20}, {596, 3, 613, 20}, {617, 3, 634, 20}};

// Button i of `buttons` is drawn over sprites[i] (right and bottom exclusive). Corners that
// fall into another button's sprite as well are left to the screen's order of buttons.
::testing::AssertionResult HitWhereDrawn(const ScreenButton* buttons, int count,
                                         const std::vector<CRect>& sprites) {
  auto inOther = [&](CPoint p, size_t i) {
    for (size_t j = 0; j < sprites.size(); ++j)
      if (j != i && sprites[j].PtInRect(p)) return true;
    return false;
  };
  ::testing::AssertionResult result = ::testing::AssertionSuccess();
  bool ok = true;
  for (size_t i = 0; i < sprites.size(); ++i) {
    const CRect& r = sprites[i];
    for (int corner = 0; corner < 4; ++corner) {
      const bool right = corner & 1, bottom = corner & 2;
      // The edge pixels themselves: PtInRect takes left and top in, right and bottom out.
      const CPoint in(right ? r.right - 1 : r.left, bottom ? r.bottom - 1 : r.top);
      const CPoint out(right ? r.right : r.left - 1, bottom ? r.bottom : r.top - 1);
      if (!inOther(in, i) && HitRule::Choose(buttons, count, in) != int(i))
        ok = false, result << "button " << i << " not chosen at (" << in.x << ", " << in.y << "); ";
      if (HitRule::Choose(buttons, count, out) == int(i))
        ok = false, result << "button " << i << " chosen at (" << out.x << ", " << out.y << "); ";
    }
  }
  return ok ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << result.message();
}

std::vector<CRect> WithTitleBar(std::vector<CRect> rest) {
  rest.insert(rest.begin(), kTitleBar.begin(), kTitleBar.end());
  return rest;
}

class ButtonRectTest : public ScreenTest {
 protected:
  // Opens `screen` over the main menu and checks it once it has laid itself out.
  template <class Screen>
  void Check(UINT id, Screen& screen, const std::function<void(Screen&)>& check) {
    onOpen[id] = [&](CScreen* s, int) {
      check(static_cast<Screen&>(*s));
      s->exitRequested = 1;
      s->EndDialog(0);
    };
    screen.DoModal();
    EXPECT_EQ(opened[id], 1);
  }
  // Runs `body` over the main menu, then closes the program.
  void OverMainMenu(const std::function<void(CTavexDlg&, CDlgMain&)>& body) {
    CTavexDlg host;
    onOpen[IDD_DLG_MAIN] = [&](CScreen* s, int) {
      body(host, *static_cast<CDlgMain*>(s));
      ClickAndPump(kTitleClose.x, kTitleClose.y);
    };
    RunGame(host);
    EXPECT_EQ(opened[IDD_DLG_MAIN], 1);
  }
};

TEST_F(ButtonRectTest, MainMenu) {
  OverMainMenu([](CTavexDlg&, CDlgMain& menu) {
    EXPECT_TRUE(HitWhereDrawn(menu.items, MAIN_ITEMS,
                              {{151, 212, 302, 263},
                               {61, 261, 302, 312},
                               {155, 399, 256, 450},
                               {299, 167, 537, 218},
                               {345, 211, 537, 262},
                               {392, 257, 537, 308},
                               {346, 306, 537, 357},
                               {300, 353, 537, 404},
                               {346, 399, 537, 450}}));
    EXPECT_TRUE(HitWhereDrawn(menu.TitleBarButtons, MAIN_TITLE_BUTTONS,
                              WithTitleBar({{589, 431, 625, 467}})));
  });
}

TEST_F(ButtonRectTest, GameMenuSaveSlotsTableStandingsAndLadderRound) {
  OverMainMenu([this](CTavexDlg& host, CDlgMain&) {
    CDlgGameMenu menu(&host);
    Check<CDlgGameMenu>(IDD_DLG_GAMEMENU, menu, [](CDlgGameMenu& s) {
      EXPECT_TRUE(HitWhereDrawn(
          s.items, 3, {{190, 138, 460, 199}, {190, 200, 460, 261}, {190, 253, 460, 314}}));
      EXPECT_TRUE(HitWhereDrawn(s.TitleBarButtons, TITLE_BUTTONS, kTitleBar));
    });
    std::vector<CRect> slots = WithTitleBar({{272, 326, 320, 374}, {328, 326, 376, 374}});
    for (int s = 0; s < SAVE_SLOTS; ++s)
      slots.push_back(CRect(176, 176 + 24 * s, 461, 198 + 24 * s));
    CDlgGameSaveLoad save(&host);
    Check<CDlgGameSaveLoad>(CDlgGameSaveLoad::IDD, save, [&](CDlgGameSaveLoad& s) {
      EXPECT_TRUE(HitWhereDrawn(s.buttons, SLOT_BUTTONS, slots));
    });
    const std::vector<CRect> playAbandon =
        WithTitleBar({{278, 417, 326, 465}, {334, 417, 382, 465}});
    CDlgGameTable table(&host);
    Check<CDlgGameTable>(IDD_DLG_GAMETABLE, table, [&](CDlgGameTable& s) {
      EXPECT_TRUE(HitWhereDrawn(s.buttons, TABLE_BUTTONS, playAbandon));
    });
    CDlgGameStart round(&host);
    Check<CDlgGameStart>(IDD_DLG_GAMESTART, round, [&](CDlgGameStart& s) {
      EXPECT_TRUE(HitWhereDrawn(s.buttons, START_BUTTONS, playAbandon));
    });
    CDlgGamePoint standings(&host);
    Check<CDlgGamePoint>(IDD_DLG_GAMEPOINT, standings, [](CDlgGamePoint& s) {
      EXPECT_TRUE(HitWhereDrawn(s.buttons, POINT_BUTTONS, WithTitleBar({{298, 417, 346, 465}})));
    });
  });
}

TEST_F(ButtonRectTest, TopTenHowToPlayCertificateAndPanels) {
  OverMainMenu([this](CTavexDlg& host, CDlgMain&) {
    CDlgTopList top(&host);
    Check<CDlgTopList>(CDlgTopList::IDD, top, [](CDlgTopList& s) {
      EXPECT_TRUE(HitWhereDrawn(s.buttons, TOPLIST_BUTTONS,
                                WithTitleBar({{298, 417, 348, 467},
                                              {41, 98, 65, 160},
                                              {34, 170, 58, 232},
                                              {28, 248, 52, 310},
                                              {569, 95, 593, 157},
                                              {576, 167, 600, 229},
                                              {582, 245, 606, 307}})));
    });
    // The rule lines are hit over their whole text, not only the box their mark is drawn in.
    CDlgHow how(&host);
    Check<CDlgHow>(IDD_DLG_HOW, how, [](CDlgHow& s) {
      EXPECT_TRUE(HitWhereDrawn(
          s.buttons, HOW_BUTTONS,
          WithTitleBar({{296, 416, 346, 466}, {134, 127, 258, 152}, {134, 234, 378, 259}})));
    });
    CDlgCertificate cert(&host);
    Check<CDlgCertificate>(CDlgCertificate::IDD, cert, [](CDlgCertificate& s) {
      EXPECT_TRUE(HitWhereDrawn(s.TitleBarButtons, TITLE_BUTTONS, kTitleBar));
    });
    CDlgSoundSet sound(&host);
    Check<CDlgSoundSet>(IDD_DLG_SOUNDSET, sound, [](CDlgSoundSet& s) {
      EXPECT_TRUE(HitWhereDrawn(s.buttons, SOUNDSET_BUTTONS,
                                {{531, 354, 572, 406},
                                 {531, 408, 572, 460},
                                 {583, 354, 624, 406},
                                 {583, 408, 624, 460}}));
    });
    CDlgBoardSet boards(&host);
    Check<CDlgBoardSet>(IDD_DLG_BOARDSET, boards, [](CDlgBoardSet& s) {
      EXPECT_TRUE(HitWhereDrawn(s.buttons, BOARDSET_BUTTONS,
                                {{468, 436, 497, 465},
                                 {499, 436, 528, 465},
                                 {530, 436, 559, 465},
                                 {561, 436, 590, 465},
                                 {592, 436, 621, 465}}));
    });
  });
}

TEST_F(ButtonRectTest, PlayScreen) {
  OverMainMenu([this](CTavexDlg& host, CDlgMain&) {
    CDlgChessAc play(&host);
    play.SetupGame(nullptr, nullptr, GAME_FREE);
    Check<CDlgChessAc>(IDD_DLG_CHESSAC, play, [](CDlgChessAc& s) {
      // The start button is hit only in its middle; the seven small buttons sit around it.
      EXPECT_TRUE(HitWhereDrawn(s.panelButtons, PANEL_BUTTONS,
                                {{58, 188, 122, 252},
                                 {10, 188, 46, 224},
                                 {15, 224, 51, 260},
                                 {37, 255, 73, 291},
                                 {75, 263, 111, 299},
                                 {112, 255, 148, 291},
                                 {134, 224, 170, 260},
                                 {137, 188, 173, 224},
                                 {41, 4, 69, 32},
                                 {41, 297, 69, 325}}));
      EXPECT_TRUE(HitWhereDrawn(s.sideButtons, SIDE_SOUND + 2,
                                WithTitleBar({{545, 442, 577, 477}, {576, 442, 608, 477}})));
    });
  });
}

}  // namespace
