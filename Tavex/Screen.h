// What every screen of the game shares: the button record, the wiring to the host, the
// title-bar buttons and the handlers that are the same on every screen.
#pragma once
#include <cstdint>

#include "Dialog.h"
#include "DirectDraw.h"
#include "DirectSound.h"
#include "WinString.h"

class CTavexDlg;

// Dialog template numbers: they only name the screens.
enum : UINT {
  IDD_TAVEX_DIALOG = 102,
  IDD_DLG_MAIN = 104,
  IDD_DLG_HOW = 105,
  IDD_DLG_ACTIVEMOVIE = 106,
  IDD_DLG_GAMEMENU = 109,
  IDD_DLG_SOUNDSET = 110,
  IDD_DLG_TITAL = 112,
  IDD_DLG_BOARDSET = 117,
};

// What the long modes' screens before a game report: play it, or abandon the run (also after a
// close).
enum RoundChoice : int32_t { ROUND_ABANDON = -1, ROUND_PLAY = 0 };

// A button's state. Item buttons light while hovered and then press; buttons that do not track
// hovering (title bar, how-to, panels) light only while pressed, and hoverSrc holds that look.
enum { BUTTON_IDLE = 0, BUTTON_LIT = 1, BUTTON_PRESSED = 2 };

// One clickable area of a screen.
struct ScreenButton {
  CRect dest;  // only left and top are used: where the sprite goes
  CRect hoverSrc;
  CRect pressedSrc;
  CRect hit;
  int32_t state = BUTTON_IDLE;
};

// The three title-bar buttons every full screen carries at its top right.
enum { TITLE_FULLSCREEN = 0, TITLE_MINIMIZE = 1, TITLE_CLOSE = 2, TITLE_BUTTONS = 3 };
constexpr CRect kTitleBarRects[TITLE_BUTTONS] = {
    {575, 3, 592, 20}, {596, 3, 613, 20}, {617, 3, 634, 20}};

// Where a screen's picture keeps its title-bar looks: the full-screen button pressed in the
// windowed and in the full-screen view, minimise and close pressed, and the mark the
// full-screen view shows on the full-screen button.
struct TitleBarSprites {
  CRect windowed;
  CRect fullScreen;
  CRect minimize;
  CRect close;
  CRect mark;
};

// The buttons a screen hands to the shared press-and-release handling, and how a press there
// behaves.
struct ButtonTable {
  ScreenButton* buttons = nullptr;  // light while pressed: title bar, then the screen's own
  int count = 0;
  ScreenButton* items = nullptr;  // a menu's items, which take their pressed look
  int itemCount = 0;
  bool pressedCursor = true;  // the pressed cursor shows while the button is held
  bool dragWindow = true;     // a press on no button drags the window
};

// A button whose dest and hit are the same rectangle.
void SetButton(ScreenButton& button, const CRect& rect, const CRect& hoverSrc,
               const CRect& pressedSrc = CRect());

class CScreen : public CDialog {
 public:
  CScreen(UINT templateId, CTavexDlg* host);
  ~CScreen() override;

  CTavexDlg* host;
  CDirectDraw* graphics;
  CDirectSound* sound;
  ImagePage picture;
  int32_t exitRequested = 0;

  // Screens report the end of their opening here; tests drive the screens from it.
  static void (*screenOpened)(CScreen* screen);

  // Frees the picture (and whatever else the screen loaded) after every modal run.
  BOOL DestroyWindow() override;
  // One drawing pass of the whole screen.
  virtual void Draw() {}

 protected:
  // The host's data root joined with a relative media name.
  CString MediaPath(const char* name) const;
  // Loads `picture` afresh; a failed load leaves it empty, from which nothing is drawn.
  void LoadPicture(const char* name);
  void ScreenOpened();

  // Presents the page unchanged in this window (and keeps the cursor moving when asked).
  void Present(bool keepCursor);
  // Locks the back page and lays the picture's screen on it, with the full-screen mark on the
  // title bar while the view is full screen.
  void BeginPage(ImagePage* page);
  // Only the first lit button is drawn, in its hoverSrc look.
  void DrawActiveButton(ImagePage* page, const ScreenButton* buttons, int count, BOOL transparent);
  // Only the first lit or pressed item is drawn, keyed, in the look of its state.
  void DrawActiveItem(ImagePage* page, const ScreenButton* items, int count);
  // A panel over another screen keeps the page as it found it, and puts it back when it closes.
  void GrabPage(ImagePage* copy);
  void RestorePage(ImagePage* copy);
  void PlayClickEffect();
  void PlayHoverEffect();
  static bool LeftButtonDown();

  // The first button under the point, or -1.
  static int ButtonAt(const ScreenButton* buttons, int count, CPoint point);
  // Every button under the point takes `pressed`, the others go idle; the last one hit, or -1.
  static int PressButtons(ScreenButton* buttons, int count, CPoint point,
                          int32_t pressed = BUTTON_LIT);
  // The last button still `pressed` and under the point is chosen, or -1; all go idle.
  static int ReleaseButtons(ScreenButton* buttons, int count, CPoint point,
                            int32_t pressed = BUTTON_LIT);
  // Hovering: an idle item under the point lights (with the hover effect where the screen has
  // one); a lit item the point has left goes idle; pressed items keep their state. Returns
  // whether any item is under the point or went idle, i.e. whether the screen must redraw.
  bool TrackHover(ScreenButton* buttons, int count, CPoint point, bool hoverEffect);
  // While the mouse button is up the cursor tells whether the point is over a button;
  // returns whether it is.
  bool PointCursor(const ScreenButton* buttons, int count, CPoint point);
  // A move over a menu's buttonTable: its items track the hover; over a button or an item the
  // screen draws (with the hover cursor while the mouse button is up), elsewhere it only
  // presents.
  void HoverMenu(CPoint point, bool hoverEffect);

  // The title bar lies in buttons[TITLE_FULLSCREEN] to buttons[TITLE_CLOSE], its looks in
  // `sprites`; both must outlive the screen's runs.
  void LayoutTitleBar(ScreenButton* buttons, const TitleBarSprites& sprites);
  // Acts on a title-bar button released over itself (other indexes do nothing); returns
  // whether the view changed, so that the screen draws itself again.
  bool TitleBarAction(int index);
  // The close button ends the whole program.
  virtual void CloseProgram();
  // Leaving by a button of the screen: the host stands in where the screen stood.
  void LeaveScreen();
  // A press on no button drags the window as if by its caption.
  void DragWindow(CPoint point);

  // A screen that sets buttonTable gets the press-and-release protocol: a press lights what it
  // is over, clicks and draws (or drags the window); the release chooses the button (and item)
  // released over itself, each -1 when none, and Choose does what that choice means.
  ButtonTable buttonTable;
  virtual void Choose(int button, int item);
  void OnLButtonDown(UINT flags, CPoint point) override;
  void OnLButtonUp(UINT flags, CPoint point) override;

  void OnPaint() override;
  BOOL OnEraseBkgnd(CDC* dc) override;
  void OnClose() override;
  // Screens take no double clicks: the second press of one is a press like any other.
  void OnLButtonDblClk(UINT flags, CPoint point) override;

 private:
  // Title bar: the host's full-screen flag flips, the view follows, the button's pressed
  // sprite follows the view; the window is centred again.
  void ToggleFullScreen();

  ScreenButton* titleBar = nullptr;
  const TitleBarSprites* titleSprites = nullptr;
};
