#include "app/configuration.h"

#include <gtest/gtest.h>

#include "app/datafile/writer_settings.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

using kvqt::testing::TempDir;

TEST(ConfigurationTest, FileTypeCodeListsInOrder) {
  const std::vector<std::string> ti = {"1", "1D", "2", "2D", "3", "3D", "4", "4D",
                                       "5", "5D", "6", "6D", "7", "7D"};
  EXPECT_EQ(TechnicalInvestorFileTypeCodes(), ti);
  const auto& tv = TopVestFileTypeCodes();
  ASSERT_EQ(tv.size(), 20u);
  EXPECT_EQ(tv.front(), "1");
  EXPECT_EQ(tv[15], "8D");
  EXPECT_EQ(tv[18], "A");
  EXPECT_EQ(tv.back(), "AD");
}

TEST(ConfigurationTest, FileTypeCodesAndNumbers) {
  struct Case {
    const char* code;
    int number;
  };
  const Case cases[] = {{"1", 1}, {"1D", 257}, {"7D", 263}, {"8D", 264}, {"9", 9}, {"A", 10}, {"AD", 266}};
  for (const Case& c : cases) {
    EXPECT_EQ(FileTypeNumber(c.code), c.number) << c.code;
    EXPECT_EQ(FileTypeCode(c.number), c.code) << c.number;
  }
  for (const char* bad : {"", "1X", "1DD", "-", "%D"}) EXPECT_EQ(FileTypeNumber(bad), -1) << bad;
  EXPECT_EQ(FileTypeCode(-1), "");
  EXPECT_EQ(FileTypeCode(100), "");
}

TEST(ConfigurationTest, StoredCodeSelectsItsEntryElseTheDefault) {
  const auto& tv = TopVestFileTypeCodes();
  EXPECT_EQ(tv[FileTypeIndex(tv, "aD", "8D")], "AD");
  EXPECT_EQ(tv[FileTypeIndex(tv, "3", "8D")], "3");
  EXPECT_EQ(tv[FileTypeIndex(tv, "", "8D")], "8D");
  const auto& ti = TechnicalInvestorFileTypeCodes();
  EXPECT_EQ(ti[FileTypeIndex(ti, "9D", "1D")], "1D");
}

TEST(ConfigurationTest, MaximumRecordsFromOneTo9999) {
  struct Case {
    const char* text;
    std::optional<int> value;
  };
  const Case cases[] = {{"1", 1},        {"9999", 9999},      {" 4000 ", 4000},   {"10000", std::nullopt},
                        {"0", std::nullopt}, {"", std::nullopt}, {"-5", std::nullopt}, {"12a", std::nullopt},
                        {"99999999999999999999", std::nullopt}};
  for (const Case& c : cases) EXPECT_EQ(ParseMaxRecords(c.text), c.value) << c.text;
}

TEST(ConfigurationTest, OpensWithTheStoredValuesAndTheDefaults) {
  TempDir dir;
  PersonalProfile settings(dir.file("kvqt.ini"));
  LoginRecord login;
  login.userNumber = "12345vqx";
  login.password = "secret12";
  UserInfo info;
  ConfigurationValues v = ReadConfiguration(login, info, settings);
  EXPECT_EQ(v.userNumber, "12345vqx");
  EXPECT_EQ(v.password, "secret12");
  EXPECT_EQ(v.destination, "<default>");
  EXPECT_EQ(v.technicalInvestorFileType, "1D");
  EXPECT_EQ(v.topVestFileType, "8D");
  EXPECT_EQ(v.technicalInvestorMaxRecords, "4000");
  EXPECT_EQ(v.topVestMaxRecords, "4000");
  EXPECT_TRUE(v.symbolChanges);
  EXPECT_FALSE(v.optionChanges);
  EXPECT_FALSE(v.splitFactors);
  EXPECT_TRUE(v.newVersion);
  EXPECT_EQ(v.orvistaProgramFolder, "c:\\Program Files\\Orvista2000");
  EXPECT_EQ(v.orvistaMonthsNewShare, 48);

  info.NetworkDestination = "quotes.example 9000";
  dir.write("kvqt.ini", "[configure]\r\nsinchanges=no\r\nsplitfactors=yes\r\norvista2k_months_new_share=12\r\n");
  v = ReadConfiguration(login, info, settings);
  EXPECT_EQ(v.destination, "quotes.example 9000");
  EXPECT_FALSE(v.symbolChanges);
  EXPECT_TRUE(v.splitFactors);
  EXPECT_EQ(v.orvistaMonthsNewShare, 12);
}

