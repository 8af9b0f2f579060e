// The small vocabulary of plain types the game code is written in: integers of fixed meaning,
// colours and rectangles. Rectangles are left, top, right, bottom; right and bottom lie outside.
#pragma once
#include <algorithm>
#include <cstdint>

using BOOL = int;
using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using UINT = unsigned int;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using COLORREF = uint32_t;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

constexpr COLORREF RGB(int r, int g, int b) {
  return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(COLORREF c) { return c & 0xFF; }
constexpr int GetGValue(COLORREF c) { return (c >> 8) & 0xFF; }
constexpr int GetBValue(COLORREF c) { return (c >> 16) & 0xFF; }

struct CPoint {
  int x = 0, y = 0;
  constexpr CPoint() = default;
  constexpr CPoint(int x_, int y_) : x(x_), y(y_) {}
  constexpr bool operator==(const CPoint&) const = default;
};

struct CSize {
  int cx = 0, cy = 0;
  constexpr CSize() = default;
  constexpr CSize(int w, int h) : cx(w), cy(h) {}
};

struct CRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  constexpr CRect() = default;
  constexpr CRect(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}
  constexpr int Width() const { return right - left; }
  constexpr int Height() const { return bottom - top; }
  constexpr bool IsRectEmpty() const { return right <= left || bottom <= top; }
  constexpr bool PtInRect(CPoint p) const {
    return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
  }
  constexpr void SetRect(int l, int t, int r, int b) {
    left = l;
    top = t;
    right = r;
    bottom = b;
  }
  constexpr void OffsetRect(int dx, int dy) {
    left += dx;
    right += dx;
    top += dy;
    bottom += dy;
  }
  // The overlap of a and b; an empty result is all zeros and returns false.
  constexpr bool IntersectRect(const CRect& a, const CRect& b) {
    left = std::max(a.left, b.left);
    top = std::max(a.top, b.top);
    right = std::min(a.right, b.right);
    bottom = std::min(a.bottom, b.bottom);
    if (IsRectEmpty()) {
      *this = CRect();
      return false;
    }
    return true;
  }
  constexpr CPoint TopLeft() const { return {left, top}; }
  constexpr bool operator==(const CRect&) const = default;
};
