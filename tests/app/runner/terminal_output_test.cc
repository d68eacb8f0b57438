#include "app/runner/terminal_output.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/core/logs.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

using kvqt::testing::TempDir;

struct Fed {
  std::vector<std::string> lines;
  std::string pending;
};

Fed Feed(const std::string& bytes) {
  TerminalLineBuilder builder;
  Fed fed;
  std::string line;
  for (char c : bytes) {
    if (builder.add(c, line)) fed.lines.push_back(line);
  }
  fed.pending = builder.pending();
  return fed;
}

TEST(TerminalLineBuilderTest, BuildsReportLinesFromReceivedBytes) {
  const std::string x78(78, 'x');
  struct Case {
    const char* name;
    std::string input;
    std::vector<std::string> lines;
    std::string pending;
  } cases[] = {
      {"CR LF is one line end", "abc\r\ndef\r\n", {"abc", "def"}, ""},
      {"lone LF ends the line", "abc\ndef", {"abc"}, "def"},
      {"lone CR ends the line", "abc\rdef\r", {"abc", "def"}, ""},
      {"CR CR LF gives an empty line", "x\r\r\n", {"x", ""}, ""},
      {"LF LF keeps the empty line", "a\n\nb", {"a", ""}, "b"},
      {"bell shown as [07]", std::string("\x07ok\n"), {"[07]ok"}, ""},
      {"escape upper-case hex", std::string("\x1b\x7f\n"), {"[1B][7F]"}, ""},
      {"NUL and high bytes dropped", std::string("a\0b\x80\xff" "c\n", 7), {"abc"}, ""},
      {"tab, blank and punctuation kept", "\tA-1, (b)!\n", {"\tA-1, (b)!"}, ""},
      {"80 characters make a line", std::string(85, 'x'), {std::string(80, 'x')}, std::string(5, 'x')},
      {"exactly 80 then a line end", std::string(80, 'y') + "\r\n", {std::string(80, 'y'), ""}, ""},
      {"an escape that does not fit starts the next line", x78 + "\x01z", {x78}, "[01]z"},
      {"an escape that fits completes the line", std::string(76, 'x') + "\x01z", {std::string(76, 'x') + "[01]"}, "z"},
  };
  for (const Case& c : cases) {
    Fed fed = Feed(c.input);
    EXPECT_EQ(fed.lines, c.lines) << c.name;
    EXPECT_EQ(fed.pending, c.pending) << c.name;
  }
}

TEST(TerminalLineBuilderTest, LineFeedAfterCarriageReturnIsDroppedOnlyRightAfterIt) {
  Fed fed = Feed("a\rb\nc\r\r\n");
  EXPECT_EQ(fed.lines, (std::vector<std::string>{"a", "b", "c", ""}));
}

class TerminalDumpTest : public ::testing::Test {
 protected:
  void SetUp() override { Logs::SetDirectory(dir_.path()); }
  void TearDown() override {
    Logs::SetDirectory("");
    Logs::SetDebugMode(0);
  }
  TempDir dir_;
};

TEST_F(TerminalDumpTest, DumpsEveryByteTenToALineInDebugMode) {
  Logs::SetDebugMode(1);
  TerminalDump dump;
  for (char c : std::string("OK 12\r\n\x07\x80z!")) dump.add(c);
  // Letters and digits as "%2c ", everything else (high bytes too) as "%.2x ".
  EXPECT_EQ(dir_.read("kvqt.dbg"), " O  K 20  1  2 0d 0a 07 80  z \r\n21 ");
}

TEST_F(TerminalDumpTest, WritesNothingOutsideDebugMode) {
  TerminalDump dump;
  for (char c : std::string("hello\n")) dump.add(c);
  EXPECT_FALSE(dir_.exists("kvqt.dbg"));
}

}  // namespace
}  // namespace kvqt
