#include "platform/ini_profile.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace kvqt::platform {
namespace {

using kvqt::testing::TempDir;

TEST(IniProfileTest, ReadsWithCaseInsensitiveNamesTrimmedValuesAndQuotesRemoved) {
  TempDir dir;
  dir.write("a.ini",
            "; comment\r\n[Other]\r\nkey=wrong\r\n[CONFIGURE]\r\n  Key  =  value with blanks  \r\n"
            "quoted=\"q v\"\nsingle='s'\nhalf=\"open\nempty=\n");
  const std::string file = dir.file("a.ini");
  struct Case {
    const char* key;
    const char* expected;
  } cases[] = {{"key", "value with blanks"}, {"KEY", "value with blanks"}, {"quoted", "q v"},
               {"single", "s"},              {"half", "\"open"},           {"empty", ""}};
  for (const auto& c : cases) {
    EXPECT_EQ(GetProfileString(file, "configure", c.key, "dflt"), c.expected) << c.key;
  }
  EXPECT_EQ(GetProfileString(file, "configure", "absent", "dflt"), "dflt");
  EXPECT_EQ(GetProfileString(file, "missing", "key", "dflt"), "dflt");
  EXPECT_EQ(GetProfileString(dir.file("none.ini"), "configure", "key", "dflt"), "dflt");
  EXPECT_EQ(GetProfileString(file, "configure", "key", "", 6), "value");
}

TEST(IniProfileTest, IntegerReadTakesLeadingDigits) {
  TempDir dir;
  dir.write("a.ini", "[configure]\nplain=42\nsuffix=1x\nletters=abc\nnegative=-20\nblank= 7\n");
  const std::string file = dir.file("a.ini");
  struct Case {
    const char* key;
    int expected;
  } cases[] = {{"plain", 42}, {"suffix", 1}, {"letters", 0}, {"negative", 0}, {"blank", 7}, {"absent", 99}};
  for (const auto& c : cases) EXPECT_EQ(GetProfileInt(file, "configure", c.key, 99), c.expected) << c.key;
}

TEST(IniProfileTest, WriteCreatesFileSectionAndKeyAndKeepsOtherLines) {
  TempDir dir;
  const std::string file = dir.file("sub/dir/a.ini");
  ASSERT_TRUE(WriteProfileString(file, "configure", "one", "1"));
  EXPECT_EQ(kvqt::testing::ReadFileBytes(file), "[configure]\r\none=1\r\n");

  kvqt::testing::WriteFileBytes(file, "; keep me\n[Configure]\nONE = old\nother=x\n\n[next]\none=n\n");
  ASSERT_TRUE(WriteProfileString(file, "configure", "one", "new"));
  ASSERT_TRUE(WriteProfileString(file, "configure", "two", "2"));
  ASSERT_TRUE(WriteProfileString(file, "third", "k", "v"));
  EXPECT_EQ(kvqt::testing::ReadFileBytes(file),
            "; keep me\r\n[Configure]\r\none=new\r\nother=x\r\ntwo=2\r\n\r\n[next]\r\none=n\r\n[third]\r\nk=v\r\n");
  EXPECT_EQ(GetProfileString(file, "next", "one", ""), "n");
}

}  // namespace
}  // namespace kvqt::platform
