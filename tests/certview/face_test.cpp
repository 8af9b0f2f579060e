// The small programs' faces through fontconfig: the preferred faces when installed, another face
// that draws the text when not, and a plain refusal when none does.
#include <gtest/gtest.h>

#include <SDL_ttf.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "FaceFile.h"
#include "ViewerTestUtil.h"

namespace {

class Faces : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(TTF_Init(), 0); }
  void TearDown() override { TTF_Quit(); }
};

const char* const kChinese = reinterpret_cast<const char*>(u8"現在時刻請更新機台");

TEST_F(Faces, PreferredFacesAreTakenAndBoldIsMadeWhereTheFaceHasNone) {
  struct Case {
    FaceWanted want;
    const char* family;
    const char* style;  // of the face in the file
  };
  const Case cases[] = {
      {{"AR PL UKai TW", kChinese, "zh-tw", true}, "AR PL UKai TW", "Book"},
      {{"AR PL UMing TW", kChinese, "zh-tw"}, "AR PL UMing TW", "Light"},
      {{"Liberation Sans", "12:00:00 PM", nullptr, true}, "Liberation Sans", "Bold"},
      {{"Liberation Serif", "12:00:00 PM"}, "Liberation Serif", "Regular"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.family);
    TTF_Font* f = OpenSystemFace(c.want, 16);
    ASSERT_NE(f, nullptr);
    EXPECT_STREQ(TTF_FontFaceFamilyName(f), c.family);
    EXPECT_STREQ(TTF_FontFaceStyleName(f), c.style);
    // SDL_ttf counts a bold face as bold style too.
    EXPECT_EQ((TTF_GetFontStyle(f) & TTF_STYLE_BOLD) != 0, c.want.bold);
    TTF_CloseFont(f);
  }
}

TEST_F(Faces, AMissingFamilyGivesAFaceThatDrawsTheTextAndNoFaceGivesNull) {
  TTF_Font* f = OpenSystemFace({"No Such Face", kChinese, "zh-tw"}, 16);
  ASSERT_NE(f, nullptr);
  for (Uint16 c : {0x73fe, 0x6a5f, 0x53f0}) EXPECT_TRUE(TTF_GlyphIsProvided(f, c)) << c;
  TTF_CloseFont(f);
  // A Latin face is no answer for Chinese text, however much it is preferred.
  f = OpenSystemFace({"Liberation Sans", kChinese}, 16);
  ASSERT_NE(f, nullptr);
  EXPECT_STRNE(TTF_FontFaceFamilyName(f), "Liberation Sans");
  TTF_CloseFont(f);
  EXPECT_EQ(OpenSystemFace({"AR PL UMing TW", "\xF4\x8F\xBF\xBD"}, 16), nullptr)
      << "U+10FFFD, private";
}

// With no face installed at all, the viewer and the clock say so and end instead of showing
// windows without their words.
TEST(FacelessPrograms, SaySoAndEnd) {
  const std::string game = std::filesystem::current_path();  // tests run in the game directory
  TempCwd dir;
  WriteBytes("fonts.conf", "<?xml version=\"1.0\"?><fontconfig><cachedir>" + dir.path() +
                               "</cachedir></fontconfig>");
  for (const char* program : {"Quillan", "call"}) {
    SCOPED_TRACE(program);
    const std::string command = "cd '" + dir.path() + "' && FONTCONFIG_FILE='" + dir.path() +
                                "/fonts.conf' SDL_VIDEODRIVER=dummy timeout 20 '" + game + "/" +
                                program + "' 2>&1";
    FILE* p = popen(command.c_str(), "r");
    ASSERT_NE(p, nullptr);
    std::string out;
    char buf[256];
    while (fgets(buf, sizeof buf, p)) out += buf;
    const int status = pclose(p);
    EXPECT_NE(WEXITSTATUS(status), 124) << "still running: " << out;
    EXPECT_NE(out.find("No installed font can draw"), std::string::npos) << out;
  }
}

}  // namespace
