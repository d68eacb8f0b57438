#include "app/core/personal_profile.h"

#include <gtest/gtest.h>

#include <cstring>

#include "support/temp_dir.h"

namespace kvqt {
namespace {

using kvqt::testing::TempDir;

TEST(PersonalProfileTest, TypedReadsWithDefaults) {
  TempDir dir;
  dir.write("kvqt.ini",
            "[configure]\r\ndebugmode=1x\r\nWindowPositionX=-20\r\nWindowPositionY=  +35abc\r\n"
            "sinchanges=Yes\r\nnewversion=yes\r\nprogramdatafile=my.dat\r\n");
  PersonalProfile p(dir.file("kvqt.ini"));
  EXPECT_EQ(p.getInt("debugmode", 0), 1);
  EXPECT_EQ(p.getInt("orvistadefaultmarket", 30), 30);
  EXPECT_EQ(p.getLong("WindowPositionX", 100), -20);
  EXPECT_EQ(p.getLong("WindowPositionY", 100), 35);
  EXPECT_EQ(p.getLong("absent", 640), 640);
  EXPECT_FALSE(p.isYes("sinchanges", "yes"));
  EXPECT_TRUE(p.isYes("newversion", "no"));
  EXPECT_TRUE(p.isYes("absent", "yes"));
  EXPECT_FALSE(p.isYes("absent", "no"));
  EXPECT_STREQ(p.getString("programdatafile", "kvqt.dat"), "my.dat");
}

TEST(PersonalProfileTest, SharedBufferHoldsOnlyTheLastValueCutTo198) {
  TempDir dir;
  dir.write("kvqt.ini", "[configure]\noutputformat=ASC\ninputfilename=" + std::string(300, 'i') + "\n");
  PersonalProfile p(dir.file("kvqt.ini"));
  const char* first = p.getString("outputformat", "");
  const char* second = p.getString("inputfilename", "");
  EXPECT_EQ(first, second);
  EXPECT_EQ(std::strlen(second), 198u);
  char small[4];
  p.getStringInto("outputformat", "", small, sizeof small);
  EXPECT_STREQ(small, "ASC");
}

TEST(PersonalProfileTest, WritesTheValueForms) {
  TempDir dir;
  PersonalProfile p(dir.file("cfg/kvqt.ini"));
  EXPECT_TRUE(p.putInt("DefaultDownloadDomain", 2));
  EXPECT_TRUE(p.putLong("WindowPositionX", -5));
  EXPECT_TRUE(p.putDate("sinchangesdate", 20261210));
  EXPECT_TRUE(p.putYesNo("splitfactors", true));
  EXPECT_TRUE(p.putYesNo("newversion", false));
  EXPECT_TRUE(p.putString("uploadprotocol", "Zmodem"));
  EXPECT_EQ(dir.read("cfg/kvqt.ini"),
            "[configure]\r\nDefaultDownloadDomain=2\r\nWindowPositionX=-5\r\nsinchangesdate=20261210\r\n"
            "splitfactors=yes\r\nnewversion=no\r\nuploadprotocol=Zmodem\r\n");
}

}  // namespace
}  // namespace kvqt