TEST(ConfigurationTest, OkStoresEverything) {
  TempDir dir;
  PersonalProfile settings(dir.file("kvqt.ini"));
  LoginRecord login;
  UserInfo info;
  info.connection = 0;
  info.NetworkDestination = "old.example";
  ResetWriterSettings();
  ConfigurationValues v = ReadConfiguration(login, info, settings);
  v.userNumber = "123456789";
  v.password = "abcdefghij";
  v.destination = "<default>";
  v.technicalInvestorFileType = "3";
  v.topVestFileType = "AD";
  v.technicalInvestorMaxRecords = "9999";
  v.topVestMaxRecords = "1";
  v.optionChanges = true;
  v.newVersion = false;
  v.orvistaProgramFolder = "c:\\Orvista2000";
  v.orvistaMonthsNewShare = 6;
  EXPECT_FALSE(ApplyConfiguration(v, login, info, settings));
  EXPECT_EQ(login.userNumber, "12345678");
  EXPECT_EQ(login.password, "abcdefgh");
  EXPECT_EQ(info.NetworkDestination, "");
  EXPECT_EQ(info.connection, 4);
  EXPECT_EQ(info.savft, "3");
  EXPECT_EQ(info.tpvft, "AD");
  EXPECT_EQ(info.savmr, 9999);
  EXPECT_EQ(info.tpvmr, 1);
  EXPECT_EQ(writerSettings().technicalInvestorFileType, 3);
  EXPECT_EQ(writerSettings().topVestFileType, 266);
  EXPECT_EQ(writerSettings().technicalInvestorMaxRecords, 9999);
  EXPECT_EQ(dir.read("kvqt.ini"),
            "[configure]\r\nsinchanges=yes\r\noptionchanges=yes\r\nsplitfactors=no\r\nnewversion=no\r\n"
            "orvista2kpath=c:\\Orvista2000\r\norvista2k_months_new_share=6\r\nuploadprotocol=Zmodem\r\n");
  ResetWriterSettings();

  v.destination = "quotes.example 9000" + std::string(20, 'x');
  EXPECT_FALSE(ApplyConfiguration(v, login, info, settings));
  EXPECT_EQ(info.NetworkDestination, ("quotes.example 9000" + std::string(20, 'x')).substr(0, 30));
  ResetWriterSettings();
}

TEST(ConfigurationTest, RefusedMaximumChangesNothing) {
  struct Case {
    const char* ti;
    const char* tv;
    int field;
    const char* message;
  };
  const Case cases[] = {
      {"10000", "4000", 601,
       "The maximum number of records for the Technical Investor must be a number between 1 and 10000"},
      {"0", "10000", 601, "The maximum number of records for the Technical Investor must be a number between 1 and 10000"},
      {"4000", "10000", 603, "The maximum number of records for TopVest must be a number between 1 and 10000"},
      {"9999", "", 603, "The maximum number of records for TopVest must be a number between 1 and 10000"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    PersonalProfile settings(dir.file("kvqt.ini"));
    LoginRecord login;
    UserInfo info;
    ConfigurationValues v = ReadConfiguration(login, info, settings);
    v.userNumber = "12345vqx";
    v.technicalInvestorMaxRecords = c.ti;
    v.topVestMaxRecords = c.tv;
    auto problem = ApplyConfiguration(v, login, info, settings);
    ASSERT_TRUE(problem) << c.ti << " " << c.tv;
    EXPECT_EQ(problem->field, c.field);
    EXPECT_EQ(problem->message, c.message);
    EXPECT_EQ(login.userNumber, "");
    EXPECT_EQ(info.savmr, 4000);
    EXPECT_FALSE(dir.exists("kvqt.ini"));
  }
}

}  // namespace
}  // namespace kvqt
