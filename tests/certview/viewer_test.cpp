// The viewer's window run headless: what it reads, how it answers keys and the mouse, and that
// its box really draws the text.
#include <gtest/gtest.h>

#include <SDL.h>

#include <string>
#include <vector>

#include "MessageBox.h"
#include "QuillanDlg.h"
#include "ViewerTestUtil.h"

namespace {

const std::string kCertificate = "五子棋棋力證書申請  電腦鑑定棋力為[五級!]";
const char8_t kCertificateUtf8[] = u8"五子棋棋力證書申請  電腦鑑定棋力為[五級!]";

SDL_Event Key(SDL_Keycode sym, Uint16 mod = KMOD_NONE) {
  SDL_Event e{};
  e.type = SDL_KEYDOWN;
  e.key.keysym.sym = sym;
  e.key.keysym.mod = mod;
  return e;
}

SDL_Event Mouse(Uint32 type, Uint32 windowId, int x, int y) {
  SDL_Event e{};
  e.type = type;
  e.button.windowID = windowId;
  e.button.button = SDL_BUTTON_LEFT;
  e.button.x = x;
  e.button.y = y;
  return e;
}

// Pixels of `c` inside the edit box's rectangle.
int CountColour(SDL_Surface* s, SDL_Color c) {
  int n = 0;
  const Uint32 want = SDL_MapRGB(s->format, c.r, c.g, c.b);
  for (int y = 10; y < 29; ++y)
    for (int x = 10; x < 470; ++x)
      if ((static_cast<Uint32*>(s->pixels)[y * s->pitch / 4 + x] & 0xFFFFFF) == (want & 0xFFFFFF))
        ++n;
  return n;
}

class Viewer : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError(); }
  void TearDown() override { SDL_Quit(); }

  // Makes and initialises a viewer whose own file is `exePath`; message boxes are recorded.
  std::unique_ptr<CQuillanDlg> Open(const std::string& exePath) {
    auto dlg = std::make_unique<CQuillanDlg>(exePath);
    dlg->messageBox = [this](const std::string& text, const std::string& caption) {
      boxes.push_back(caption + "|" + text);
    };
    EXPECT_TRUE(dlg->Create());
    return dlg;
  }

  TempCwd dir;
  std::vector<std::string> boxes;
};

}  // namespace

TEST_F(Viewer, ShowsTheCertificateOfItsOwnDiskFile) {
  WriteBytes("Quillan.exe", std::string(4096, '\x7F') + Trailer(kCertificate));
  auto dlg = Open("/media/floppy0/Quillan.exe");
  EXPECT_TRUE(boxes.empty());
  EXPECT_TRUE(dlg->Running());
  EXPECT_EQ(dlg->CertText().GetWindowText(), kCertificate);
  EXPECT_EQ(dlg->CertText().GetLength(), 23);  // 18 Chinese characters, 5 ASCII
  // Everything starts selected, as the dialog's first control does.
  EXPECT_EQ(dlg->CertText().SelectedUtf8(), reinterpret_cast<const char*>(kCertificateUtf8));
  EXPECT_TRUE(SDL_GetWindowFlags(dlg->Window()) & SDL_WINDOW_SHOWN);
}

TEST_F(Viewer, AnyNameWorksWhenTheExeFileIsInTheCurrentDirectory) {
  WriteBytes("Cert.exe", Trailer(kCertificate));
  EXPECT_EQ(Open("/elsewhere/Cert")->CertText().GetWindowText(), kCertificate);
  EXPECT_EQ(Open("/elsewhere/Cert.bin")->CertText().GetWindowText(), kCertificate);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(Viewer, MissingFileSaysFileErrorAndShowsAnEmptyBox) {
  WriteBytes("Quillan", Trailer(kCertificate));  // not the ".exe" name it looks for
  auto dlg = Open("/opt/game/Quillan");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], "Quillan|File Error!");
  EXPECT_TRUE(dlg->Running());  // the program runs on until closed
  EXPECT_EQ(dlg->CertText().GetWindowText(), "");
}

TEST_F(Viewer, UndecodableBytesShowAsReplacementCharacters) {
  WriteBytes("Quillan.exe", Trailer("AB\xA4"));  // a lead byte with no trail byte
  auto dlg = Open("Quillan.exe");
  EXPECT_EQ(dlg->CertText().GetLength(), 3);
  EXPECT_EQ(dlg->CertText().SelectedUtf8(), "AB\xEF\xBF\xBD");
}

TEST_F(Viewer, EnterEscapeAndCloseEndTheDialog) {
  WriteBytes("Quillan.exe", Trailer(kCertificate));
  {
    auto dlg = Open("Quillan.exe");
    dlg->HandleEvent(Key(SDLK_a));  // keys the box does not use change nothing
    EXPECT_TRUE(dlg->Running());
    dlg->HandleEvent(Key(SDLK_RETURN));
    EXPECT_FALSE(dlg->Running());
  }
  {
    auto dlg = Open("Quillan.exe");
    dlg->HandleEvent(Key(SDLK_ESCAPE));
    EXPECT_FALSE(dlg->Running());
  }
  {
    auto dlg = Open("Quillan.exe");
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = SDL_WINDOWEVENT_CLOSE;
    e.window.windowID = SDL_GetWindowID(dlg->Window());
    dlg->HandleEvent(e);
    EXPECT_FALSE(dlg->Running());
  }
}

