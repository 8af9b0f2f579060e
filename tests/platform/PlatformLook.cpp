// A look at the window system on a real display: a 640 x 480 window with a page of stripes,
// text, a drag on the background, and a click counter. Run it under an X server and look.
//   platform_look [seconds]
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "Platform.h"

namespace {

class LookDlg : public CDialog {
 public:
  LookDlg() : CDialog(1) {}
  std::vector<uint16_t> page = std::vector<uint16_t>(640 * 480);
  CDC mem;
  BITMAPINFO info;
  int clicks = 0;
  uint32_t until = 0;

  void Draw() {
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x)
        page[y * 640 + x] = static_cast<uint16_t>(((x / 40) % 2 ? 0x0010 : 0x0200) + (y / 30));
    mem.SetBkMode(TRANSPARENT);
    mem.SetTextColor(RGB(255, 255, 0));
    CRect r(0, 200, 640, 216);
    mem.DrawText("五子棋 platform look", -1, &r, DT_CENTER);
    char line[64];
    std::snprintf(line, sizeof line, "clicks: %d", clicks);
    mem.SetTextColor(RGB(255, 255, 255));
    mem.TextOut(20, 440, line);
    CClientDC dc(this);
    SetDIBitsToDevice(&dc, 0, 0, 640, 480, 0, 0, 0, 480, page.data(), &info, DIB_RGB_COLORS);
  }
  BOOL OnInitDialog() override {
    info.bmiHeader.biWidth = 640;
    info.bmiHeader.biHeight = -480;
    info.bmiHeader.biBitCount = 16;
    info.bmiHeader.biCompression = BI_BITFIELDS;
    info.bmiColors[0] = 0x7C00;
    info.bmiColors[1] = 0x03E0;
    info.bmiColors[2] = 0x001F;
    mem.CreatePageDC(page.data(), 640, 480);
    SetWindowText("platform look");
    CSize s = DesktopSize();
    SetWindowPos(&wndNoTopMost, (s.cx - 640) / 2, (s.cy - 480) / 2, 640, 480, SWP_SHOWWINDOW);
    SetTimer(1, 250);
    Draw();
    return TRUE;
  }
  void OnLButtonDown(UINT, CPoint p) override {
    ++clicks;
    std::printf("click at %d,%d\n", p.x, p.y);
    if (p.y > 400) PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(p.x, p.y));
    Draw();
  }
  void OnTimer(UINT) override {
    if (timeGetTime() > until) EndDialog(0);
  }
  void OnPaint() override {
    CPaintDC dc(this);
    Draw();
  }
  BOOL OnEraseBkgnd(CDC*) override { return TRUE; }
};

}  // namespace

int main(int argc, char** argv) {
  LookDlg dlg;
  dlg.until = timeGetTime() + 1000u * (argc > 1 ? std::atoi(argv[1]) : 10);
  dlg.DoModal();
  std::printf("clicks %d\n", dlg.clicks);
  return 0;
}
