// The system TrueType faces that stand in for the dialog's fonts.
#pragma once
#include <SDL_ttf.h>

enum class FontFace {
  Ming,  // the dialog's Ming face (AR PL UMing, Traditional Chinese shapes)
  Sans,  // message boxes (Liberation Sans)
};

// Opens the face at a character height of `px` pixels; null when no candidate file opens.
// The caller closes it. TTF_Init must have succeeded.
TTF_Font* OpenFace(FontFace face, int px);
