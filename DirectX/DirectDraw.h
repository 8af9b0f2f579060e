// The graphics object: one 640 x 480 RGB555 page that every screen composes into, the pictures
// it is composed from, and its presentation with the animated software cursor.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "BitFont.h"
#include "Dc.h"
#include "WinString.h"
#include "WinTypes.h"
#include "Wnd.h"

// A picture in the page format: width x height RGB555 pixels, top row first, rows without gaps.
// Pixel 0 is the transparent key of keyed copies. Whoever holds a page owns its pixels; a page
// that was never loaded, failed to load or was freed is {0, 0, nullptr} and draws nothing.
struct ImagePage {
  uint32_t width = 0;
  uint32_t height = 0;
  uint16_t* pixels = nullptr;
};

// Frees the pixels and sets the page back to {0, 0, nullptr}, so a second free or a blit from
// it afterwards does nothing.
void FreeImagePage(ImagePage* page);
// Gives the page width x height new pixels, all 0 (what it held before is freed).
void AllocImagePage(ImagePage* page, uint32_t width, uint32_t height);

// A page turned into one shade step (0 to 15) per pixel.
struct ShadeMap {
  uint32_t width = 0;
  uint32_t height = 0;
  std::vector<uint8_t> levels;
};

// Where the media library's messages go ("No open %s"); a message box unless replaced (tests).
using DdMessageHook = void (*)(const char* text);
DdMessageHook SetDdMessageHook(DdMessageHook hook);
void DdMessage(const char* text);

class CDirectDraw {
 public:
  CDirectDraw();
  virtual ~CDirectDraw();
  CDirectDraw(const CDirectDraw&) = delete;
  CDirectDraw& operator=(const CDirectDraw&) = delete;

  // Display page and presentation.
  BOOL InitDisplay(int width, int height, CWnd* wnd, BOOL fullScreen);
  void ReleaseDisplay();
  BOOL LockPage(ImagePage* out, BOOL front);
  void UnlockPage(BOOL front);
  BOOL GetPageDC(HDC* out, BOOL front);
  void ReleasePageDC(HDC* dc, BOOL front);
  void Flip(CDC* dc);
  BOOL ChangeDisplayMode(int width, int height);
  void CenterScreenWindow(CWnd* wnd, int width, int height);

  // Pictures.
  // out must hold no pixels of its own; it is left as it was when the load fails.
  BOOL LoadImagePage(ImagePage* out, CString path);
  BOOL ReadImgFile(ImagePage* out, CString cachePath);
  void ConvertBmp24(const uint8_t* bits, ImagePage* out, int stride);

  // Pixel operations. None reports a failure; every copy is clipped to the source and the
  // destination, and an empty page on either side draws nothing.
  void BltPage(ImagePage* dst, int x, int y, ImagePage* src, CRect srcRect, BOOL keyed);
  void BltBlend(ImagePage* dst, int x, int y, ImagePage* src, CRect srcRect);
  void ShadeRect(ImagePage* page, CRect rect, int level, BOOL lighten);
  BOOL GrabRect(ImagePage* src, ImagePage* out, CRect rect);
  BOOL KeepCursor();
  void TextOutShadow(HDC* dc, int x, int y, const CString& text, COLORREF colour,
                     COLORREF shadowColour);
  void DrawTextInRect(HDC* dc, const CString& text, CRect rect, UINT format, COLORREF colour,
                      COLORREF shadowColour);
  void BuildLightenTable();
  void BuildDarkenTable();
  void BuildGlowTable();
  void BuildBlendTable();

  // Inner loops; the rectangle is already clipped to both pages.
  void CopyPixels(ImagePage* dst, int x, int y, const ImagePage* src, const CRect& srcRect);
  void CopyPixelsKeyed(ImagePage* dst, int x, int y, const ImagePage* src, const CRect& srcRect);
  void BlendPixels555(ImagePage* dst, int x, int y, const ImagePage* src, const CRect& srcRect);
  void ShadePixels(ImagePage* page, const CRect& rect, int level, BOOL lighten);

