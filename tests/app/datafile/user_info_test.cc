#include "app/datafile/user_info.h"

#include <gtest/gtest.h>

#include "support/hex.h"

namespace kvqt {
namespace {

using kvqt::testing::Hex;
using kvqt::testing::Le16;
using kvqt::testing::Le32;
using kvqt::testing::Padded;
using kvqt::testing::ToHex;

std::string Zeros(std::size_t n) { return std::string(n, '\0'); }

UserInfo Sample() {
  UserInfo info;
  info.savft = "AD";
  info.tpvft = "F0";
  info.savmr = 2000;
  info.tpvmr = 70000;
  info.telno1 = "0201234567";
  info.telno2 = "0207654321";
  info.NetworkDestination = "quotes.example";
  info.connection = 2;
  info.commport = 3;
  info.baudrate = 57600;
  info.dialtype = 0;
  info.ddir = "/home/u/dl/";
  info.initstring = "ATZ";
  info.disk = 2;
  info.lastsessiondate = Date(2024, 1, 5);
  return info;
}

void ExpectSample(const UserInfo& info, const std::string& destination) {
  EXPECT_EQ(info.savft, "AD");
  EXPECT_EQ(info.tpvft, "F0");
  EXPECT_EQ(info.savmr, 2000);
  EXPECT_EQ(info.tpvmr, 70000);
  EXPECT_EQ(info.telno1, "0201234567");
  EXPECT_EQ(info.telno2, "0207654321");
  EXPECT_EQ(info.NetworkDestination, destination);
  EXPECT_EQ(info.connection, 2);
  EXPECT_EQ(info.commport, 3);
  EXPECT_EQ(info.baudrate, 57600);
  EXPECT_EQ(info.dialtype, 0);
  EXPECT_EQ(info.ddir, "/home/u/dl/");
  EXPECT_EQ(info.initstring, "ATZ");
  EXPECT_EQ(info.disk, 2);
  EXPECT_EQ(info.lastsessiondate.value(), 20240105);
}

// The sample in the 250-byte layout of versions up to 10504.
std::string SampleOldBytes() {
  return Padded("AD", 3) + Padded("F0", 3) + Le32(2000) + Le32(70000) + Padded("0201234567", 21) +
         Padded("0207654321", 21) + Hex("02 03") + Le32(57600) + Hex("00") + Padded("/home/u/dl/", 81) +
         Padded("ATZ", 100) + Le16(2) + Le32(20240105);
}

TEST(UserInfoTest, DefaultsEncodeAt281Bytes) {
  std::string expected = Hex("31 44 00 | 38 44 00 | a0 0f 00 00 | a0 0f 00 00") + Zeros(21 + 21 + 31) +
                         Hex("04 | 00 | 00 00 00 00 | 01") + Zeros(81 + 100) + Hex("00 00 | 00 00 00 00");
  ASSERT_EQ(expected.size(), 281u);
  EXPECT_EQ(ToHex(EncodeUserInfo(UserInfo{})), ToHex(expected));
}

TEST(UserInfoTest, FieldsSitAtTheirOffsets) {
  std::string expected = Padded("AD", 3) + Padded("F0", 3) + Le32(2000) + Le32(70000) + Padded("0201234567", 21) +
                         Padded("0207654321", 21) + Padded("quotes.example", 31) + Hex("02 03") + Le32(57600) +
                         Hex("00") + Padded("/home/u/dl/", 81) + Padded("ATZ", 100) + Le16(2) + Le32(20240105);
  ASSERT_EQ(expected.size(), 281u);
  EXPECT_EQ(ToHex(EncodeUserInfo(Sample())), ToHex(expected));

  UserInfo decoded;
  EXPECT_TRUE(DecodeUserInfo(expected, decoded));
  ExpectSample(decoded, "quotes.example");
}

TEST(UserInfoTest, OldLayoutHasNoNetworkDestination) {
  std::string old = SampleOldBytes();
  ASSERT_EQ(old.size(), 250u);
  UserInfo decoded;
  decoded.NetworkDestination = "left over";
  EXPECT_TRUE(DecodeOldUserInfo(old, decoded));
  ExpectSample(decoded, "");
}

TEST(UserInfoTest, TextsAreCutToTheirFields) {
  // No NUL in the 3 and 21 bytes: the text keeps room for one.
  std::string bytes = EncodeUserInfo(UserInfo{});
  bytes.replace(0, 3, "XYZ");
  bytes.replace(14, 21, std::string(21, 'T'));
  UserInfo decoded;
  DecodeUserInfo(bytes, decoded);
  EXPECT_EQ(decoded.savft, "XY");
  EXPECT_EQ(decoded.telno1, std::string(20, 'T'));

  UserInfo longer;
  longer.initstring = std::string(150, 'I');
  EXPECT_EQ(EncodeUserInfo(longer).substr(175, 100), std::string(99, 'I') + '\0');
}

TEST(UserInfoTest, ARecordCutShortKeepsTheFieldsItHolds) {
  std::string bytes = EncodeUserInfo(Sample());
  struct Case {
    std::size_t length;
    const char* savft;
    std::int32_t tpvmr;
    int connection;
  } cases[] = {
      {0, "1D", 4000, 4},
      {2, "1D", 4000, 4},
      {3, "AD", 4000, 4},
      {13, "AD", 4000, 4},
      {14, "AD", 70000, 4},
      {87, "AD", 70000, 4},
      {88, "AD", 70000, 2},
  };
  for (const Case& c : cases) {
    UserInfo info;
    EXPECT_FALSE(DecodeUserInfo(std::string_view(bytes).substr(0, c.length), info));
    EXPECT_EQ(info.savft, c.savft) << c.length;
    EXPECT_EQ(info.tpvmr, c.tpvmr) << c.length;
    EXPECT_EQ(info.connection, c.connection) << c.length;
  }
}

TEST(UserInfoTest, ConnectionIsClamped) {
  struct Case {
    int stored, read;
  } cases[] = {{0, 0}, {1, 0}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 0}, {255, 0}};
  for (const Case& c : cases) {
    UserInfo info;
    info.connection = static_cast<std::uint8_t>(c.stored);
    ClampConnection(info);
    EXPECT_EQ(info.connection, c.read) << c.stored;
  }
}

TEST(UserInfoTest, AnImpossibleDateReadsAsNull) {
  std::string bytes = EncodeUserInfo(UserInfo{});
  bytes.replace(277, 4, Le32(20241340));
  UserInfo info;
  DecodeUserInfo(bytes, info);
  EXPECT_TRUE(info.lastsessiondate.isNull());
}

}  // namespace
}  // namespace kvqt
