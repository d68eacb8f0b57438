#include "app/core/showable_text.h"

#include <gtest/gtest.h>

#include <string>

#include "app/core/logs.h"
#include "app/core/messages.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

TEST(ShowableTextTest, ControlCharactersAndBytesThatAreNoTextBecomeQuestionMarks) {
  const struct {
    std::string text;
    std::string shown;
  } cases[] = {
      {"Credit: 100 downloads", "Credit: 100 downloads"},
      {"Wait until:\t12:00\nTime:\t11:59", "Wait until:\t12:00\nTime:\t11:59"},
      {"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x93\x88", "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x93\x88"},
      {"\x1b]0;owned\x07", "?]0;owned?"},
      {"\x1b[2J\x1b[31mred", "?[2J?[31mred"},
      {"a\rb\x7f" "c", "a?b?c"},
      {std::string("nul\0here", 8), "nul?here"},
      {"\x9b" "31m", "?31m"},             // a lone byte of the 8-bit controls
      {"\xc2\x9b" "31m", "?31m"},         // the same control written as UTF-8
      {"\xff\xfe", "??"},
      {"\xc3\x28", "?("},                 // a sequence cut short
      {"\xc0\xaf", "??"},                 // an overlong '/'
      {"\xed\xa0\x80", "???"},            // a surrogate
      {"\xe2\x82", "??"},                 // cut at the end of the text
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ShowableText(c.text), c.shown) << ::testing::PrintToString(c.text);
  }
}

TEST(ShowableTextTest, MessagesAndLogsNeverCarryThem) {
  testing::TempDir dir;
  Logs::SetDirectory(dir.path());
  Logs::SetDebugMode(1);
  ScopedMessages messages;
  message2("Datafile not found", "AB\x1b[2JC");
  errorMessage("\x1b]0;title\x07");
  Logs::Report("Credit: \x1b[31mred");
  Logs::Debug("search_in_master failed [\x1b[2J]");
  ASSERT_EQ(messages->shown().size(), 2u);
  EXPECT_EQ(messages->shown()[0].text, "Datafile not found AB?[2JC");
  EXPECT_EQ(messages->shown()[1].text, "?]0;title?");
  EXPECT_EQ(dir.read("kvqt.rpt"), "Credit: ?[31mred\r\n");
  EXPECT_EQ(dir.read("kvqt.dbg"), "search_in_master failed [?[2J]\r\n");
  Logs::SetDebugMode(0);
  Logs::SetDirectory("");
}

}  // namespace
}  // namespace kvqt
