#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "PictureTestUtil.h"

namespace fs = std::filesystem;
using namespace pictest;

namespace {

struct Expected {
  const char* name;
  int minW, minH, maxW, maxH;
};

// Sizes the screens need: the largest rectangle each one reads from the picture.
const Expected kFiles[] = {
    {"cursor/cursor_0.bmp", 64, 64, 64 * 64, 64},
    {"cursor/cursor_1.bmp", 64, 64, 64 * 64, 64},
    {"cursor/cursor_2.bmp", 64, 64, 64 * 64, 64},
    {"cursor/cursor_3.bmp", 64, 64, 64 * 64, 64},
    {"img/Loading.bmp", 16, 16, 640, 480},
    {"img/Tital.bmp", 2015, 480, 4096, 4096},
    {"img/main.bmp", 641, 791, 4096, 4096},
    {"img/GameMenu_0.bmp", 640, 665, 4096, 4096},
    {"img/GameMenu_1.bmp", 640, 665, 4096, 4096},
    {"img/GameMenu_2.bmp", 640, 665, 4096, 4096},
    {"img/how.bmp", 640, 530, 4096, 4096},
    {"img/SoundSet.bmp", 228, 136, 4096, 4096},
    {"img/boardSet.bmp", 184, 93, 4096, 4096},
    {"img/base_0.bmp", 640, 986, 4096, 4096},
    {"img/base_1.bmp", 640, 986, 4096, 4096},
    {"img/base_2.bmp", 640, 986, 4096, 4096},
    {"img/base_3.bmp", 640, 986, 4096, 4096},
    {"img/base_4.bmp", 640, 986, 4096, 4096},
    {"img/players.bmp", 720, 368, 4096, 4096},
    {"img/GameMenu_0_1.bmp", 640, 528, 4096, 4096},
    {"img/GameMenu_1_1.bmp", 640, 528, 4096, 4096},
    {"img/GameMenu_2_1.bmp", 640, 528, 4096, 4096},
    {"img/gameTable.bmp", 640, 528, 4096, 4096},
    {"img/GameTableWorld.bmp", 640, 528, 4096, 4096},
    {"img/gamePoint.bmp", 640, 545, 4096, 4096},
    {"img/GamePointWorld.bmp", 640, 545, 4096, 4096},
    {"img/gamestart.bmp", 640, 840, 4096, 4096},
    {"img/toplist.bmp", 640, 542, 4096, 4096},
    {"img/License.bmp", 640, 1056, 4096, 4096},
    {"img/icon.bmp", 32, 32, 32, 32},
};

}  // namespace

TEST(PictureFiles, EveryPictureIsA24BitBottomUpBmpOfTheNeededSize) {
  for (const Expected& e : kFiles) {
    SCOPED_TRACE(e.name);
    const std::vector<uint8_t> bytes = ReadFile(e.name);
    ASSERT_FALSE(bytes.empty()) << "missing";
    const auto c = DecodeBmp(bytes);
    ASSERT_TRUE(c) << "not a plain 24-bit bottom-up BMP with exact padding";
    EXPECT_GE(c->W(), e.minW);
    EXPECT_GE(c->H(), e.minH);
    EXPECT_LE(c->W(), e.maxW);
    EXPECT_LE(c->H(), e.maxH);
    if (std::string(e.name).rfind("cursor/", 0) == 0) {
      EXPECT_EQ(c->H(), 64);
      EXPECT_EQ(c->W() % 64, 0) << "a partial frame would be ignored";
    }
  }
}

TEST(PictureFiles, TheGeneratorListsExactlyTheseFiles) {
  std::vector<std::string> listed;
  for (const pic::PictureJob& job : pic::AllPictures()) listed.push_back(job.name);
  ASSERT_EQ(listed.size(), std::size(kFiles));
  for (const Expected& e : kFiles)
    EXPECT_NE(std::find(listed.begin(), listed.end(), e.name), listed.end()) << e.name;
}

TEST(PictureFiles, BuildOutputMatchesAFreshRenderingByteForByte) {
  // Rendered in parallel as the generator does; the slowest test under the sanitizers.
  const auto& jobs = pic::AllPictures();
  std::vector<std::vector<uint8_t>> fresh(jobs.size());
  std::vector<std::thread> workers;
  for (size_t i = 0; i < jobs.size(); ++i)
    workers.emplace_back([&, i] { fresh[i] = jobs[i].make(TestFont()).EncodeBmp(); });
  for (auto& w : workers) w.join();
  for (size_t i = 0; i < jobs.size(); ++i) {
    // The build ran in another process: equal bytes mean the output is deterministic.
    EXPECT_TRUE(fresh[i] == ReadFile(jobs[i].name)) << jobs[i].name;
  }
}

TEST(PictureFiles, CacheNamesAreThePathLowerCasedWithImg) {
  EXPECT_EQ(pic::CacheName("img/Tital.bmp"), "img/tital.img");
  EXPECT_EQ(pic::CacheName("img/GameMenu_2.bmp"), "img/gamemenu_2.img");
  EXPECT_EQ(pic::CacheName("cursor/cursor_0.bmp"), "cursor/cursor_0.img");
}

TEST(PictureFiles, RegeneratingRemovesStaleCachesAndLeavesOthers) {
  const fs::path dir = fs::temp_directory_path() / ("genpictures_test_" + std::to_string(getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir / "img");
  auto touch = [](const fs::path& p) { std::ofstream(p) << "stale"; };
  touch(dir / "img/tital.img");
  touch(dir / "img/main.img");
  const std::string cmd =
      std::string(GENPICTURES_EXE) + " " + dir.string() + " font16.fnt img/Tital.bmp > /dev/null";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  EXPECT_FALSE(fs::exists(dir / "img/tital.img"));
  EXPECT_TRUE(fs::exists(dir / "img/main.img")) << "only the regenerated picture's cache goes";
  EXPECT_EQ(ReadFile((dir / "img/Tital.bmp").string()), ReadFile("img/Tital.bmp"));
  EXPECT_FALSE(fs::exists(dir / "img/Tital.bmp.tmp"));
  fs::remove_all(dir);
}

TEST(PictureFiles, AMissingGlyphFileFailsTheBuild) {
  const std::string cmd =
      std::string(GENPICTURES_EXE) + " /nonexistent-dir /nonexistent-font > /dev/null 2>&1";
  EXPECT_NE(std::system(cmd.c_str()), 0);
}
