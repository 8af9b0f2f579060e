// Opening a system TrueType face from one of its files, for the small programs.
#pragma once
#include <SDL_ttf.h>

struct FaceFile {
  const char* path;
  const char* familyHint;  // collections hold several regions of a face; pick the Taiwan one
};

// The face in `f` at `px` pixels: the member whose family carries the hint, else the first
// member; null when the file does not open. The caller closes it.
TTF_Font* OpenFaceFile(const FaceFile& f, int px);
