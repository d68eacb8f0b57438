#include "datetime/parse_date.h"

#include <gtest/gtest.h>

#include "debug_log.h"

namespace kvqt {
namespace {

using kvqt::testing::DebugLogCapture;

TEST(ParseDateTest, Patterns) {
  const struct {
    const char* text;
    const char* pattern;
    std::int32_t value;
  } cases[] = {
      {"1/2/99", "D/M/Y", 19990201},
      {"31-12-2037", "D-M-Y", 20371231},
      {" 1/ 2/ 1999", "D/M/Y", 19990201},  // blanks before a number, as strtol takes them
      {"1/1/2038", "D/M/Y", 0},
      {"1/2/49", "D/M/Y", 0},    // 2049
      {"1/2/50", "D/M/Y", 0},    // 1950
      {"1/2/150", "D/M/Y", 0},   // 2050
      {"1/2/1960", "D/M/Y", 0},  // a rejected year must not become 2000
      {"1/2/", "D/M/Y", 0},      // no year at all
      {"1/x/1999", "D/M/Y", 0},
      {"-1/2/1999", "D/M/Y", 0},
      {"990201", "ymd", 19990201},
      {" 90201", "ymd", 20090201},
      {"9 0201", "ymd", 0},  // a blank after a digit
      {"9902", "ymd", 0},    // the day is missing
      {"99-02-01", "y-m-d", 19990201},
      {"20000201", "?md", 20000201},
      {"1000201", "?md", 20000201},
      {"990201", "?md", 19990201},
      {"010299", "?md", 0},  // year 01, month 02, day 99
      {"20000201 ", "?md", 20000201},
      {"12345", "?md", 0},
      {"123456789", "?md", 0},
      {"x20000201", "?md", 0},
      {"", "?md", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseDate(c.text, c.pattern).value(), c.value) << c.text << " / " << c.pattern;
}

TEST(ParseDateTest, UserEntryRule) {
  const struct {
    const char* text;
    std::int32_t value;
  } cases[] = {
      {"1/2/99", 19990201}, {"1-2-1999", 19990201}, {"20000201", 20000201}, {"1000201", 20000201},
      {"990201", 19990201}, {"010299", 0},          {"31/12/2037", 20371231}, {"abc", 0},
      {"", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseUserDate(c.text).value(), c.value) << c.text;
}

TEST(ParseDateTest, UnconvertibleTextIsLogged) {
  DebugLogCapture log;
  EXPECT_TRUE(ParseDate("12345", "?md").isNull());
  EXPECT_EQ(log.text(), "cannot convert date \"12345\" with format \"?md\"\r\n");
}

}  // namespace
}  // namespace kvqt
