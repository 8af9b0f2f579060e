// Every picture the game loads, by the name it loads it under ('\' written as '/').
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Canvas.h"
#include "Text.h"

namespace pic {

struct PictureJob {
  std::string name;  // relative to the game directory, e.g. "img/Tital.bmp"
  std::function<Canvas(const Font&)> make;
};

const std::vector<PictureJob>& AllPictures();

// Cursor strips: 64 x 64 frames, hot spot at the frame centre.
constexpr int kCursorFrame = 64;
int CursorFrames(int shape);
Canvas MakeCursor(int shape);

Canvas MakeLoading(const Font& f);
Canvas MakeTitle(const Font& f);
Canvas MakeMainMenu(const Font& f);
Canvas MakeGameMenu(const Font& f, int kind);
Canvas MakeHow(const Font& f);
Canvas MakeSoundSet(const Font& f);
Canvas MakeBoardSet(const Font& f);
Canvas MakeBoard(const Font& f, int board);  // "img/base_N.bmp"
Canvas MakePlayers(const Font& f);
Canvas MakeSaveSlots(const Font& f, int kind);  // "img/GameMenu_N_1.bmp"
Canvas MakeTable(const Font& f, int world);     // tournament A or B (the "World" pictures)
Canvas MakeStandings(const Font& f, int world);
Canvas MakeLadder(const Font& f);  // "img/gamestart.bmp"
Canvas MakeTopList(const Font& f);
Canvas MakeLicense(const Font& f);
Canvas MakeIcon(const Font& f);  // the window icon, 32 x 32

// The cache the game writes beside a picture: whole path lower-cased, ".bmp" -> ".img".
std::string CacheName(const std::string& picture);

}  // namespace pic
