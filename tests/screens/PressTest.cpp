// The press half of the button protocol every screen shares: what a press clicks and drags.
#include "DlgMain.h"
#include "DlgSoundSet.h"
#include "ScreenTestUtil.h"

namespace {

class PressTest : public ScreenTest {
 protected:
  // A press beside every button, held while the pointer moves by (30, -20). Only the pointer's
  // move and the press are handled before the rest comes, so that a drag sees it all.
  static void PressBesideAndMove(int x, int y) {
    PumpAll();
    PlatformTest::MouseButton(VK_LBUTTON, true, x, y);
    PumpAll(2);
    PlatformTest::MouseMove(x + 30, y - 20);
    PlatformTest::MouseButton(VK_LBUTTON, false, x + 30, y - 20);
    PumpAll();
  }
};

TEST_F(PressTest, AButtonClicksAndAPressBesideDragsAScreenButNotAPanel) {
  CTavexDlg host;
  WaveSound* click = &host.soundEffects[EFFECT_CLICK];
  auto clicking = [&] { return host.directSound.GetSoundStatus(click) & DSBSTATUS_PLAYING; };
  bool withSound = false;
  onOpen[IDD_DLG_MAIN] = [&](CScreen* s, int) {
    if (!host.directSound.device) {
      ClickAndPump(kTitleClose.x, kTitleClose.y);
      GTEST_SKIP() << "no sound device";
    }
    withSound = true;
    // A click long enough to be still playing when the press has been handled.
    host.directSound.FreeSound(click);
    ASSERT_TRUE(host.directSound.LoadWave("sound\\S119.wav", click));
    CRect before, after;
    s->GetWindowRect(&before);
    PressBesideAndMove(20, 100);
    s->GetWindowRect(&after);
    before.OffsetRect(30, -20);
    EXPECT_EQ(after, before) << "the menu is dragged";
    EXPECT_FALSE(clicking()) << "no click beside the buttons";
    ClickAndPump(606, 448);  // the sound panel
    ClickAndPump(kTitleClose.x, kTitleClose.y);
  };
  onOpen[IDD_DLG_SOUNDSET] = [&](CScreen* s, int) {
    EXPECT_TRUE(clicking()) << "the press on the menu's button clicked";
    host.directSound.StopSound(click);
    PressBesideAndMove(100, 100);
    EXPECT_EQ(PlatformTest::ShownRect(), static_cast<CDlgSoundSet*>(s)->placeRect)
        << "a panel stays over its caller";
    EXPECT_FALSE(clicking());
    ClickAndPump(550, 430);
  };
  RunGame(host);
  EXPECT_EQ(opened[IDD_DLG_SOUNDSET], withSound ? 1 : 0);
}

}  // namespace
