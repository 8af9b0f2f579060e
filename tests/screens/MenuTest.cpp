// The main menu, the game menu and the how-to-play screen: what their buttons choose and show.
#include "AiEngine.h"
#include "DlgChessAc.h"
#include "DlgGameMenu.h"
#include "DlgGameSaveLoad.h"
#include "DlgHow.h"
#include "DlgMain.h"
#include "DlgTopList.h"
#include "ScreenTestUtil.h"

namespace {

class MenuTest : public ScreenTest {};

TEST_F(MenuTest, RuleSetSwitchesTogetherWithTheEngineOnBothScreensThatHaveIt) {
  CTavexDlg host;
  ImagePage menuPic = LoadPicture(host, "img\\main.bmp");
  ImagePage howPic = LoadPicture(host, "img\\how.bmp");
  const CRect freeMark(0, 480, 151, 531), renjuMark(152, 480, 393, 531);
  onOpen[IDD_DLG_MAIN] = [&](CScreen* s, int count) {
    auto* menu = static_cast<CDlgMain*>(s);
    if (count == 0) {
      EXPECT_EQ(host.chessData.ruleSet, 0);
      EXPECT_EQ(SpriteMismatches(menuPic, freeMark, 151, 212), 0) << "free-style is marked";
      ClickAndPump(180, 290);  // Renju
      EXPECT_EQ(host.chessData.ruleSet, 1);
      EXPECT_EQ(engineRules, 1);
      EXPECT_EQ(menu->result, 1);
      EXPECT_TRUE(menu->IsWindowVisible()) << "a rule-set item never ends the menu";
      PlatformTest::MouseMove(10, 470);  // off the items: the hover look goes
      PumpAll();
      EXPECT_EQ(SpriteMismatches(menuPic, renjuMark, 61, 261), 0) << "Renju is marked";
      EXPECT_NE(SpriteMismatches(menuPic, freeMark, 151, 212), 0);
      ClickAndPump(440, 424);  // how to play
    } else {
      // The how-to screen switched back to free-style; the menu shows it when it opens again.
      EXPECT_EQ(SpriteMismatches(menuPic, freeMark, 151, 212), 0);
      ClickAndPump(kTitleClose.x, kTitleClose.y);
    }
  };
  onOpen[IDD_DLG_HOW] = [&](CScreen* s, int) {
    EXPECT_EQ(SpriteMismatches(howPic, CRect(0, 480, 25, 505), 134, 234), 0) << "Renju is ticked";
    ClickAndPump(220, 300);  // between the lines: nothing but a drag
    EXPECT_EQ(host.chessData.ruleSet, 1);
    ClickAndPump(240, 140);  // the text of the free-style line, not its box
    EXPECT_EQ(host.chessData.ruleSet, 0);
    EXPECT_EQ(engineRules, 0);
    EXPECT_EQ(SpriteMismatches(howPic, CRect(0, 480, 25, 505), 134, 127), 0);
    EXPECT_NE(SpriteMismatches(howPic, CRect(0, 480, 25, 505), 134, 234), 0);
    ClickAndPump(321, 441);  // back
    EXPECT_EQ(s->exitRequested, 1);
    EXPECT_EQ(host.quitRequested, 0);
  };
  RunGame(host);
  EXPECT_EQ(opened[IDD_DLG_MAIN], 2);
  FreeImagePage(&menuPic);
  FreeImagePage(&howPic);
}

TEST_F(MenuTest, HowToPlayEndsOnEscapeWithoutQuittingAndOnItsCloseButtonWithQuitting) {
  CTavexDlg host;
  onOpen[IDD_DLG_MAIN] = [&](CScreen*, int count) {
    EXPECT_LT(count, 2);
    ClickAndPump(440, 424);
  };
  onOpen[IDD_DLG_HOW] = [&](CScreen*, int count) {
    if (count == 0) {
      // Only the screen's own modal loop knows Escape: leave it to that loop.
      PlatformTest::Key(VK_ESCAPE, true);
      PlatformTest::Key(VK_ESCAPE, false);
    } else {
      ClickAndPump(kTitleClose.x, kTitleClose.y);
    }
  };
  RunGame(host);
  EXPECT_EQ(opened[IDD_DLG_HOW], 2);
  EXPECT_EQ(host.quitRequested, 1);
}

TEST_F(MenuTest, MenuItemsChooseOnlyWhenReleasedOverThemselves) {
  CTavexDlg host;
  ImagePage menuPic = LoadPicture(host, "img\\main.bmp");
  onOpen[IDD_DLG_MAIN] = [&](CScreen* s, int count) {
    auto* menu = static_cast<CDlgMain*>(s);
    if (count == 0) {
      PlatformTest::MouseButton(VK_LBUTTON, true, 400, 190);  // free game, held
      PumpAll();
      EXPECT_EQ(menu->items[3].state, 2);
      EXPECT_EQ(SpriteMismatches(menuPic, CRect(0, 688, 238, 739), 299, 167), 0) << "pressed look";
      PlatformTest::MouseButton(VK_LBUTTON, false, 100, 100);  // released elsewhere
      PumpAll();
      EXPECT_EQ(menu->result, -1);
      EXPECT_EQ(menu->items[3].state, 0);
      EXPECT_NE(SpriteMismatches(menuPic, CRect(0, 688, 238, 739), 299, 167), 0)
          << "the sprite goes";
      EXPECT_TRUE(menu->IsWindowVisible());
      ClickAndPump(400, 190);
      EXPECT_EQ(menu->result, MENU_FREE_GAME);
    } else if (count == 1) {
      ClickAndPump(440, 378);  // top-ten lists
      EXPECT_EQ(menu->result, MENU_TOP_LIST);
    } else {
      ClickAndPump(205, 424);
    }
  };
  onOpen[IDD_DLG_CHESSAC] = [&](CScreen*, int) { ClickAndPump(155, 206); };   // leave
  onOpen[CDlgTopList::IDD] = [&](CScreen*, int) { ClickAndPump(323, 442); };  // back
  RunGame(host);
  EXPECT_EQ(opened[IDD_DLG_MAIN], 3);
  EXPECT_EQ(opened[IDD_DLG_CHESSAC], 1);
  EXPECT_EQ(opened[CDlgTopList::IDD], 1);
  FreeImagePage(&menuPic);
}

TEST_F(MenuTest, ALitItemGoesBackToIdleWhenThePointerLeavesIt) {
  CTavexDlg host;
  ImagePage menuPic = LoadPicture(host, "img\\main.bmp");
  struct Case {
    int item;
    CRect rect, hover;  // where the item is drawn, and its lit sprite in the picture
  };
  const Case cases[] = {{MENU_FREE_GAME, {299, 167, 537, 218}, {0, 532, 238, 583}},
                        {MENU_TOURNAMENT_B, {392, 257, 537, 308}, {432, 532, 577, 583}},
                        {MENU_HOW_TO, {346, 399, 537, 450}, {430, 584, 621, 635}}};
  onOpen[IDD_DLG_MAIN] = [&](CScreen* s, int) {
    auto* menu = static_cast<CDlgMain*>(s);
    for (const Case& c : cases) {
      SCOPED_TRACE(c.item);
      PlatformTest::MouseMove((c.rect.left + c.rect.right) / 2, (c.rect.top + c.rect.bottom) / 2);
      PumpAll();
      EXPECT_EQ(menu->items[c.item].state, BUTTON_LIT);
      EXPECT_EQ(SpriteMismatches(menuPic, c.hover, c.rect.left, c.rect.top), 0) << "lit look";
      PlatformTest::MouseMove(10, 470);  // off every item and button
      PumpAll();
      EXPECT_EQ(menu->items[c.item].state, BUTTON_IDLE);
      EXPECT_NE(SpriteMismatches(menuPic, c.hover, c.rect.left, c.rect.top), 0)
          << "the lit look goes";
    }
    ClickAndPump(kTitleClose.x, kTitleClose.y);
  };
  RunGame(host);
  EXPECT_EQ(opened[IDD_DLG_MAIN], 1);
  FreeImagePage(&menuPic);
}

TEST_F(MenuTest, GameMenuOverlapShowsContinuePressedButChoosesBack) {
  CTavexDlg host;
  ImagePage pic = LoadPicture(host, "img\\GameMenu_1.bmp");
  std::vector<int> results;
  onOpen[IDD_DLG_MAIN] = [&](CScreen*, int count) {
    if (count < 3)
      ClickAndPump(460, 282);  // tournament B
    else
      ClickAndPump(205, 424);
  };
  onOpen[IDD_DLG_GAMEMENU] = [&](CScreen* s, int count) {
    auto* menu = static_cast<CDlgGameMenu*>(s);
    EXPECT_EQ(menu->gameKind, 1);
    if (count == 0) {
      // A second move inside an item already lit still shows the button cursor.
      PlatformTest::MouseMove(300, 160);
      PumpAll();
      PlatformTest::MouseMove(305, 162);
      PumpAll();
      EXPECT_EQ(menu->items[0].state, 1);
      EXPECT_EQ(host.directDraw.cursorPage, &host.cursorPages[1]) << "still over a button";
      PlatformTest::MouseButton(VK_LBUTTON, true, 300, 256);  // rows 253..260 belong to both
      PumpAll();
      EXPECT_EQ(menu->items[1].state, 2);
      EXPECT_EQ(menu->items[2].state, 2);
      EXPECT_EQ(SpriteMismatches(pic, CRect(271, 542, 541, 603), 190, 200), 0)
          << "continue looks pressed";
      PlatformTest::MouseButton(VK_LBUTTON, false, 300, 256);
      PumpAll();
      EXPECT_EQ(menu->exitRequested, 1) << "but back is chosen";
    } else if (count == 1) {
      // A release away from the pressed item chooses nothing and the menu stays.
      PlatformTest::MouseButton(VK_LBUTTON, true, 300, 160);
      PlatformTest::MouseButton(VK_LBUTTON, false, 300, 230);
      PumpAll();
      EXPECT_EQ(menu->result, -1);
      EXPECT_EQ(menu->exitRequested, 0);
      EXPECT_TRUE(menu->IsWindowVisible());
      ClickAndPump(300, 230);  // continue
    } else {
      ClickAndPump(300, 160);  // new
    }
    results.push_back(menu->result);
  };
  // New and continue go on to the save slots; cancelling there comes back to the main menu.
  onOpen[CDlgGameSaveLoad::IDD] = [&](CScreen*, int) { ClickAndPump(352, 350); };
  RunGame(host);
  EXPECT_EQ(opened[CDlgGameSaveLoad::IDD], 2);
  EXPECT_EQ(results, (std::vector<int>{-1, 1, 0}));
  // A new or continued tournament B draws its field.
  EXPECT_EQ(host.standings[0].rosterIndex, -1);
  EXPECT_EQ(host.standings[7].rosterIndex, 25);
  FreeImagePage(&pic);
}

}  // namespace
