// A dialog that records what reaches it, with hooks for the steps a test wants to control.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "Platform.h"

inline void PrintTo(const CPoint& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }

struct Seen {
  UINT message;
  WPARAM wParam;
  CPoint pt;
};

class TestDlg : public CDialog {
 public:
  explicit TestDlg(CWnd* parent = nullptr) : CDialog(100, parent) {}

  std::function<void(TestDlg&)> onInit;
  std::function<void(TestDlg&, const Seen&)> onMessage;
  std::vector<Seen> seen;
  int destroyed = 0;
  bool cancelIgnored = false;

  using CDialog::EndDialog;

  void Place(int x, int y, int w = 640, int h = 480, const CWnd* after = &wndNoTopMost) {
    SetWindowPos(after, x, y, w, h, SWP_SHOWWINDOW);
  }
  std::vector<UINT> Messages() const {
    std::vector<UINT> m;
    for (const auto& s : seen) m.push_back(s.message);
    return m;
  }
  size_t Count(UINT message) const {
    size_t n = 0;
    for (const auto& s : seen) n += s.message == message;
    return n;
  }

  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    if (onInit) onInit(*this);
    return TRUE;
  }
  BOOL DestroyWindow() override {
    ++destroyed;
    return CDialog::DestroyWindow();
  }
  void OnCancel() override {
    if (!cancelIgnored) CDialog::OnCancel();
  }

 protected:
  void Record(UINT m, WPARAM w, CPoint pt = {}) {
    Seen s{m, w, pt};
    seen.push_back(s);
    if (onMessage) onMessage(*this, s);
  }
  void OnMouseMove(UINT f, CPoint p) override { Record(WM_MOUSEMOVE, f, p); }
  void OnLButtonDown(UINT f, CPoint p) override { Record(WM_LBUTTONDOWN, f, p); }
  void OnLButtonUp(UINT f, CPoint p) override { Record(WM_LBUTTONUP, f, p); }
  void OnLButtonDblClk(UINT f, CPoint p) override { Record(WM_LBUTTONDBLCLK, f, p); }
  void OnRButtonDown(UINT f, CPoint p) override { Record(WM_RBUTTONDOWN, f, p); }
  void OnChar(UINT c, UINT, UINT) override { Record(WM_CHAR, c); }
  void OnKeyDown(UINT vk, UINT, UINT) override { Record(WM_KEYDOWN, vk); }
  void OnTimer(UINT id) override { Record(WM_TIMER, id); }
  void OnPaint() override {
    CPaintDC dc(this);
    Record(WM_PAINT, 0);
  }
  void OnSize(UINT type, int cx, int cy) override { Record(WM_SIZE, type, CPoint(cx, cy)); }
  void OnClose() override {
    Record(WM_CLOSE, 0);
    CDialog::OnClose();
  }
  BOOL OnEraseBkgnd(CDC*) override { return TRUE; }
  LRESULT WindowProc(UINT m, WPARAM w, LPARAM l) override {
    if (m >= WM_USER) {
      Record(m, w);
      return 0;
    }
    return CDialog::WindowProc(m, w, l);
  }
};

// Dispatches everything pending (one pump pass); returns how many messages went out.
inline int PumpAll(int limit = 1000) {
  MSG m;
  int n = 0;
  while (n < limit && PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessage(&m);
    ++n;
  }
  return n;
}

// The game's page, 640 x 480 RGB555 with the top row first, as the media library presents it.
inline BITMAPINFO PageInfo() {
  BITMAPINFO b;
  b.bmiHeader.biWidth = 640;
  b.bmiHeader.biHeight = -480;
  b.bmiHeader.biBitCount = 16;
  b.bmiHeader.biCompression = BI_BITFIELDS;
  b.bmiHeader.biSizeImage = 640 * 2 * 480;
  b.bmiColors[0] = 0x7C00;
  b.bmiColors[1] = 0x03E0;
  b.bmiColors[2] = 0x001F;
  return b;
}

// The whole page to w; the rows copied, as SetDIBitsToDevice answers.
inline int PresentPage(CWnd* w, const uint16_t* pixels) {
  static const BITMAPINFO info = PageInfo();
  CClientDC dc(w);
  return SetDIBitsToDevice(&dc, 0, 0, 640, 480, 0, 0, 0, 480, pixels, &info, DIB_RGB_COLORS);
}

class PlatformTestBase : public ::testing::Test {
 protected:
  void SetUp() override { PlatformTest::Reset(); }
  void TearDown() override { PlatformTest::Reset(); }
};
