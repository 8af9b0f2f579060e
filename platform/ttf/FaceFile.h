// The system's TrueType faces for the small programs, found through fontconfig.
#pragma once
#include <SDL_ttf.h>

struct FaceWanted {
  const char* family;          // preferred; taken whenever it is installed and draws `text`
  const char* text;            // UTF-8: the face must draw every character of it
  const char* lang = nullptr;  // steers the choice among other faces, e.g. "zh-tw"
  bool bold = false;           // emboldened by hand when the face found has no bold weight
};

// The face fontconfig ranks first for `want` among those that draw all of its text, at `px`
// pixels; null when no installed face does. The caller closes it. TTF_Init must have succeeded.
TTF_Font* OpenSystemFace(const FaceWanted& want, int px);

// Tells the user, in a message box and on the log, that no installed face draws the program's text.
void ReportNoFace(const char* program);