TEST_F(Viewer, KeysAndMouseSelectAndCopyButNeverChangeTheText) {
  WriteBytes("Quillan.exe", Trailer(kCertificate));
  auto dlg = Open("Quillan.exe");
  const CEditBox& box = dlg->CertText();
  const Uint32 id = SDL_GetWindowID(dlg->Window());

  dlg->HandleEvent(Key(SDLK_RIGHT));  // collapses the selection at its end
  EXPECT_EQ(box.SelStart(), box.SelEnd());
  EXPECT_EQ(box.Caret(), 23);
  dlg->HandleEvent(Key(SDLK_HOME));
  dlg->HandleEvent(Key(SDLK_RIGHT, KMOD_LSHIFT));
  dlg->HandleEvent(Key(SDLK_RIGHT, KMOD_LSHIFT));
  EXPECT_EQ(box.SelectedUtf8(), reinterpret_cast<const char*>(u8"五子"));
  dlg->HandleEvent(Key(SDLK_c, KMOD_LCTRL));
  char* clip = SDL_GetClipboardText();
  EXPECT_STREQ(clip, reinterpret_cast<const char*>(u8"五子"));
  SDL_free(clip);

  // Typing and deleting do nothing in a read-only box.
  dlg->HandleEvent(Key(SDLK_BACKSPACE));
  dlg->HandleEvent(Key(SDLK_DELETE));
  EXPECT_EQ(box.GetWindowText(), kCertificate);

  // A press left of the text puts the caret at its start; a drag selects up to the pointer.
  dlg->HandleEvent(Mouse(SDL_MOUSEBUTTONDOWN, id, 11, 15));
  EXPECT_EQ(box.Caret(), 0);
  SDL_Event move{};
  move.type = SDL_MOUSEMOTION;
  move.motion.windowID = id;
  move.motion.x = 470;
  move.motion.y = 15;
  dlg->HandleEvent(move);
  dlg->HandleEvent(Mouse(SDL_MOUSEBUTTONUP, id, 470, 15));
  EXPECT_EQ(box.SelStart(), 0);
  EXPECT_EQ(box.SelEnd(), 23);
}

TEST_F(Viewer, LongTextScrollsToFollowTheCaret) {
  std::string tail(1000, 'W');  // no NUL: the whole tail is the text
  WriteBytes("Quillan.exe", tail);
  auto dlg = Open("Quillan.exe");
  const CEditBox& box = dlg->CertText();
  ASSERT_EQ(box.GetLength(), 1000);
  if (box.TextWidth() == 0) GTEST_SKIP() << "no TrueType face to measure with";
  EXPECT_EQ(box.ScrollX(), 0);
  dlg->HandleEvent(Key(SDLK_END));
  EXPECT_GT(box.ScrollX(), box.TextWidth() - 480);
  dlg->HandleEvent(Key(SDLK_HOME));
  EXPECT_EQ(box.ScrollX(), 0);
}

TEST_F(Viewer, DrawsTheTextSelectedAndThenPlain) {
  WriteBytes("Quillan.exe", Trailer(kCertificate));
  auto dlg = Open("Quillan.exe");
  if (dlg->CertText().TextWidth() == 0) GTEST_SKIP() << "no TrueType face to draw with";
  const SDL_Color selection{10, 36, 106, 255}, white{255, 255, 255, 255}, black{0, 0, 0, 255};
  dlg->Paint();
  EXPECT_GT(CountColour(dlg->Canvas(), selection), 500);
  EXPECT_GT(CountColour(dlg->Canvas(), white), 100);
  EXPECT_EQ(CountColour(dlg->Canvas(), black), 0);

  dlg->HandleEvent(Key(SDLK_END));
  dlg->Paint();
  EXPECT_EQ(CountColour(dlg->Canvas(), selection), 0);
  EXPECT_GT(CountColour(dlg->Canvas(), black), 100);
}

TEST(ViewerMessageBox, AnswersEnterAndPassesAQuitRequestOn) {
  ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);
  SDL_Event e = Key(SDLK_RETURN);
  SDL_PushEvent(&e);
  EXPECT_TRUE(RunMessageBox("File Error!", "Quillan"));

  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  EXPECT_TRUE(RunMessageBox("File Error!", "Quillan"));
  SDL_PumpEvents();
  EXPECT_EQ(SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_QUIT, SDL_QUIT), 1);
  SDL_Quit();
}

TEST_F(Viewer, ModalRunEndsWithTheAnswer) {
  WriteBytes("Quillan.exe", Trailer(kCertificate));
  for (auto [key, result] : {std::pair{SDLK_RETURN, IDOK}, std::pair{SDLK_ESCAPE, IDCANCEL}}) {
    CQuillanDlg dlg("Quillan.exe");
    SDL_Event e = Key(key);
    SDL_PushEvent(&e);
    EXPECT_EQ(dlg.DoModal(), result);
    EXPECT_FALSE(SDL_GetWindowFlags(dlg.Window()) & SDL_WINDOW_SHOWN);
  }
}
