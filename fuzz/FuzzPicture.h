// The picture readers' entry points share this: load, then draw the page the way screens do
// (centred on the 640 x 480 page, as the loading picture is).
#pragma once
#include "DirectDraw.h"
#include "FuzzUtil.h"

namespace fuzz {

inline void LoadAndDraw(const char* file, const char* path, const uint8_t* data, size_t size) {
  EnterOwnDir();
  SetDdMessageHook([](const char*) {});
  WriteFile(file, data, size);
  static CDirectDraw dd;
  static ImagePage target;
  if (!target.pixels) AllocImagePage(&target, 640, 480);
  ImagePage page;
  if (!dd.LoadImagePage(&page, path)) return;
  dd.BltPage(&target, (640 - int(page.width)) / 2, (480 - int(page.height)) / 2, &page,
             CRect(0, -1, 0, 0), TRUE);
  FreeImagePage(&page);
}

}  // namespace fuzz
