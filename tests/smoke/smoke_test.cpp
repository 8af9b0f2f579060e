#include <gtest/gtest.h>

#include <cstring>

#include "EngineHost.h"

// Big5 literals: the build converts UTF-8 source text to code page 950.
TEST(Build, ChineseLiteralsAreBig5) {
  const char* s = "很好玩";
  ASSERT_EQ(std::strlen(s), 6u);
  EXPECT_EQ(static_cast<unsigned char>(s[0]), 0xAB);
  EXPECT_EQ(static_cast<unsigned char>(s[1]), 0xDC);
}

TEST(EngineHost, DefaultsAreHarmless) {
  EngineHost::PumpMessage();
  EngineHost::Beep(1000, 10);
  std::string path;
  EXPECT_FALSE(EngineHost::ChooseFile(true, "*.SAV", path));
  uint32_t a = EngineHost::Milliseconds();
  EXPECT_GE(EngineHost::Milliseconds() - a, 0u);
}
