#include "FaceFile.h"

#include <SDL.h>
#include <fontconfig/fontconfig.h>

#include <string>

#include "MessageBox.h"

namespace {

FcCharSet* CharsOf(const char* utf8) {
  FcCharSet* set = FcCharSetCreate();
  const auto* p = reinterpret_cast<const FcChar8*>(utf8 ? utf8 : "");
  int left = static_cast<int>(std::char_traits<char>::length(reinterpret_cast<const char*>(p)));
  while (left > 0) {
    FcChar32 c;
    const int n = FcUtf8ToUcs4(p, &c, left);
    if (n <= 0) break;
    FcCharSetAddChar(set, c);
    p += n;
    left -= n;
  }
  return set;
}

struct Found {
  std::string file;
  int index = 0;
  bool bold = false;
};

bool FindFace(const FaceWanted& want, Found& found) {
  if (!FcInit()) return false;
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(want.family));
  if (want.lang) FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>(want.lang));
  FcPatternAddInteger(pattern, FC_WEIGHT, want.bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcCharSet* needed = CharsOf(want.text);
  FcResult result;
  // Untrimmed: a face that draws everything may come after faces that only add to the cover.
  FcFontSet* sorted = FcFontSort(nullptr, pattern, FcFalse, nullptr, &result);
  bool ok = false;
  for (int i = 0; sorted && i < sorted->nfont && !ok; ++i) {
    FcPattern* font = sorted->fonts[i];
    FcCharSet* cover = nullptr;
    FcChar8* file = nullptr;
    FcBool scalable = FcFalse;
    if (FcPatternGetCharSet(font, FC_CHARSET, 0, &cover) != FcResultMatch ||
        !FcCharSetIsSubset(needed, cover) ||
        FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch ||
        (FcPatternGetBool(font, FC_SCALABLE, 0, &scalable) == FcResultMatch && !scalable))
      continue;
    int index = 0, weight = FC_WEIGHT_REGULAR;
    FcPatternGetInteger(font, FC_INDEX, 0, &index);
    FcPatternGetInteger(font, FC_WEIGHT, 0, &weight);
    found.file = reinterpret_cast<const char*>(file);
    found.index = index & 0xFFFF;  // the upper half numbers instances of variable faces
    found.bold = weight >= FC_WEIGHT_DEMIBOLD;
    ok = true;
  }
  if (sorted) FcFontSetDestroy(sorted);
  FcCharSetDestroy(needed);
  FcPatternDestroy(pattern);
  return ok;
}

}  // namespace

TTF_Font* OpenSystemFace(const FaceWanted& want, int px) {
  Found found;
  if (!FindFace(want, found)) return nullptr;
  TTF_Font* font = TTF_OpenFontIndex(found.file.c_str(), px, found.index);
  if (font && want.bold && !found.bold) TTF_SetFontStyle(font, TTF_STYLE_BOLD);
  return font;
}

void ReportNoFace(const char* program) {
  const char* text =
      "No installed font can draw this program's Chinese text: install one, such as "
      "fonts-arphic-uming.";
  SDL_Log("%s: %s", program, text);
  RunMessageBox(text, program);
}

#if defined(__SANITIZE_ADDRESS__)
// fontconfig loses a few bytes parsing its configuration, once a process; not ours to free.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
#endif
