// The scripted driver of the headless screen tests: a directory of the test's own, the
// program's message boxes caught, each screen's opening handed to the test, and a watch on the
// script. A script that waits longer than the stall budget for its next step fails the test
// with that step's name and ends the screens (a held button is let go, which ends a window
// drag), instead of hanging until the alarm.
#pragma once
#include <cxxabi.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <typeinfo>
#include <utility>
#include <vector>

#include "AiEngine.h"
#include "DirectDraw.h"
#include "DirectSound.h"
#include "Display.h"
#include "DlgChessAc.h"
#include "GameDirFixture.h"
#include "Platform.h"
#include "Screen.h"
#include "TavexDlg.h"

// One step of a script over a screen that calls it on every wait: it waits until `until` holds
// (no wait when empty), then acts once; `meanwhile` acts on each wait before that.
template <class Screen>
struct ScriptStep {
  std::string awaits;
  std::function<bool(Screen&)> until;
  std::function<void(Screen&)> then;
  std::function<void(Screen&)> meanwhile = nullptr;
};

// Runs steps in order, at most one `then` a call.
template <class Screen>
class StepScript {
 public:
  std::vector<ScriptStep<Screen>> steps;
  size_t done = 0;
  bool Finished() const { return done == steps.size(); }
  // What the script waits for now.
  std::string Awaited() const { return Finished() ? "the screen to close" : steps[done].awaits; }
  void operator()(Screen& s) {
    if (Finished()) return;
    ScriptStep<Screen>& step = steps[done];
    if (!step.until || step.until(s)) {
      ++done;
      if (step.then) step.then(s);
    } else if (step.meanwhile) {
      step.meanwhile(s);
    }
  }
};

// The class of a window, "none" for no window.
inline std::string TypeName(const CWnd* w) {
  if (!w) return "none";
  int status = 0;
  char* name = abi::__cxa_demangle(typeid(*w).name(), nullptr, nullptr, &status);
  std::string out = status == 0 && name ? name : typeid(*w).name();
  std::free(name);
  return out;
}

class ScreenScriptTest : public ::testing::Test {
 protected:
  // A screen that shows no state it has not shown before for this long has stalled.
  static constexpr uint32_t kStallMs = 30000;
  // Only for a stall where no script runs at all.
  unsigned lastResortSeconds = 120;

  std::vector<std::string> messages;
  std::map<UINT, int> opened;  // openings so far, by template number
  std::string gameDir;
  std::string dir;

