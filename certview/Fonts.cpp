#include "Fonts.h"

#include <iterator>

#include "FaceFile.h"

namespace {

const FaceFile kMing[] = {
    {"/usr/share/fonts/truetype/arphic/uming.ttc", "TW"},
    {"/usr/share/fonts/truetype/arphic/ukai.ttc", "TW"},
    {"/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf", nullptr},
};
const FaceFile kSans[] = {
    {"/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf", nullptr},
    {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", nullptr},
    {"/usr/share/fonts/truetype/arphic/uming.ttc", "TW"},
};

}  // namespace

TTF_Font* OpenFace(FontFace face, int px) {
  const FaceFile* list = face == FontFace::Ming ? kMing : kSans;
  size_t count = face == FontFace::Ming ? std::size(kMing) : std::size(kSans);
  for (size_t i = 0; i < count; ++i)
    if (TTF_Font* font = OpenFaceFile(list[i], px)) return font;
  return nullptr;
}
