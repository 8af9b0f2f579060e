// The clock and the reminder windows run headless on an injected clock and tick source: when the
// reminder comes up, how it blinks and goes away, and what the windows draw.
#include <gtest/gtest.h>

#include <SDL.h>

#include "ClockTestUtil.h"
#include "Unit2.h"
#include "timer.h"

namespace {

time_t gNow = 0;
time_t FakeNow() { return gNow; }

int CountColour(SDL_Surface* s, SDL_Rect r, SDL_Color c) {
  int n = 0;
  for (int y = std::max(0, r.y); y < std::min(s->h, r.y + r.h); ++y)
    for (int x = std::max(0, r.x); x < std::min(s->w, r.x + r.w); ++x) {
      Uint8 pr, pg, pb;
      SDL_GetRGB(static_cast<Uint32*>(s->pixels)[y * s->pitch / 4 + x], s->format, &pr, &pg, &pb);
      if (pr == c.r && pg == c.g && pb == c.b) ++n;
    }
  return n;
}

class Clock : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER), 0) << SDL_GetError();
    app = std::make_unique<Application>();
    app->ticks = [this] { return ticks; };
    app->CreateForm(Form1);
    app->CreateForm(Form2);
    Form1->now = FakeNow;
    Form1->longTimeFormat = Required();
    gNow = LocalTime(12, 59, 58);
    Form1->Show();
  }
  void TearDown() override {
    app.reset();
    Form1 = nullptr;
    Form2 = nullptr;
    SDL_Quit();
  }

  // Lets `ms` pass on the tick source, with the wall clock at h:m:s, and runs the loop once.
  void Pass(Uint32 ms, int h, int m, int s) {
    ticks += ms;
    gNow = LocalTime(h, m, s);
    app->Step(0);
  }

  void Push(SDL_Event e) {
    SDL_PushEvent(&e);
    app->Step(0);
  }

  void ClickButton() {
    SDL_Event e{};
    e.button.windowID = SDL_GetWindowID(Form2->Window());
    e.button.button = SDL_BUTTON_LEFT;
    e.button.x = 272 + 70;
    e.button.y = 320 + 25;
    e.type = SDL_MOUSEBUTTONDOWN;
    Push(e);
    e.type = SDL_MOUSEBUTTONUP;
    Push(e);
  }

  Uint32 ticks = 100000;
  std::unique_ptr<Application> app;
};

}  // namespace

TEST_F(Clock, ShowsTheTimeOnStartAndEverySecond) {
  EXPECT_EQ(Form1->Label1->Caption(), "PM 12:59:58");  // activation ran the handler at once
  Pass(999, 12, 59, 59);
  EXPECT_EQ(Form1->Label1->Caption(), "PM 12:59:58");
  Pass(1, 12, 59, 59);
  EXPECT_EQ(Form1->Label1->Caption(), "PM 12:59:59");
  EXPECT_FALSE(Form2->Visible());
}

TEST_F(Clock, RemindsAtAnOddFullHourOnly) {
  Pass(1000, 13, 0, 0);
  EXPECT_EQ(Form1->Label1->Caption(), "PM 01:00:00");
  EXPECT_TRUE(Form2->Visible());
  EXPECT_TRUE(Form2->Active());
  gNow = LocalTime(13, 0, 1);
  ClickButton();
  EXPECT_FALSE(Form2->Visible());

  Pass(1000, 14, 0, 0);  // even hour
  Pass(1000, 12, 0, 0);
  Pass(1000, 0, 0, 0);
  EXPECT_FALSE(Form2->Visible());
  Pass(1000, 1, 0, 0);  // AM 01:00:00
  EXPECT_TRUE(Form2->Visible());
}

TEST_F(Clock, ATickThatSkipsTheSecondMissesTheHour) {
  Pass(1000, 12, 59, 59);
  Pass(1000, 13, 0, 1);
  EXPECT_FALSE(Form2->Visible());
}

TEST_F(Clock, NeverRemindsUnderA24HourLocale) {
  Form1->longTimeFormat = ParseTimeFormat("%H:%M:%S", "", "", "");
  Pass(1000, 13, 0, 0);
  EXPECT_EQ(Form1->Label1->Caption(), "13:00:00");
  EXPECT_FALSE(Form2->Visible());
}

TEST_F(Clock, PuttingTheReminderAwayInTheSameSecondBringsItBack) {
  Pass(1000, 13, 0, 0);
  ASSERT_TRUE(Form2->Visible());
  ClickButton();  // the clock window is activated again and reads the same second
  EXPECT_TRUE(Form2->Visible());

  gNow = LocalTime(13, 0, 1);
  ClickButton();
  EXPECT_FALSE(Form2->Visible());
  EXPECT_TRUE(Form1->Active());
}

