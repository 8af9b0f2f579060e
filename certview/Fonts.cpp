#include "Fonts.h"

#include <cstring>
#include <iterator>

namespace {

struct Candidate {
  const char* path;
  const char* familyHint;  // collections hold several regions of a face; pick the Taiwan one
};

const Candidate kMing[] = {
    {"/usr/share/fonts/truetype/arphic/uming.ttc", "TW"},
    {"/usr/share/fonts/truetype/arphic/ukai.ttc", "TW"},
    {"/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf", nullptr},
};
const Candidate kSans[] = {
    {"/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf", nullptr},
    {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", nullptr},
    {"/usr/share/fonts/truetype/arphic/uming.ttc", "TW"},
};

TTF_Font* OpenCandidate(const Candidate& c, int px) {
  TTF_Font* first = nullptr;
  for (long index = 0; index < 8; ++index) {
    TTF_Font* font = TTF_OpenFontIndex(c.path, px, index);
    if (!font) break;
    const char* family = TTF_FontFaceFamilyName(font);
    if (!c.familyHint || (family && std::strstr(family, c.familyHint) && !std::strstr(family, "MBE"))) {
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

}  // namespace

TTF_Font* OpenFace(FontFace face, int px) {
  const Candidate* list = face == FontFace::Ming ? kMing : kSans;
  size_t count = face == FontFace::Ming ? std::size(kMing) : std::size(kSans);
  for (size_t i = 0; i < count; ++i)
    if (TTF_Font* font = OpenCandidate(list[i], px)) return font;
  return nullptr;
}
