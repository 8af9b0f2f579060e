// The system TrueType faces that stand in for the dialog's fonts.
#pragma once
#include <SDL_ttf.h>

enum class FontFace {
  Ming,  // the dialog's Ming face (AR PL UMing when installed, Traditional Chinese shapes)
  Sans,  // message boxes (Liberation Sans when installed)
};

// Opens the face at a character height of `px` pixels; null when no installed face draws the
// viewer's text. The caller closes it. TTF_Init must have succeeded.
TTF_Font* OpenFace(FontFace face, int px);
