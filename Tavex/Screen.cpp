#include "Screen.h"

#include "TavexDlg.h"

void (*CScreen::screenOpened)(CScreen* screen) = nullptr;

void SetButton(ScreenButton& button, const CRect& rect, const CRect& hoverSrc,
               const CRect& pressedSrc) {
  button.dest = rect;
  button.hit = rect;
  button.hoverSrc = hoverSrc;
  button.pressedSrc = pressedSrc;
  button.state = BUTTON_IDLE;
}

CScreen::CScreen(UINT templateId, CTavexDlg* host_)
    : CDialog(templateId, host_),
      host(host_),
      graphics(&host_->directDraw),
      sound(&host_->directSound) {}

CScreen::~CScreen() { FreeImagePage(&picture); }

BOOL CScreen::DestroyWindow() {
  FreeImagePage(&picture);
  return CDialog::DestroyWindow();
}

CString CScreen::MediaPath(const char* name) const { return host->dataPath + name; }

void CScreen::LoadPicture(const char* name) {
  // The loader wants a page without pixels; a failed load keeps it empty.
  FreeImagePage(&picture);
  graphics->LoadImagePage(&picture, MediaPath(name));
}

void CScreen::ScreenOpened() {
  if (screenOpened) screenOpened(this);
}

void CScreen::Present(bool keepCursor) {
  CClientDC dc(this);
  graphics->Flip(&dc);
  if (keepCursor) graphics->KeepCursor();
}

void CScreen::BeginPage(ImagePage* page) {
  graphics->LockPage(page, FALSE);
  graphics->BltPage(page, 0, 0, &picture, CRect(0, 0, 640, 480), FALSE);
  if (host->fullScreen) {
    const CRect& d = titleBar[TITLE_FULLSCREEN].dest;
    graphics->BltPage(page, d.left, d.top, &picture, titleSprites->mark, TRUE);
  }
}

void CScreen::DrawActiveButton(ImagePage* page, const ScreenButton* buttons, int count,
                               BOOL transparent) {
  for (int i = 0; i < count; ++i) {
    const ScreenButton& b = buttons[i];
    if (b.state == BUTTON_LIT) {
      graphics->BltPage(page, b.dest.left, b.dest.top, &picture, b.hoverSrc, transparent);
      return;
    }
  }
}

void CScreen::DrawActiveItem(ImagePage* page, const ScreenButton* items, int count) {
  for (int i = 0; i < count; ++i) {
    const ScreenButton& b = items[i];
    if (b.state == BUTTON_LIT || b.state == BUTTON_PRESSED) {
      graphics->BltPage(page, b.dest.left, b.dest.top, &picture,
                        b.state == BUTTON_LIT ? b.hoverSrc : b.pressedSrc, TRUE);
      return;
    }
  }
}

void CScreen::GrabPage(ImagePage* copy) {
  ImagePage page;
  graphics->LockPage(&page, FALSE);
  FreeImagePage(copy);
  graphics->GrabRect(&page, copy, CRect(0, 0, 640, 480));
  graphics->UnlockPage(FALSE);
}

void CScreen::RestorePage(ImagePage* copy) {
  ImagePage page;
  graphics->LockPage(&page, FALSE);
  graphics->BltPage(&page, 0, 0, copy, CRect(0, 0, 640, 480), FALSE);
  graphics->UnlockPage(FALSE);
  FreeImagePage(copy);
}

void CScreen::PlayClickEffect() { sound->PlayEffect(&host->soundEffects[EFFECT_CLICK], FALSE); }
void CScreen::PlayHoverEffect() { sound->PlayEffect(&host->soundEffects[EFFECT_HOVER], FALSE); }

bool CScreen::LeftButtonDown() { return GetAsyncKeyState(VK_LBUTTON) != 0; }

int CScreen::ButtonAt(const ScreenButton* buttons, int count, CPoint point) {
  for (int i = 0; i < count; ++i)
    if (buttons[i].hit.PtInRect(point)) return i;
  return -1;
}

int CScreen::PressButtons(ScreenButton* buttons, int count, CPoint point, int32_t pressed) {
  int hit = -1;
  for (int i = 0; i < count; ++i) {
    buttons[i].state = buttons[i].hit.PtInRect(point) ? pressed : BUTTON_IDLE;
    if (buttons[i].state) hit = i;
  }
  return hit;
}

bool CScreen::TrackHover(ScreenButton* buttons, int count, CPoint point, bool hoverEffect) {
  bool counted = false;
  for (int i = 0; i < count; ++i) {
    ScreenButton& b = buttons[i];
    if (b.hit.PtInRect(point)) {
      if (b.state == BUTTON_IDLE) {
        b.state = BUTTON_LIT;
        if (hoverEffect) PlayHoverEffect();
      }
      counted = true;
    } else if (b.state == BUTTON_LIT) {
      b.state = BUTTON_IDLE;
      counted = true;
    }
  }
  return counted;
}