  // A fresh directory "/tmp/tavex-<tag>-XXXXXX" with every entry of the game directory linked
  // in but those `ownCopy` names; the test runs there.
  void EnterOwnDir(const char* tag, const std::function<bool(const std::string&)>& ownCopy) {
    ASSERT_NO_FATAL_FAILURE(MakeTestDir(tag, gameDir, dir));
    if (ownCopy) {
      ASSERT_NO_FATAL_FAILURE(LinkEntries(gameDir, dir, ownCopy));
    }
  }

  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(EnterTestDir(dir));
    PlatformTest::Reset();
    current = this;
    CScreen::screenOpened = &ScreenScriptTest::Opened;
    oldDdHook = SetDdMessageHook(&ScreenScriptTest::Message);
    oldSoundHook = SoundMessageBox;
    SoundMessageBox = &ScreenScriptTest::Message;
    Step("");
    signal(SIGALRM, &ScreenScriptTest::Alarm);
    alarm(lastResortSeconds);
  }

  void TearDown() override {
    alarm(0);
    signal(SIGALRM, SIG_DFL);
    CScreen::screenOpened = nullptr;
    SetDdMessageHook(oldDdHook);
    SoundMessageBox = oldSoundHook;
    current = nullptr;
    PlatformTest::Reset();
    if (!dir.empty()) RemoveTestDir(gameDir, dir);
  }

  // Names what the script waits for now; a new name is progress. Unnamed, it is the screen
  // after the last one to open.
  void Step(const std::string& what) {
    step = what;
    const std::string shown = Awaited();
    std::snprintf(alarmStep, sizeof alarmStep, "%s", shown.c_str());
  }

  // Runs `modal` (a host's showing) with the watch ticking under it.
  void RunWatched(const std::function<void()>& modal) {
    if (!Restart()) return;
    Ticker ticker(this, modal);
    ticker.DoModal();
  }

  // Each opening of a screen, `count` earlier ones of the same kind before it.
  virtual void ScreenOpened(CScreen*, int /*count*/) {}

  // True once the script stalled: the first time fails the test, naming the step and `where`;
  // from then on the screens are told to end. `state` is what the screen shows now.
  bool Watch(const std::vector<int>& state, const std::function<std::string()>& where,
             CScreen* screen = nullptr) {
    if (stalled) {
      Unstick(screen);
      return true;
    }
    if (seen.insert({state, step}).second) {
      lastNew = RealMs();
      return false;
    }
    if (RealMs() - lastNew < kStallMs) return false;
    stalled = true;
    ADD_FAILURE() << "the script waited " << kStallMs / 1000 << " s for " << Awaited() << "; "
                  << where();
    Unstick(screen);
    return true;
  }
  bool Stalled() const { return stalled; }
  // A new showing; after a stall the test has failed, and it runs no more showings.
  bool Restart() {
    seen.clear();
    lastNew = RealMs();
    return !stalled;
  }

  static ImagePage LoadPicture(CTavexDlg& host, const char* name) {
    ImagePage p;
    host.directDraw.LoadImagePage(&p, name);
    return p;
  }

 private:
  static inline ScreenScriptTest* current = nullptr;
  static inline char alarmStep[256] = "";
  DdMessageHook oldDdHook = nullptr;
  void (*oldSoundHook)(const char*) = nullptr;
  std::string step;
  std::string lastOpened = "the first screen";
  int totalOpenings = 0;
  bool stalled = false;
  std::set<std::pair<std::vector<int>, std::string>> seen;
  uint32_t lastNew = 0;
  uint32_t lastUnstick = 0;

  // The watch keeps real time: a test may drive the program's clock by hand.
  static uint32_t RealMs() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return uint32_t(t.tv_sec * 1000 + t.tv_nsec / 1000000);
  }
  std::string Awaited() const {
    return step.empty() ? "the screen after " + lastOpened + ", or the end" : step;
  }

  // A hidden window whose timer ticks the watch in whatever loop runs meanwhile.
  class Ticker : public CDialog {
   public:
    Ticker(ScreenScriptTest* t, const std::function<void()>& m) : CDialog(0), test(t), modal(m) {}

   protected:
    BOOL OnInitDialog() override {
      SetTimer(1, 100);
      modal();
      KillTimer(1);
      EndDialog(0);
      return TRUE;
    }
    void OnTimer(UINT) override {
      test->Watch({test->totalOpenings},
                  [] { return "the window shown is " + TypeName(PlatformTest::ShownWindow()); });
    }

   private:
    ScreenScriptTest* test;
    std::function<void()> modal;
  };

  // The shown screen is told to end, and so is the program; a game-over display only gives way
  // to a click.
  void Unstick(CScreen* known) {
    if (auto* play = dynamic_cast<CDlgChessAc*>(known)) {
      play->exitRequested = 1;
      abortSearch = 1;
    }
    if (RealMs() - lastUnstick < 250) return;
    lastUnstick = RealMs();
    CWnd* shown = PlatformTest::ShownWindow();
    // A press held over the window may have begun its drag, whose loop ends only on the
    // button's release: let the button go where the pointer is, so the window stays put.
    if (GetAsyncKeyState(VK_LBUTTON) & 0x8000) {
      CPoint p;
      GetCursorPos(&p);
      if (shown) shown->ScreenToClient(&p);
      PlatformTest::MouseButton(VK_LBUTTON, false, p.x, p.y);
    }
    if (auto* screen = dynamic_cast<CScreen*>(shown)) {
      screen->exitRequested = 1;
      screen->host->quitRequested = 1;
    }
    if (dynamic_cast<CDlgChessAc*>(shown)) {
      abortSearch = 1;
      PlatformTest::Click(178, 150);
      return;  // its own loop ends on the request
    }
    if (auto* dialog = dynamic_cast<CDialog*>(shown)) dialog->EndDialog(-1);
  }

  static void Opened(CScreen* screen) {
    if (!current) return;
    ScreenScriptTest& t = *current;
    const int count = t.opened[screen->GetTemplateId()]++;
    ++t.totalOpenings;
    t.lastOpened = TypeName(screen) + " (opening " + std::to_string(count + 1) + ")";
    t.Step("");
    t.ScreenOpened(screen, count);
  }
  static void Message(const char* text) {
    if (current) current->messages.push_back(text);
  }
  static void Alarm(int) {
    static const char head[] = "the alarm ended the test while its script waited for ";
    (void)!write(2, head, sizeof head - 1);
    (void)!write(2, alarmStep, strnlen(alarmStep, sizeof alarmStep));
    (void)!write(2, "\n", 1);
    signal(SIGALRM, SIG_DFL);
    raise(SIGALRM);
  }
};
