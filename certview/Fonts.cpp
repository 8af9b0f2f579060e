#include "Fonts.h"

#include "Big5.h"
#include "FaceFile.h"

TTF_Font* OpenFace(FontFace face, int px) {
  if (face == FontFace::Sans) return OpenSystemFace({"Liberation Sans", "File Error! OK"}, px);
  // The trailer may hold any Big5 text; the game's certificate wording stands for it.
  static const std::string sample = Big5ToUtf8("五子棋棋力證書申請電腦鑑定為[十九八七六五級!]");
  return OpenSystemFace({"AR PL UMing TW", sample.c_str(), "zh-tw"}, px);
}
