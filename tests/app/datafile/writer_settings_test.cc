#include "app/datafile/writer_settings.h"

#include <gtest/gtest.h>

namespace kvqt {
namespace {

TEST(WriterSettingsTest, FileTypeFromText) {
  struct Case {
    const char* text;
    int type;
  } cases[] = {
      {"1D", 257}, {"8D", 264}, {"0D", 256}, {"9 ", 9},  {"AD", 266}, {"FD", 271},
      {"aD", 266}, {"A", 10},   {"Ad", 10},  {"", -7},   {"?D", -7},  {" 1", -7},
  };
  for (const Case& c : cases) EXPECT_EQ(FileTypeFromText(c.text, -7), c.type) << '"' << c.text << '"';
}

TEST(WriterSettingsTest, DefaultsGive257And264With4000Records) {
  WriterSettings derived = DeriveWriterSettings(UserInfo{});
  EXPECT_EQ(derived, WriterSettings{});
  EXPECT_EQ(derived.technicalInvestorFileType, 257);
  EXPECT_EQ(derived.topVestFileType, 264);
  EXPECT_EQ(derived.technicalInvestorMaxRecords, 4000);
  EXPECT_EQ(derived.topVestMaxRecords, 4000);
}

TEST(WriterSettingsTest, MaximumRecordsAreTheLow16Bits) {
  UserInfo info;
  info.savft = "3D";
  info.tpvft = "5";
  info.savmr = 0x12345;
  info.tpvmr = -1;
  WriterSettings derived = DeriveWriterSettings(info);
  EXPECT_EQ(derived.technicalInvestorFileType, 259);
  EXPECT_EQ(derived.topVestFileType, 5);
  EXPECT_EQ(derived.technicalInvestorMaxRecords, 0x2345);
  EXPECT_EQ(derived.topVestMaxRecords, 0xFFFF);
}

TEST(WriterSettingsTest, ResetRestoresTheDefaults) {
  writerSettings().topVestFileType = 1;
  ResetWriterSettings();
  EXPECT_EQ(writerSettings(), WriterSettings{});
}

}  // namespace
}  // namespace kvqt