TEST_F(Clock, KeysOfTheFocusedButtonPutTheReminderAway) {
  Pass(1000, 15, 0, 0);
  ASSERT_TRUE(Form2->Visible());
  gNow = LocalTime(15, 0, 1);
  SDL_Event e{};
  e.type = SDL_KEYDOWN;
  e.key.keysym.sym = SDLK_SPACE;
  Push(e);
  EXPECT_TRUE(Form2->Visible());  // a button clicks when Space comes up
  e.type = SDL_KEYUP;
  Push(e);
  EXPECT_FALSE(Form2->Visible());

  Pass(1000, 17, 0, 0);
  ASSERT_TRUE(Form2->Visible());
  gNow = LocalTime(17, 0, 1);
  e.type = SDL_KEYDOWN;
  e.key.keysym.sym = SDLK_RETURN;
  Push(e);
  EXPECT_FALSE(Form2->Visible());
}

TEST_F(Clock, ReleasingTheMouseOffTheButtonDoesNotClick) {
  Pass(1000, 13, 0, 0);
  gNow = LocalTime(13, 0, 1);
  SDL_Event e{};
  e.button.windowID = SDL_GetWindowID(Form2->Window());
  e.button.button = SDL_BUTTON_LEFT;
  e.button.x = 300, e.button.y = 340;
  e.type = SDL_MOUSEBUTTONDOWN;
  Push(e);
  EXPECT_TRUE(Form2->BitBtn1->Pressed());
  e.button.x = 10, e.button.y = 10;
  e.type = SDL_MOUSEBUTTONUP;
  Push(e);
  EXPECT_TRUE(Form2->Visible());
}

TEST_F(Clock, MessageBlinksTwiceASecondAlsoWhileHidden) {
  const bool start = Form2->Label1->Visible();
  Pass(500, 12, 59, 58);
  EXPECT_NE(Form2->Label1->Visible(), start);
  Pass(500, 12, 59, 59);
  EXPECT_EQ(Form2->Label1->Visible(), start);
  // Missed ticks are not made up: one long pause is one tick.
  Pass(5000, 12, 59, 59);
  EXPECT_NE(Form2->Label1->Visible(), start);
}

TEST_F(Clock, ShowingTheReminderTogglesTheMessageOnce) {
  Pass(400, 12, 59, 58);  // no blink tick yet
  const bool before = Form2->Label1->Visible();
  Form2->Show();
  EXPECT_NE(Form2->Label1->Visible(), before);
  Form2->Show();  // already active: no second activation
  EXPECT_NE(Form2->Label1->Visible(), before);
}

TEST_F(Clock, ClickOnTheTimeKeepsTheTimersPace) {
  Pass(600, 12, 59, 59);
  SDL_Event e{};
  e.button.windowID = SDL_GetWindowID(Form1->Window());
  e.button.button = SDL_BUTTON_LEFT;
  e.button.x = Form1->Label1->left + 2, e.button.y = 3;
  e.type = SDL_MOUSEBUTTONDOWN;
  Push(e);
  e.type = SDL_MOUSEBUTTONUP;
  Push(e);
  EXPECT_EQ(Form1->Timer1->Interval(), 1000u);
  Pass(400, 12, 59, 59);
  EXPECT_EQ(Form1->Label1->Caption(), "PM 12:59:59");
}

TEST_F(Clock, ClosingTheClockEndsTheProgramClosingTheReminderHidesIt) {
  Pass(1000, 13, 0, 0);
  ASSERT_TRUE(Form2->Visible());
  gNow = LocalTime(13, 0, 1);
  SDL_Event e{};
  e.type = SDL_WINDOWEVENT;
  e.window.event = SDL_WINDOWEVENT_CLOSE;
  e.window.windowID = SDL_GetWindowID(Form2->Window());
  Push(e);
  EXPECT_FALSE(Form2->Visible());
  EXPECT_FALSE(app->Terminated());
  e.window.windowID = SDL_GetWindowID(Form1->Window());
  SDL_PushEvent(&e);
  EXPECT_FALSE(app->Step(0));
}

TEST_F(Clock, WindowsDrawTheirTexts) {
  Form1->Paint();
  SDL_Surface* c1 = Form1->Canvas();
  if (!app->Font(Form1->Label2->font)) GTEST_SKIP() << "no TrueType faces";
  EXPECT_GT(CountColour(c1, Form1->Label2->Bounds(), SDL_Color{0, 0, 255, 255}), 30);
  EXPECT_GT(Form1->Label1->width, 60);  // sized to the time text
  EXPECT_GT(CountColour(c1, Form1->Label1->Bounds(), SDL_Color{0, 0, 0, 255}), 30);

  const SDL_Rect message{0, 152, 652, 160};
  Form2->Label1->SetVisible(true);
  Form2->Paint();
  EXPECT_GT(CountColour(Form2->Canvas(), message, SDL_Color{255, 0, 0, 255}), 5000);
  Form2->Label1->SetVisible(false);
  Form2->Paint();
  EXPECT_EQ(CountColour(Form2->Canvas(), message, SDL_Color{255, 0, 0, 255}), 0);
  // The button lies above the message label.
  EXPECT_GT(CountColour(Form2->Canvas(), Form2->BitBtn1->Bounds(), SDL_Color{212, 208, 200, 255}),
            3000);
}
