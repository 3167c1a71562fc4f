#include "common/gbk/gbk_search.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// 誠 is D5 5C in GBK; 表 is B1 ED. Both stand in a path like any other character.
const std::string kCheng = "\xD5\x5C";

TEST(GbkSearch, TrailByte5CIsNeverABackslash) {
  const std::string path = "D:\\setup\\" + kCheng + "\\install.exe";
  EXPECT_EQ(gbk::FindLastBackslash(path), path.size() - std::string("install.exe").size() - 1);
  EXPECT_EQ(gbk::FindLastBackslash("D:\\" + kCheng), 2u);
  EXPECT_EQ(gbk::FindLastBackslash(kCheng + kCheng), gbk::npos);
  EXPECT_EQ(gbk::FindLastBackslash("noslash"), gbk::npos);
}

TEST(GbkSearch, MatchesStartOnlyAtCharacterBoundaries) {
  // "\x5C" inside 誠 followed by "uninstall.exe" must not be taken for "\uninstall.exe".
  const std::string value = "C:\\" + kCheng + "uninstall.exe";
  EXPECT_EQ(gbk::Find(value, "\\uninstall.exe"), gbk::npos);
  const std::string real = "C:\\" + kCheng + "\\uninstall.exe";
  EXPECT_EQ(gbk::Find(real, "\\uninstall.exe"), 5u);
  EXPECT_EQ(gbk::Find("C:\\Windows", ":\\"), 1u);
  EXPECT_EQ(gbk::Find("\xB1:\\x", ":\\"), gbk::npos) << "B1 3A is one character";
}

TEST(GbkSearch, FindFromAPositionAndTheLastOccurrence) {
  const std::string text = "a.inf\\b.inf\\c.inf";
  EXPECT_EQ(gbk::Find(text, ".inf", 2), 7u);
  EXPECT_EQ(gbk::FindLast(text, ".inf"), 13u);
  EXPECT_EQ(gbk::FindLast("uninstall", ".inf"), gbk::npos);
  EXPECT_EQ(gbk::FindLast(kCheng + "inf", "\\inf"), gbk::npos);
}

TEST(GbkSearch, ALeadByteAtTheEndStandsAlone) {
  const std::string text = "ab\\\xD5";
  EXPECT_EQ(gbk::FindLastBackslash(text), 2u);
  EXPECT_TRUE(gbk::Contains("C:\\Program Files\\Morvessa\\Quendral2", "C:\\Program Files\\Morvessa\\Quendral"));
  EXPECT_FALSE(gbk::Contains("D:\\Apps", "C:\\Program Files\\Morvessa"));
}

// Names Windows takes for the same file fold alike; a trail byte in a letter's range is
// part of its character and stays.
TEST(GbkSearch, FoldingTouchesOnlyTheAsciiLetters) {
  EXPECT_EQ(gbk::FoldAsciiLetters("data\\Word\\x.TXT"), "DATA\\WORD\\X.TXT");
  EXPECT_EQ(gbk::FoldAsciiLetters("\x81\x61" "a\x81\x41"), "\x81\x61" "A\x81\x41");
  EXPECT_EQ(gbk::FoldAsciiLetters("ab\xD5"), "AB\xD5") << "a lead byte at the end";
}

}  // namespace
