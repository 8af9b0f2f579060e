#include "FaceFile.h"

#include <cstring>

TTF_Font* OpenFaceFile(const FaceFile& f, int px) {
  TTF_Font* first = nullptr;
  for (long index = 0; index < 8; ++index) {
    TTF_Font* font = TTF_OpenFontIndex(f.path, px, index);
    if (!font) break;
    const char* family = TTF_FontFaceFamilyName(font);
    if (!f.familyHint || (family && std::strstr(family, f.familyHint) && !std::strstr(family, "MBE"))) {
      if (first) TTF_CloseFont(first);
      return font;
    }
    if (first)
      TTF_CloseFont(font);
    else
      first = font;
  }
  return first;
}
