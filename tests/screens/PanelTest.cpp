// The sound and board panels over the screen that opens them.
#include "DlgBoardSet.h"
#include "DlgMain.h"
#include "DlgSoundSet.h"
#include "ScreenTestUtil.h"

namespace {

class PanelTest : public ScreenTest {};

std::vector<uint16_t> PageCopy(CTavexDlg& host) {
  ImagePage page;
  host.directDraw.LockPage(&page, FALSE);
  std::vector<uint16_t> copy(page.pixels, page.pixels + size_t(page.width) * page.height);
  host.directDraw.UnlockPage(FALSE);
  return copy;
}

TEST_F(PanelTest, SoundPanelSwitchesAreKeptAndWrittenAtTheEnd) {
  CTavexDlg host;
  ImagePage panelPic = LoadPicture(host, "img\\SoundSet.bmp");
  std::vector<uint16_t> before;
  onOpen[IDD_DLG_MAIN] = [&](CScreen* s, int) {
    auto* menu = static_cast<CDlgMain*>(s);
    CRect menuRect;
    menu->GetWindowRect(&menuRect);
    before = PageCopy(host);
    ClickAndPump(606, 448);  // the panel opens over the menu and runs until a switch is chosen
    EXPECT_EQ(host.directSound.channelEnabled[CHANNEL_MUSIC], 0);
    EXPECT_EQ(PageCopy(host), before) << "the menu's page is back as it was";
    EXPECT_EQ(PlatformTest::ShownWindow(), menu);
    ClickAndPump(606, 448);
    EXPECT_EQ(host.directSound.channelEnabled[CHANNEL_EFFECTS], 0);
    ClickAndPump(606, 448);
    ClickAndPump(kTitleClose.x, kTitleClose.y);
  };
  onOpen[IDD_DLG_SOUNDSET] = [&](CScreen* s, int count) {
    auto* panel = static_cast<CDlgSoundSet*>(s);
    EXPECT_EQ(PlatformTest::ShownWindow(), panel);
    EXPECT_EQ(PlatformTest::ShownRect(), panel->placeRect) << "exactly over the caller";
    if (count == 0) {
      // Music on and effects on are lit from the start.
      EXPECT_EQ(SpriteMismatches(panelPic, CRect(135, 13, 176, 65), 531, 354), 0);
      EXPECT_EQ(SpriteMismatches(panelPic, CRect(187, 13, 228, 65), 583, 354), 0);
      ClickAndPump(100, 100);  // beside the buttons: nothing happens
      EXPECT_TRUE(panel->IsWindowVisible());
      PlatformTest::MouseButton(VK_LBUTTON, true, 550, 430);  // music off, released elsewhere
      PlatformTest::MouseButton(VK_LBUTTON, false, 600, 430);
      PumpAll();
      EXPECT_TRUE(panel->IsWindowVisible());
      EXPECT_EQ(host.directSound.channelEnabled[CHANNEL_MUSIC], 1);
      ClickAndPump(550, 430);  // music off
    } else if (count == 1) {
      EXPECT_EQ(SpriteMismatches(panelPic, CRect(135, 67, 176, 119), 531, 408), 0)
          << "music off lit";
      ClickAndPump(603, 430);  // effects off
    } else {
      ClickAndPump(550, 380);  // music on again
    }
  };
  RunGame(host);
  EXPECT_EQ(opened[IDD_DLG_SOUNDSET], 3);
  EXPECT_EQ(host.directSound.channelEnabled[CHANNEL_MUSIC], 1);
  const std::vector<uint8_t> cfg = ReadBytes("Sound.cfg");
  ASSERT_EQ(cfg.size(), 8u);
  int32_t effects, music;
  std::memcpy(&effects, cfg.data(), 4);
  std::memcpy(&music, cfg.data() + 4, 4);
  EXPECT_EQ(effects, 0);
  EXPECT_EQ(music, 1);
  FreeImagePage(&panelPic);
}

TEST_F(PanelTest, BoardPanelSetsTheChosenBoardAndEscapeLeavesItAlone) {
  CTavexDlg host;
  ImagePage boardPic = LoadPicture(host, "img\\boardSet.bmp");
  std::vector<int> results;
  onOpen[IDD_DLG_MAIN] = [&](CScreen* s, int) {
    std::vector<uint16_t> before = PageCopy(host);
    for (int run = 0; run < 3; ++run) {
      CDlgBoardSet panel(&host);
      s->GetWindowRect(&panel.placeRect);
      panel.DoModal();
      results.push_back(panel.result);
      EXPECT_EQ(PageCopy(host), before);
    }
    ClickAndPump(kTitleClose.x, kTitleClose.y);
  };
  onOpen[IDD_DLG_BOARDSET] = [&](CScreen* s, int count) {
    auto* panel = static_cast<CDlgBoardSet*>(s);
    // The board in use is lit before anything is clicked.
    const int lit = host.chosenBoard;
    EXPECT_EQ(SpriteMismatches(boardPic, CRect(15 + 31 * lit, 64, 44 + 31 * lit, 93),
                               468 + 31 * lit, 436),
              0);
    if (count == 0) {
      PlatformTest::MouseButton(VK_LBUTTON, true, 575, 450);  // board 3, released on board 4
      PlatformTest::MouseButton(VK_LBUTTON, false, 606, 450);
      PumpAll();
      EXPECT_TRUE(panel->IsWindowVisible());
      ClickAndPump(575, 450);
      EXPECT_EQ(host.chosenBoard, 3);
    } else if (count == 1) {
      // Only the screen's own modal loop knows Escape: leave it to that loop.
      PlatformTest::Key(VK_ESCAPE, true);
      PlatformTest::Key(VK_ESCAPE, false);
    } else {
      ClickAndPump(575, 450);  // the board already in use still ends the panel
    }
  };
  RunGame(host);
  EXPECT_EQ(results, (std::vector<int>{3, -1, 3}));
  EXPECT_EQ(host.chosenBoard, 3);
  FreeImagePage(&boardPic);
}

}  // namespace
