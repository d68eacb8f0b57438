// The start-date fields of the instrument and convert dialogs.
#include "maintenance/start_date_text.h"

#include <gtest/gtest.h>

#include "platform/clock.h"

namespace kvqt {
namespace {

TEST(StartDateTextTest, ThreeWaysOfTypingADate) {
  struct Case {
    const char* text;
    Date date;
    bool empty;
  } cases[] = {
      {"3/1/2000", Date(2000, 1, 3), false},   {"3-1-2000", Date(2000, 1, 3), false},
      {"20000103", Date(2000, 1, 3), false},   {"000103", Date(2000, 1, 3), false},
      {"1000103", Date(2000, 1, 3), false},    {" 20000103 ", Date(2000, 1, 3), false},
      {"3/1/00", Date(2000, 1, 3), false},     {"", Date(), true},
      {"   ", Date(), true},                   {"2000", Date(), false},
      {"31/2/2000", Date(), false},            {"tomorrow", Date(), false},
  };
  for (const Case& c : cases) {
    StartDateText read = ParseStartDateText(c.text);
    EXPECT_EQ(c.date.value(), read.date.value()) << c.text;
    EXPECT_EQ(c.empty, read.empty) << c.text;
    EXPECT_EQ(!c.date.isNull(), read.valid()) << c.text;
  }
}

TEST(StartDateTextTest, FieldsOpenAWeekBeforeToday) {
  platform::ScopedFixedClock clock({2004, 3, 5, 12, 0, 0});
  EXPECT_EQ("27/2/2004", DefaultStartDateText());
}

}  // namespace
}  // namespace kvqt
