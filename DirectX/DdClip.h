// Clipping shared by every copy of the library.
#pragma once
#include "DirectDraw.h"

// Clips a copy of rectangle r of src placed at (x, y) of dst against both pages. On success r is
// the source rectangle left to copy and (x, y) its destination corner; false when nothing is
// left or either page has no pixels.
bool DdClipCopy(const ImagePage* dst, int& x, int& y, const ImagePage* src, CRect& r);
// Clips r to the page; false when nothing is left or the page has no pixels.
bool DdClipToPage(const ImagePage* page, CRect& r);
