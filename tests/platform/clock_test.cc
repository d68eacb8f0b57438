#include "platform/clock.h"

#include <gtest/gtest.h>

namespace kvqt::platform {
namespace {

TEST(ClockTest, PinnedClockGivesLocalDateAndTimeAndAdvancesOnSleep) {
  LocalDateTime before = LocalNow();
  {
    ScopedFixedClock pinned({2024, 2, 29, 23, 59, 58});
    LocalDateTime now = LocalNow();
    EXPECT_EQ(now.year, 2024);
    EXPECT_EQ(now.month, 2);
    EXPECT_EQ(now.day, 29);
    EXPECT_EQ(now.hour, 23);
    EXPECT_EQ(now.second, 58);
    CurrentClock().Sleep(3);  // never sleeps for real
    now = LocalNow();
    EXPECT_EQ(now.month, 3);
    EXPECT_EQ(now.day, 1);
    EXPECT_EQ(now.second, 1);
  }
  EXPECT_GE(LocalNow().year, before.year);  // the system clock is back
}

}  // namespace
}  // namespace kvqt::platform
