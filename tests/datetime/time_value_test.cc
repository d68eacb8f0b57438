#include "datetime/time_value.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "debug_log.h"
#include "platform/clock.h"
#include "support/hex.h"

namespace kvqt {
namespace {

using kvqt::testing::DebugLogCapture;
using kvqt::testing::Hex;
using kvqt::testing::ToHex;

TEST(TimeTest, ConstructorKeepsOnlyValidTimes) {
  const struct {
    int hour, minute, second;
    std::int32_t value;
  } cases[] = {
      {0, 0, 0, 0},   {23, 59, 59, 235959}, {9, 30, 0, 93000}, {24, 0, 0, -1},
      {12, 60, 0, -1}, {12, 0, 60, -1},      {-1, 0, 0, -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Time(c.hour, c.minute, c.second).value(), c.value) << c.hour << ":" << c.minute << ":" << c.second;
  }
  EXPECT_TRUE(Time().isNull());
  EXPECT_FALSE(Time(0, 0, 0).isNull());  // midnight is a time

  DebugLogCapture log;
  Time(24, 0, 0);
  EXPECT_EQ(log.text(), "Invalid time: 24:0:0\r\n");
}

TEST(TimeTest, TextReaders) {
  const struct {
    const char* text;
    std::int32_t hhmm_reader;
    std::int32_t hhmmss_reader;
  } cases[] = {
      {"0930", 93000, 0},        // four digits are too few for the HHMMSS reader
      {"093015", 93000, 93015},
      {"93000", -1, 93000},      // H MM SS; as HHMM it is hour 93
      {"930001", -1, -1},        // hour 93 either way
      {"09:30", 0, 0},
      {"letters", 0, 0},         // not enough digits: midnight, not the null time
      {"", 0, 0},
      {"2400", -1, 0},
      {"12345x", 123400, 12345}, // H MM SS from five digits
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Time::FromHHMMText(c.text).value(), c.hhmm_reader) << c.text;
    EXPECT_EQ(Time::FromHHMMSSText(c.text).value(), c.hhmmss_reader) << c.text;
  }
}

TEST(TimeTest, IntegerAndFloatReaders) {
  EXPECT_EQ(Time::FromInt(93015).value(), 93015);
  EXPECT_TRUE(Time::FromInt(-1).isNull());
  EXPECT_TRUE(Time::FromInt(240000).isNull());
  EXPECT_EQ(Time::FromFloat(93000.9f).value(), 93000);
  EXPECT_TRUE(Time::FromFloat(-5.0f).isNull());
  EXPECT_TRUE(Time::FromFloat(std::numeric_limits<float>::quiet_NaN()).isNull());
  EXPECT_TRUE(Time::FromFloat(1e30f).isNull());
}

TEST(TimeTest, AccessorsAndEncodings) {
  const Time t(9, 30, 15);
  EXPECT_EQ(t.hour(), 9);
  EXPECT_EQ(t.minute(), 30);
  EXPECT_EQ(t.second(), 15);
  EXPECT_EQ(t.hhmmss(), 93015);
  EXPECT_EQ(t.hhmm(), 930);
  EXPECT_EQ(t.toInt(), 93015);
  EXPECT_EQ(t.toFloat(), 93015.0f);

  const Time null;
  EXPECT_EQ(null.hour(), -1);
  EXPECT_EQ(null.hhmmss(), -1);
  EXPECT_EQ(null.hhmm(), -1);
  EXPECT_EQ(null.toInt(), 0);
  EXPECT_EQ(null.toFloat(), 0.0f);

  unsigned char b[4];
  Time(9, 30, 0).toMbf(b);
  EXPECT_EQ(ToHex(std::string(reinterpret_cast<char*>(b), 4)), ToHex(Hex("00 a4 35 91")));
  EXPECT_EQ(Time::FromMbf(b).value(), 93000);
  null.toMbf(b);
  EXPECT_EQ(ToHex(std::string(reinterpret_cast<char*>(b), 4)), ToHex(Hex("00 00 00 00")));
  EXPECT_EQ(Time::FromMbf(b).value(), 0);  // zero bytes are midnight
}

TEST(TimeTest, NullTimeComparesEqual) {
  const Time a(9, 30, 0), b(17, 0, 0), null;
  EXPECT_TRUE(a < b && b > a && a != b && a <= a);
  DebugLogCapture log;
  EXPECT_EQ(null.compare(a), 0);
  EXPECT_TRUE(a == null);
  EXPECT_EQ(log.text(), "cannot compare times \"-1\" and \"93000\"\r\ncannot compare times \"93000\" and \"-1\"\r\n");
}

TEST(TimeTest, NowAndCalendarTimeAreLocal) {
  platform::ScopedFixedClock clock({2003, 7, 14, 8, 5, 9});
  EXPECT_EQ(Time::Now().value(), 80509);
  EXPECT_EQ(Time::FromCalendarTime(platform::FromLocal({1999, 12, 31, 23, 59, 58})).value(), 235958);
}

}  // namespace
}  // namespace kvqt
