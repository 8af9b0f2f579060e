// Cost of composing and presenting one frame, next to a plain copy of the page. Prints numbers;
// asserts nothing. Run headless with SDL_VIDEODRIVER=dummy.
#include <time.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "DirectDraw.h"
#include "Platform.h"

namespace {

double Seconds() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Microseconds per run of fn, over enough runs to take about a quarter of a second.
double Measure(const std::function<void()>& fn) {
  fn();
  int runs = 1;
  for (;;) {
    double start = Seconds();
    for (int i = 0; i < runs; ++i) fn();
    double took = Seconds() - start;
    if (took > 0.25) return took / runs * 1e6;
    runs *= 2;
  }
}

class Bench : public CDialog {
 public:
  Bench() : CDialog(1) {}
  BOOL OnInitDialog() override {
    Run();
    EndDialog(0);
    return TRUE;
  }

 private:
  void Run() {
    CDirectDraw dd;
    if (!dd.InitDisplay(640, 480, this, FALSE)) {
      std::puts("no display");
      return;
    }
    // A board picture: background on top, a 21 x 21 stone with a round key margin below it.
    ImagePage board;
    AllocImagePage(&board, 640, 986);
    for (uint32_t i = 0; i < board.width * board.height; ++i) board.pixels[i] = uint16_t(i * 7 + 1);
    for (int y = 0; y < 21; ++y)
      for (int x = 0; x < 21; ++x) {
        int dx = x - 10, dy = y - 10;
        board.pixels[(660 + y) * 640 + 570 + x] = dx * dx + dy * dy <= 100 ? 0x0421 : 0;
      }
    ImagePage page;
    dd.LockPage(&page, FALSE);
    std::vector<uint16_t> copy(640 * 480);

    double memcpyUs = Measure([&] { std::memcpy(page.pixels, copy.data(), 640 * 480 * 2); });
    double backUs = Measure([&] { dd.BltPage(&page, 0, 0, &board, CRect(0, 0, 640, 480), FALSE); });
    double stonesUs = Measure([&] {
      for (int i = 0; i < 450; ++i)
        dd.BltPage(&page, 40 + (i % 15) * 24 + (i / 225), 30 + (i / 15 % 15) * 24, &board,
                   CRect(570, 660, 591, 681), TRUE);
    });
    double frameUs = Measure([&] {
      dd.BltPage(&page, 0, 0, &board, CRect(0, 0, 640, 480), FALSE);
      for (int i = 0; i < 450; ++i)
        dd.BltPage(&page, 40 + (i % 15) * 24 + (i / 225), 30 + (i / 15 % 15) * 24, &board,
                   CRect(570, 660, 591, 681), TRUE);
    });
    double blendUs = Measure([&] {
      for (int i = 0; i < 225; ++i)
        dd.BltBlend(&page, 42 + (i % 15) * 24, 32 + (i / 15) * 24, &board,
                    CRect(570, 660, 591, 681));
    });
    double shadeUs = Measure([&] { dd.ShadeRect(&page, CRect(0, 0, 640, 480), 8, FALSE); });

    ImagePage cursor;
    AllocImagePage(&cursor, 256, 64);
    for (uint32_t i = 0; i < 256 * 64; ++i) cursor.pixels[i] = (i % 64) < 32 ? 0 : 0x7FFF;
    CClientDC dc(this);
    double flipUs = Measure([&] { dd.Flip(&dc); });
    dd.cursorPage = &cursor;
    SetCursorPos(320, 240);
    double flipCursorUs = Measure([&] { dd.Flip(&dc); });
    dd.cursorPage = nullptr;

    std::printf("page memcpy (640x480x2)            %8.1f us\n", memcpyUs);
    std::printf("background opaque blit             %8.1f us\n", backUs);
    std::printf("450 keyed 21x21 stones             %8.1f us\n", stonesUs);
    std::printf("full frame: background + 450 stones %7.1f us (%.0f frames/s)\n", frameUs,
                1e6 / frameUs);
    std::printf("225 blended 21x21 sprites          %8.1f us\n", blendUs);
    std::printf("ShadeRect whole page, level 8      %8.1f us\n", shadeUs);
    std::printf("Flip without cursor                %8.1f us\n", flipUs);
    std::printf("Flip with cursor                   %8.1f us\n", flipCursorUs);
    FreeImagePage(&cursor);
    FreeImagePage(&board);
    dd.UnlockPage(FALSE);
    dd.ReleaseDisplay();
  }
};

}  // namespace

int main() {
  Bench bench;
  bench.DoModal();
  return 0;
}
