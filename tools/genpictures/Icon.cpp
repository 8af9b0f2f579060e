// The window icon: a corner of the board with a black and a white stone, on the key.
#include "Pictures.h"
#include "Style.h"

namespace pic {

using namespace pal;

Canvas MakeIcon(const Font&) {
  Canvas c(32, 32);
  RoundRect(c, {1, 1, 31, 31}, 5, kFrame, true);
  RoundRectGradient(c, {2, 2, 30, 30}, 4, Rgb{222, 172, 104}, Rgb{186, 128, 66}, true);
  for (int k : {9, 16, 23}) {
    Line(c, k, 4, k, 28, 1, kInk);
    Line(c, 4, k, 28, k, 1, kInk);
  }
  Stone(c, 12.5, 12.5, 6.5, true, true);
  Stone(c, 19.5, 19.5, 6.5, false, true);
  return c;
}

}  // namespace pic
