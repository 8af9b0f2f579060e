#include <gtest/gtest.h>

#include "Big5.h"
#include "WinString.h"

namespace {

std::string U8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

// 許 B3 5C, 功 A5 5C, 蓋 BB 5C end in '\'; 四 A5 7C ends in '|'; 乙 A4 41 ends in 'A'.
const std::string kBackslashTrails = "\xB3\\\xA5\\\xBB\\";

TEST(Big5, LiteralsAreCompiledToBig5) {
  EXPECT_EQ(std::string("確定"), "\xBD\x54\xA9\x77");
  EXPECT_EQ(Utf8ToBig5(U8(u8"確定")), "確定");
  EXPECT_EQ(Utf8ToBig5(U8(u8"許功蓋")), kBackslashTrails);
}

TEST(Big5, RoundTripsThroughUtf8IncludingBackslashAndBarTrails) {
  for (const char8_t* s : {u8"許功蓋", u8"[死四]", u8"五子棋棋力證書申請  電腦鑑定棋力為[五級!]",
                           u8"Player 乙A", u8""}) {
    std::string big5 = Utf8ToBig5(U8(s));
    EXPECT_EQ(Big5ToUtf8(big5), U8(s));
  }
  std::u32string ucs = Big5ToUcs(Utf8ToBig5(U8(u8"四|")));
  EXPECT_EQ(ucs, U"四|");
}

TEST(Big5, BadBytesBecomeReplacementCharacters) {
  // Stray lead at the end, lead + non-trail, bytes that are never Big5, an unassigned code.
  EXPECT_EQ(Big5ToUcs("A\xA4"), U"A\uFFFD");
  EXPECT_EQ(Big5ToUcs("\xA4"
                      " x"),
            U"\uFFFD x");
  EXPECT_EQ(Big5ToUcs("\x80\xFF"), U"\uFFFD\uFFFD");
  EXPECT_EQ(Big5CodeToUcs(0xA3FE), 0u);
  EXPECT_EQ(Big5ToUcs("\xA3\xFE"), U"\uFFFD");
}

TEST(Big5, UnencodableInputIsReplacedOrDropped) {
  EXPECT_EQ(Utf8ToBig5("a\xF0\x9F\x98\x80"
                       "b"),
            "a?b");
  EXPECT_EQ(Utf8ToBig5("a\xF0\x9F\x98\x80"
                       "b",
                       0),
            "ab");
  EXPECT_EQ(Utf8ToBig5("a\xC3(b"), "a?(b");  // malformed sequence
  EXPECT_EQ(Utf8ToBig5("\xE7\xA2"), "?");    // truncated at the end
  EXPECT_EQ(Utf8ToBig5("\xC2\x80"), "?");    // U+0080 has no double-byte code
}

TEST(Big5, CharacterSteppingNeverSplitsOrMisreadsTrailBytes) {
  std::string s = "A" + kBackslashTrails + "B";  // A 許 功 蓋 B
  EXPECT_EQ(Big5CharSize(s, 0), 1u);
  EXPECT_EQ(Big5CharSize(s, 1), 2u);
  EXPECT_EQ(Big5CharSize(s, s.size()), 0u);
  EXPECT_EQ(Big5PrevChar(s, 7), 5u);
  EXPECT_EQ(Big5PrevChar(s, 3), 1u);
  EXPECT_EQ(Big5PrevChar(s, 0), 0u);
  EXPECT_EQ(Big5FitLength(s, 4), 3u);
  EXPECT_EQ(Big5FitLength(s, 3), 3u);
  EXPECT_EQ(Big5FitLength(s, 100), s.size());
  // A 19-byte cut of nine Chinese characters and a letter keeps whole characters only.
  std::string name = "X";
  name += Utf8ToBig5(U8(u8"一二三四五六七八九十"));
  EXPECT_EQ(Big5FitLength(name, 19), 19u);
  EXPECT_EQ(Big5FitLength(name.substr(1), 19), 18u);
  // Lower-casing changes letters only, not the 'A' trail of 乙 (A4 41).
  EXPECT_EQ(Big5ToLower("IMG\\\xA4"
                        "A.BMP"),
            "img\\\xA4"
            "A.bmp");
}

TEST(CString, FormatTreatsHashOnIntegersAsZeroPadding) {
  CString s;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat"
  s.Format("save\\%0#2i_%0#2i_%0#2i.sav", 1, 2, 5);
  EXPECT_STREQ(s, "save\\01_02_05.sav");
  s.Format("%0#4i年%2i月%2i日 %0#2i:%0#2i:%0#2i", 2024, 3, 14, 7, 5, 9);
  EXPECT_STREQ(s, "2024年 3月14日 07:05:09");
  s.Format("%0#2d|%#x|%%|%#o", 1234567, 255, 8);
  EXPECT_STREQ(s, "1234567|0xff|%|010");
#pragma GCC diagnostic pop
  std::string longName(5000, 'x');
  s.Format("%s %i分", longName.c_str(), -3);
  EXPECT_EQ(s.GetLength(), 5000 + 1 + 2 + 2);
}

TEST(CString, SearchesSkipTrailBytes) {
  CString path = CString(kBackslashTrails.c_str()) + "\\dir\\" + "四.sav";  // 許功蓋\dir\四.sav
  EXPECT_EQ(path.Find('\\'), 6);
  EXPECT_EQ(path.ReverseFind('\\'), 10);
  EXPECT_EQ(CString("四").Find('|'), -1);
  EXPECT_EQ(path.Find(".sav"), 13);
  EXPECT_EQ(path.Find("\\", 7), 10);
  EXPECT_EQ(CString("abc").Find(""), 0);
  // A match that would start on a trail byte is not a match.
  EXPECT_EQ(CString("\xA5|").Find("|"), -1);
}

TEST(CString, CachePathsAreDerivedByLowerCaseAndReplace) {
  CString p = "img\\Board.BMP";
  p.MakeLower();
  EXPECT_EQ(p.Replace(".bmp", ".img"), 1);
  EXPECT_STREQ(p, "img\\board.img");
  CString q =
      "\xA4"
      "A.wav.wav";
  q.MakeLower();
  EXPECT_EQ(q.Replace(".wav", ".snd"), 2);
  EXPECT_EQ(q,
            "\xA4"
            "A.snd.snd");
}

TEST(CString, SubstringsClampLikeTheFramework) {
  CString s = "notes.backup";
  EXPECT_EQ(s.Right(5), "ackup");
  EXPECT_EQ(s.Right(50), s);
  EXPECT_EQ(s.Left(-1), "");
  EXPECT_EQ(s.Left(5), "notes");
  EXPECT_EQ(s.Mid(6), "backup");
  EXPECT_EQ(s.Mid(6, 100), "backup");
  EXPECT_EQ(s.Mid(99), "");
  EXPECT_EQ(s.Mid(-2, 3), "not");
  CString e;
  EXPECT_TRUE(e.IsEmpty());
  e += "a";
  e += 'b';
  EXPECT_EQ("x" + e + "y", "xaby");
  e.Empty();
  EXPECT_EQ(e.GetLength(), 0);
  EXPECT_STREQ(CString(nullptr), "");
  EXPECT_LT(CString("a"), CString("b"));
}

}  // namespace
