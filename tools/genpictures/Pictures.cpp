#include "Pictures.h"

#include <cctype>

#include "BoardChoice.h"

namespace pic {

const std::vector<PictureJob>& AllPictures() {
  static const std::vector<PictureJob> jobs = [] {
    std::vector<PictureJob> all = {
        {"cursor/cursor_0.bmp", [](const Font&) { return MakeCursor(0); }},
        {"cursor/cursor_1.bmp", [](const Font&) { return MakeCursor(1); }},
        {"cursor/cursor_2.bmp", [](const Font&) { return MakeCursor(2); }},
        {"cursor/cursor_3.bmp", [](const Font&) { return MakeCursor(3); }},
        {"img/Loading.bmp", MakeLoading},
        {"img/Tital.bmp", MakeTitle},
        {"img/main.bmp", MakeMainMenu},
        {"img/GameMenu_0.bmp", [](const Font& f) { return MakeGameMenu(f, 0); }},
        {"img/GameMenu_1.bmp", [](const Font& f) { return MakeGameMenu(f, 1); }},
        {"img/GameMenu_2.bmp", [](const Font& f) { return MakeGameMenu(f, 2); }},
        {"img/how.bmp", MakeHow},
        {"img/SoundSet.bmp", MakeSoundSet},
        {"img/boardSet.bmp", MakeBoardSet},
    };
    for (int b = 0; b < BOARD_CHOICES; ++b)
      all.push_back({"img/base_" + std::to_string(b) + ".bmp",
                     [b](const Font& f) { return MakeBoard(f, b); }});
    all.insert(all.end(),
               {
                   {"img/players.bmp", MakePlayers},
                   {"img/GameMenu_0_1.bmp", [](const Font& f) { return MakeSaveSlots(f, 0); }},
                   {"img/GameMenu_1_1.bmp", [](const Font& f) { return MakeSaveSlots(f, 1); }},
                   {"img/GameMenu_2_1.bmp", [](const Font& f) { return MakeSaveSlots(f, 2); }},
                   {"img/gameTable.bmp", [](const Font& f) { return MakeTable(f, 0); }},
                   {"img/GameTableWorld.bmp", [](const Font& f) { return MakeTable(f, 1); }},
                   {"img/gamePoint.bmp", [](const Font& f) { return MakeStandings(f, 0); }},
                   {"img/GamePointWorld.bmp", [](const Font& f) { return MakeStandings(f, 1); }},
                   {"img/gamestart.bmp", MakeLadder},
                   {"img/toplist.bmp", MakeTopList},
                   {"img/License.bmp", MakeLicense},
                   {"img/icon.bmp", MakeIcon},
               });
    return all;
  }();
  return jobs;
}

std::string CacheName(const std::string& picture) {
  std::string out = picture;
  for (char& ch : out) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  if (out.size() >= 4 && out.compare(out.size() - 4, 4, ".bmp") == 0)
    out.replace(out.size() - 4, 4, ".img");
  return out;
}

}  // namespace pic
