#include "app/datafile/login_record.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/clock.h"
#include "support/hex.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

using kvqt::testing::Hex;
using kvqt::testing::Le32;
using kvqt::testing::Padded;
using kvqt::testing::TempDir;
using kvqt::testing::ToHex;

TEST(LoginRecordTest, PasswordScrambling) {
  struct Case {
    const char* plain;
    const char* stored;
  } cases[] = {
      {"abc", "93 95 97"},
      {"", ""},
      {"00000000", "62 63 64 65 66 67 68 69"},
      // 0xFF + 50 wraps to 0x31.
      {"\xff", "31"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ToHex(ScramblePassword(c.plain)), ToHex(Hex(c.stored))) << c.plain;
    EXPECT_EQ(UnscramblePassword(Hex(c.stored)), c.plain) << c.stored;
  }
  // Reading stops at the first NUL.
  EXPECT_EQ(UnscramblePassword(Hex("93 95 00 97")), "ab");
}

TEST(LoginRecordTest, RecordLayout) {
  LoginRecord record;
  record.userNumber = "12345";
  record.password = "abc";
  record.reserved18 = {1, 2, 3, 4};
  record.reserved22 = {5, 6, 7, 8};
  record.sessionDate = Date(2024, 3, 15);
  record.sessionTime = Time(14, 30, 5);
  record.reserved34.fill(0xEE);
  std::string expected = Padded("12345", 9) + Hex("93 95 97 00 00 00 00 00 00") + Hex("01 02 03 04 | 05 06 07 08") +
                         Le32(20240315) + Le32(143005) + std::string(50, '\xee');
  EXPECT_EQ(ToHex(EncodeLoginRecord(record)), ToHex(expected));

  LoginRecord decoded = DecodeLoginRecord(expected);
  EXPECT_EQ(decoded.userNumber, "12345");
  EXPECT_EQ(decoded.password, "abc");
  EXPECT_EQ(decoded.reserved18, record.reserved18);
  EXPECT_EQ(decoded.reserved22, record.reserved22);
  EXPECT_EQ(decoded.sessionDate.value(), 20240315);
  EXPECT_EQ(decoded.sessionTime.value(), 143005);
  EXPECT_EQ(decoded.reserved34, record.reserved34);
}

TEST(LoginRecordTest, NullDateAndTimeAndFullTextFields) {
  // Nine characters without a NUL: the texts keep eight.
  std::string bytes = std::string("123456789") + ScramblePassword("abcdefghi") + std::string(8, '\0') + Le32(0) +
                      Le32(-1) + std::string(50, '\0');
  LoginRecord decoded = DecodeLoginRecord(bytes);
  EXPECT_EQ(decoded.userNumber, "12345678");
  EXPECT_EQ(decoded.password, "abcdefgh");
  EXPECT_TRUE(decoded.sessionDate.isNull());
  EXPECT_TRUE(decoded.sessionTime.isNull());
  EXPECT_EQ(EncodeLoginRecord(decoded).substr(26, 8), Le32(0) + Le32(-1));
}

TEST(LoginRecordTest, FileIsFiveZeroBytesAndTheRecordReadableByItsOwnerOnly) {
  TempDir dir;
  platform::ScopedFixedClock clock({2024, 3, 15, 14, 30, 5});
  LoginRecord record;
  record.userNumber = "12345";
  record.password = "abc";
  std::string path = dir.file("kvqt.prs");
  ASSERT_EQ(WriteLoginFile(path, record), 0);

  std::string bytes = dir.read("kvqt.prs");
  EXPECT_EQ(ToHex(bytes), ToHex(Hex("00 00 00 00 00") + EncodeLoginRecord(record)));
  EXPECT_EQ(bytes.size(), 89u);
  struct stat st;
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  EXPECT_EQ(st.st_mtime, platform::Now());

  LoginRecord read;
  EXPECT_EQ(ReadLoginFile(path, read), 0);
  EXPECT_EQ(read.password, "abc");
}

TEST(LoginRecordTest, MissingOrShortFileGivesAnEmptyRecord) {
  TempDir dir;
  LoginRecord record;
  record.userNumber = "stale";
  EXPECT_EQ(ReadLoginFile(dir.file("kvqt.prs"), record), -1);
  EXPECT_EQ(record.userNumber, "");

  LoginRecord full;
  full.userNumber = "12345";
  dir.write("kvqt.prs", (std::string(5, '\0') + EncodeLoginRecord(full)).substr(0, 88));
  EXPECT_EQ(ReadLoginFile(dir.file("kvqt.prs"), record), -1);
  EXPECT_EQ(record.userNumber, "");
  EXPECT_EQ(record.password, "");
  EXPECT_TRUE(record.sessionDate.isNull());
  EXPECT_TRUE(record.sessionTime.isNull());
}

TEST(LoginRecordTest, TheFivePrefixBytesAreNotRead) {
  TempDir dir;
  LoginRecord record;
  record.userNumber = "777";
  dir.write("kvqt.prs", std::string(5, 'x') + EncodeLoginRecord(record) + "trailing");
  LoginRecord read;
  EXPECT_EQ(ReadLoginFile(dir.file("kvqt.prs"), read), 0);
  EXPECT_EQ(read.userNumber, "777");
}

TEST(LoginRecordTest, AFailedWriteLeavesTheOldFile) {
  TempDir dir;
  LoginRecord record;
  EXPECT_EQ(WriteLoginFile(dir.file("missing/kvqt.prs"), record), -1);
}

}  // namespace
}  // namespace kvqt
