#include "service/session/transfer_names.h"

#include <gtest/gtest.h>

#include <string>

namespace kvqt {
namespace {

TEST(TransferNamesTest, OnlyPlainNamesInTheWorkingDirectoryAreAccepted) {
  const struct {
    std::string name;
    bool plain;
  } cases[] = {
      {"result.zip", true},
      {"sksdat.dat", true},
      {"_kvqt.exe", true},
      {".hidden", true},
      {"a..b", true},
      {"name with blanks", true},
      {"", false},
      {".", false},
      {"..", false},
      {"../.profile", false},
      {"../result.zip", false},
      {"sub/result.zip", false},
      {"/etc/passwd", false},
      {"result.zip/", false},
      {"..\\result.zip", false},
      {"C:\\kvqt\\kvqt.exe", false},
      {"a>b", false},
      {"a<b", false},
      {"*.zip", false},
      {"result?.zip", false},
      {std::string("result.zip\0/../x", 16), false},
      // Names that act on a terminal or on the program a file is handed to.
      {"-rf", false},
      {"--help", false},
      {"a-b.zip", true},
      {"\x1b]0;owned\x07", false},
      {"\x1b[2J", false},
      {"result\t.zip", false},
      {"result\r", false},
      {"a\x7f", false},
      {"\xff\xfe", false},
      {"\xc3\x28", false},
      {"\xc2\x9b" "31m", false},
      {"caf\xc3\xa9.txt", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsPlainFileName(c.name), c.plain) << c.name;
  }
}

TEST(TransferNamesTest, SessionFileNamesCompareWithoutLetterCase) {
  EXPECT_TRUE(IsSessionFileName("result.zip", "result.zip"));
  EXPECT_TRUE(IsSessionFileName("RESULT.ZIP", "result.zip"));
  EXPECT_FALSE(IsSessionFileName("result.zip2", "result.zip"));
  EXPECT_FALSE(IsSessionFileName("kvqt.dat", "result.zip"));
  EXPECT_FALSE(IsSessionFileName("", "result.zip"));
}

TEST(TransferNamesTest, SizeIsAPositiveNumberWithinTheBound) {
  const struct {
    const char* text;
    bool valid;
    std::int64_t size;
  } cases[] = {
      {"2048", true, 2048},
      {"1", true, 1},
      {" 1500 ", true, 1500},
      {"0001500", true, 1500},
      {"2147483648", true, kMaxTransferSize},
      {"2147483649", false, 0},
      {"99999999999999999999", false, 0},
      {"", false, 0},
      {"   ", false, 0},
      {"0", false, 0},
      {"-5", false, 0},
      {"+5", false, 0},
      {"12abc", false, 0},
      {"1 2", false, 0},
      {"0x10", false, 0},
      {"1e3", false, 0},
  };
  for (const auto& c : cases) {
    std::int64_t size = -1;
    EXPECT_EQ(ParseTransferSize(c.text, &size), c.valid) << '"' << c.text << '"';
    // A refused size leaves the output alone.
    EXPECT_EQ(size, c.valid ? c.size : -1) << c.text;
  }
}

}  // namespace
}  // namespace kvqt