  // Further page operations. Nothing in the game calls them; they keep the library's set whole.
  static uint16_t PackColor(int r, int g, int b);
  void FillRect(ImagePage* page, CRect rect, uint16_t colour);
  void XorRect(ImagePage* page, CRect rect, uint16_t colour);
  void DrawLine(ImagePage* page, int x0, int y0, int x1, int y1, uint16_t colour);
  void XorLine(ImagePage* page, int x0, int y0, int x1, int y1, uint16_t colour);
  void FrameRect(ImagePage* page, CRect rect, uint16_t colour);
  void XorFrameRect(ImagePage* page, CRect rect, uint16_t colour);
  void BltWeighted(ImagePage* dst, int x, int y, ImagePage* src, CRect srcRect,
                   const ImagePage* weights);
  void BltSilhouette(ImagePage* dst, int x, int y, ImagePage* src, CRect srcRect, uint16_t colour);
  void BltRecolor(ImagePage* dst, int x, int y, ImagePage* src, CRect srcRect, uint16_t colour);
  void BltBehindMask(ImagePage* dst, int x, int y, ImagePage* src, CRect srcRect,
                     const ImagePage* mask, uint16_t maskValue, BOOL needNoBlue);
  void BltMarked(ImagePage* dst, int x, int y, ImagePage* src, CRect srcRect,
                 const ImagePage* markers, uint16_t marker);
  void BltTranslucent(ImagePage* dst, int x, int y, ImagePage* src, CRect srcRect, int weight);
  void BltScaled(ImagePage* dst, int x, int y, ImagePage* src, CRect size);
  void WavePage(ImagePage* page, int amplitude, double phase, double step);
  static void MakeShadeMap(ImagePage* page, ShadeMap* out);
  void LightenByShadeMap(ImagePage* dst, int x, int y, const ShadeMap* map);
  void FillDiamond(ImagePage* page, int x, int y, uint16_t colour);
  BOOL OpenFrameFile(const std::string& path);
  BOOL ReadFrame(int frame, ImagePage* out);
  void CloseFrameFile();
  static BOOL WaitKeyUp(int vkey);
  void PresentPage(CDC* dc, const ImagePage* page);
  void PresentPageStretched(CDC* dc, const ImagePage* page, CRect srcRect, CRect dstRect);
  // The area (0, 0, page width, page height) of dc into the page.
  void CopyFromDC(CDC* dc);
  void FlipWindow();

  // Read from outside. cursorPage and cursorFrame are set by the host (cursor shapes).
  int cursorFrame = 0;
  uint32_t cursorFrameDelay = 100;
  int desktopHeight = 0;
  int desktopWidth = 0;
  CDC* memDC = nullptr;
  ImagePage* cursorPage = nullptr;

  // Table views for whoever needs to look (tests among them).
  const uint16_t* LightenTable() const { return lightenTable.data(); }
  const uint16_t* DarkenTable() const { return darkenTable.data(); }
  const uint16_t* GlowTable() const { return glowTable.data(); }
  uint16_t Blend(int a, int b, int t) const { return blendTable[(a * 32 + b) * 32 + t]; }

 private:
  std::vector<uint16_t> blendTable;  // [a][b][t], 32 x 32 x 32
  std::vector<uint16_t> lightenTable;
  std::vector<uint16_t> darkenTable;
  std::vector<uint16_t> glowTable;  // 32 rows x 64 entries
  void BuildDibInfo(int width, int height);
  static void RestoreUnderCursor(CWnd* shown);

  CFont font;
  // Where the last Flip showed the cursor: its window (compared, never used as a pointer,
  // since the window may be gone) and its centre in client co-ordinates.
  const CWnd* cursorWnd = nullptr;
  CPoint cursorAt;
  BITMAPINFO pageInfo;
  std::vector<uint16_t> pagePixels;
  int pageHeight = 0;
  int pageWidth = 0;
  CWnd* window = nullptr;
  std::FILE* frameFile = nullptr;
  uint32_t frameWidth = 0, frameHeight = 0, frameCount = 0;
};
