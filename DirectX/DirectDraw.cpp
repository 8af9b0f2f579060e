// The page, its presentation with the software cursor, and the display placement.
#include "DirectDraw.h"

#include <cstdio>

namespace {

void StderrMessage(const char* text) { std::fprintf(stderr, "%s\n", text); }

DdMessageHook messageHook = nullptr;

}  // namespace

DdMessageHook SetDdMessageHook(DdMessageHook hook) {
  DdMessageHook old = messageHook;
  messageHook = hook;
  return old;
}

void DdMessage(const char* text) { (messageHook ? messageHook : StderrMessage)(text); }

CDirectDraw::CDirectDraw() = default;

CDirectDraw::~CDirectDraw() { CloseFrameFile(); }

BOOL CDirectDraw::LockPage(ImagePage* out, BOOL) {
  out->width = uint32_t(pageWidth);
  out->height = uint32_t(pageHeight);
  out->pixels = pagePixels.empty() ? nullptr : pagePixels.data();
  return TRUE;
}

void CDirectDraw::UnlockPage(BOOL) {}
