// Device contexts: drawing text and copying 16-bit pixels into a window or into a page.
//
// A memory DC draws into a caller-owned RGB555 page (top-down rows). A window DC (CClientDC,
// CPaintDC) draws into the window where it is visible on the screen: parts covered by a window
// above, and the whole of a hidden, minimised or 0 x 0 window, are clipped away, so copying the
// page into a covered window shows nothing.
//
// Text is the page font (BitFont.h): 8 x 16 cells per byte, 16 x 16 per Big5 character, no
// antialiasing; the colour is reduced to RGB555 by dropping each channel's three low bits.
#pragma once
#include <cstdint>

#include "Wnd.h"
#include "WinTypes.h"

class CDC;
using HDC = CDC*;

enum : int { TRANSPARENT = 1, OPAQUE = 2 };            // SetBkMode
enum : UINT { DT_LEFT = 0x0000, DT_CENTER = 0x0001 };  // DrawText
enum : DWORD { SRCCOPY = 0x00CC0020 };                 // BitBlt

// The page font as a GDI font object. Only the 16 x 8 fixed cell exists here: CreateFont with
// any other height or width fails. Selecting no font draws with the same cells.
class CFont {
 public:
  BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                  BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision,
                  BYTE clipPrecision, BYTE quality, BYTE pitchAndFamily, const char* faceName);
  BOOL DeleteObject();
  bool IsCreated() const { return created_; }

 private:
  bool created_ = false;
};

class CDC {
 public:
  CDC();
  virtual ~CDC();
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;

  // Makes this a memory DC over width x height RGB555 pixels, top row first (the page).
  // The pixels stay the caller's and must outlive the DC's use.
  BOOL CreatePageDC(uint16_t* pixels, int width, int height);
  HDC GetSafeHdc() { return this; }
  CWnd* GetWindow() const { return wnd_; }  // nullptr for a memory DC

  CFont* SelectObject(CFont* font);        // previous font (nullptr: none)
  COLORREF SetTextColor(COLORREF colour);  // previous; default black
  COLORREF SetBkColor(COLORREF colour);    // previous; default white
  int SetBkMode(int mode);  // previous; default OPAQUE (cells filled with the bk colour)

  // Text from (x, y), the top left of the first cell; count -1 = up to the NUL.
  BOOL TextOut(int x, int y, const char* text, int count = -1);
  // One line, top-aligned in rect, clipped to it; DT_CENTER centres it horizontally. Returns
  // the height of the text (16).
  int DrawText(const char* text, int count, CRect* rect, UINT format);
  CSize GetTextExtent(const char* text, int count = -1) const;
  void FillSolidRect(const CRect& rect, COLORREF colour);
  // Copies (xSrc, ySrc, width, height) of src to (x, y) of this DC; only SRCCOPY (else FALSE).
  // A window gives only what of it shows on the screen; what it cannot give leaves the
  // destination as it was.
  BOOL BitBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, DWORD rop);

 protected:
  friend int SetDIBitsToDevice(CDC*, int, int, DWORD, DWORD, int, int, UINT, UINT, const void*,
                               const struct BITMAPINFO*, UINT);
  explicit CDC(CWnd* wnd);  // a window DC

 private:
  struct Target;
  // The pixels this DC writes to now: the page, or the visible parts of the window.
  void GetTargets(Target* out) const;

  CWnd* wnd_ = nullptr;
  uint16_t* pixels_ = nullptr;
  int width_ = 0, height_ = 0;
  CFont* font_ = nullptr;
  COLORREF textColour_ = RGB(0, 0, 0);
  COLORREF bkColour_ = RGB(255, 255, 255);
  int bkMode_ = OPAQUE;
};

class CClientDC : public CDC {
 public:
  explicit CClientDC(CWnd* wnd);
};

// For OnPaint: validates the window (and erases through OnEraseBkgnd when the invalidation asked
// for it).
class CPaintDC : public CDC {
 public:
  explicit CPaintDC(CWnd* wnd);
};

// The page format block: a header and the three colour masks.
struct BITMAPINFOHEADER {
  DWORD biSize = 40;
  int32_t biWidth = 0;
  int32_t biHeight = 0;  // negative: top row first
  WORD biPlanes = 1;
  WORD biBitCount = 0;
  DWORD biCompression = 0;
  DWORD biSizeImage = 0;
  int32_t biXPelsPerMeter = 0;
  int32_t biYPelsPerMeter = 0;
  DWORD biClrUsed = 0;
  DWORD biClrImportant = 0;
};
struct BITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  DWORD bmiColors[3] = {0, 0, 0};  // red, green, blue masks
};
enum : DWORD { BI_BITFIELDS = 3 };
enum : UINT { DIB_RGB_COLORS = 0 };

// Copies the rectangle (xSrc, ySrc, w, h) of a 16-bit bitmap to (xDest, yDest) of dc. Served:
// 16 bits per pixel, BI_BITFIELDS with the RGB555 masks 0x7C00, 0x03E0, 0x001F, top-down, the
// whole bitmap given (startScan 0, lines = its height). Anything else copies nothing and
// returns 0. Returns the number of scan lines given. Into a window this is the presentation.
int SetDIBitsToDevice(CDC* dc, int xDest, int yDest, DWORD w, DWORD h, int xSrc, int ySrc,
                      UINT startScan, UINT lines, const void* bits, const BITMAPINFO* bmi,
                      UINT colorUse);