int CScreen::ReleaseButtons(ScreenButton* buttons, int count, CPoint point, int32_t pressed) {
  int chosen = -1;
  for (int i = 0; i < count; ++i) {
    if (buttons[i].state == pressed && buttons[i].hit.PtInRect(point)) chosen = i;
    buttons[i].state = BUTTON_IDLE;
  }
  return chosen;
}

bool CScreen::PointCursor(const ScreenButton* buttons, int count, CPoint point) {
  const bool over = ButtonAt(buttons, count, point) != -1;
  if (!LeftButtonDown()) host->SelectCursor(over ? CURSOR_HOVER : CURSOR_NORMAL);
  return over;
}

void CScreen::HoverMenu(CPoint point, bool hoverEffect) {
  const ButtonTable& t = buttonTable;
  const bool overButton = ButtonAt(t.buttons, t.count, point) != -1;
  if (TrackHover(t.items, t.itemCount, point, hoverEffect) || overButton) {
    if (!LeftButtonDown()) host->SelectCursor(CURSOR_HOVER);
    Draw();
  } else {
    if (!LeftButtonDown()) host->SelectCursor(CURSOR_NORMAL);
    Present(false);
  }
}

void CScreen::LayoutTitleBar(ScreenButton* buttons, const TitleBarSprites& sprites) {
  titleBar = buttons;
  titleSprites = &sprites;
  const CRect pressed[TITLE_BUTTONS] = {host->fullScreen ? sprites.fullScreen : sprites.windowed,
                                        sprites.minimize, sprites.close};
  for (int i = 0; i < TITLE_BUTTONS; ++i) SetButton(buttons[i], kTitleBarRects[i], pressed[i]);
}

bool CScreen::TitleBarAction(int index) {
  switch (index) {
    case TITLE_FULLSCREEN: ToggleFullScreen(); return true;
    case TITLE_MINIMIZE: PostMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0); break;
    case TITLE_CLOSE: CloseProgram(); break;
    default: break;
  }
  return false;
}

void CScreen::ToggleFullScreen() {
  host->fullScreen = 1 - host->fullScreen;
  // The flag flips even when no mode fits; the next screen follows the flag.
  if (host->fullScreen) {
    titleBar[TITLE_FULLSCREEN].hoverSrc = titleSprites->fullScreen;
    graphics->ChangeDisplayMode(640, 480);
  } else {
    titleBar[TITLE_FULLSCREEN].hoverSrc = titleSprites->windowed;
    graphics->ChangeDisplayMode(graphics->desktopWidth, graphics->desktopHeight);
  }
  graphics->CenterScreenWindow(this, 640, 480);
}

void CScreen::CloseProgram() {
  exitRequested = 1;
  host->quitRequested = 1;
  LeaveScreen();
}

void CScreen::LeaveScreen() {
  host->TakeScreenPlace(this);
  EndDialog(0);
}

void CScreen::DragWindow(CPoint point) {
  PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
}

void CScreen::Choose(int, int) {}

void CScreen::OnLButtonDown(UINT flags, CPoint point) {
  const ButtonTable& t = buttonTable;
  if (t.count > 0 || t.itemCount > 0) {
    if (t.pressedCursor) host->SelectCursor(CURSOR_PRESSED);
    const int hit = PressButtons(t.buttons, t.count, point);
    const int itemHit = PressButtons(t.items, t.itemCount, point, BUTTON_PRESSED);
    if (hit != -1 || itemHit != -1) {
      PlayClickEffect();
      Draw();
    } else if (t.dragWindow) {
      DragWindow(point);
    }
  }
  CDialog::OnLButtonDown(flags, point);
}

void CScreen::OnLButtonUp(UINT flags, CPoint point) {
  const ButtonTable& t = buttonTable;
  if (t.count > 0 || t.itemCount > 0) {
    const int button = ReleaseButtons(t.buttons, t.count, point);
    const int item = ReleaseButtons(t.items, t.itemCount, point, BUTTON_PRESSED);
    Choose(button, item);
  }
  CDialog::OnLButtonUp(flags, point);
}

void CScreen::OnPaint() {
  CPaintDC dc(this);
  graphics->Flip(&dc);
}

BOOL CScreen::OnEraseBkgnd(CDC*) { return TRUE; }

void CScreen::OnClose() {
  exitRequested = 1;
  CDialog::OnClose();
}

void CScreen::OnLButtonDblClk(UINT flags, CPoint point) { OnLButtonDown(flags, point); }
