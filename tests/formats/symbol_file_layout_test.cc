#include "formats/symbol_file_layout.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <limits>
#include <string>

#include "support/hex.h"

namespace kvqt {
namespace {

using testing::Hex;
using testing::ToHex;

PriceRecord Record(Date date, Time time, float open, float high, float low, float close, float volume) {
  PriceRecord r;
  r.date = date;
  r.time = time;
  r.open = open;
  r.high = high;
  r.low = low;
  r.close = close;
  r.volume = volume;
  return r;
}

std::string Encoded(int formatId, const PriceRecord& r) {
  unsigned char out[symbolfile::kMaxRecordSize];
  symbolfile::EncodeRecord(formatId, r, out);
  return std::string(reinterpret_cast<const char*>(out), symbolfile::RecordSize(formatId));
}

TEST(SymbolFileLayoutTest, RecordsAgainstTheirBytes) {
  struct Case {
    const char* what;
    int id;
    PriceRecord record;
    const char* bytes;
  } cases[] = {
      {"kbf", 6, Record(Date(2000, 1, 3), Time(), 0, 13, 12.25f, 12.75f, 70000),
       "80 18 | 0d 00 00 | 0c 00 40 | 0c 00 c0 | 11 01 70"},
      {"kbf, volume 0 stored as 1", 6, Record(Date(1999, 12, 31), Time(), 0, 1, 1, 1, 0),
       "63 fe | 01 00 00 | 01 00 00 | 01 00 00 | 00 00 01"},
      {"kbf, volume above the limit", 6, Record(Date(1999, 12, 31), Time(), 0, 1, 1, 1, 20000000),
       "63 fe | 01 00 00 | 01 00 00 | 01 00 00 | 24 f4 00"},
      {"kbt, 2 January 2001 12:00:00 is day 36893.5", 22, Record(Date(2001, 1, 2), Time(12, 0, 0), 9, 11, 8, 10.5f, 1234),
       "00 00 00 00 b0 03 e2 40 | 00 00 00 00 00 00 25 40 | d2 04 00 00"},
      {"kbt, a daily record at midnight", 22, Record(Date(2001, 1, 2), Time(), 0, 0, 0, 11.25f, 0),
       "00 00 00 00 a0 03 e2 40 | 00 00 00 00 00 80 26 40 | 00 00 00 00"},
      {"id 1", 1, Record(Date(2001, 1, 2), Time(), 10, 11, 9.5f, 10.5f, 1000),
       "76 27 00 00 | 00 00 7a 44 | 00 00 30 41 | 00 00 18 41 | 00 00 28 41"},
      {"hdf", 7, Record(Date(2001, 1, 2), Time(), 10, 11, 9.5f, 10.5f, 1000),
       "06 | 30 31 30 31 30 32 | 84 00 00 00 00 20 | 84 00 00 00 00 30 | 84 00 00 00 00 18"
       "84 00 00 00 00 28 | 8a 00 00 00 00 7a | 00 00 00 00 00 00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ToHex(Hex(c.bytes)), ToHex(Encoded(c.id, c.record)));
  }
}

TEST(SymbolFileLayoutTest, ReadersFillWhatTheFormatDoesNotKeep) {
  struct Case {
    const char* what;
    int id;
    const char* bytes;
    PriceRecord expected;
  } cases[] = {
      {"kbf: no open", 6, "80 18 | 0d 00 00 | 0c 00 40 | 0c 00 c0 | 11 01 70",
       Record(Date(2000, 1, 3), Time(), 0, 13, 12.25f, 12.75f, 70000)},
      {"kbt: one price for all four", 22, "00 00 00 00 b0 03 e2 40 | 00 00 00 00 00 00 25 40 | d2 04 00 00",
       Record(Date(2001, 1, 2), Time(12, 0, 0), 10.5f, 10.5f, 10.5f, 10.5f, 1234)},
      {"id 1: no open, the year through the window", 1,
       "76 27 00 00 | 00 00 7a 44 | 00 00 30 41 | 00 00 18 41 | 00 00 28 41",
       Record(Date(2001, 1, 2), Time(), 0, 11, 9.5f, 10.5f, 1000)},
      {"id 1, 1999", 1, "ff 1f 0f 00 | 00 00 00 00 | 00 00 30 41 | 00 00 18 41 | 00 00 28 41",
       Record(Date(1999, 12, 31), Time(), 0, 11, 9.5f, 10.5f, 0)},
      {"hdf", 7,
       "06 | 39 39 31 32 33 31 | 84 00 00 00 00 20 | 84 00 00 00 00 30 | 84 00 00 00 00 18"
       "84 00 00 00 00 28 | 8a 00 00 00 00 7a | 81 00 00 00 00 00",
       Record(Date(1999, 12, 31), Time(), 10, 11, 9.5f, 10.5f, 1000)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string bytes = Hex(c.bytes);
    ASSERT_EQ(symbolfile::RecordSize(c.id), bytes.size());
    PriceRecord r;
    symbolfile::DecodeRecord(c.id, reinterpret_cast<const unsigned char*>(bytes.data()), r);
    EXPECT_EQ(c.expected.date.value(), r.date.value());
    EXPECT_EQ(c.expected.time.value(), r.time.value());
    EXPECT_EQ(c.expected.open, r.open);
    EXPECT_EQ(c.expected.high, r.high);
    EXPECT_EQ(c.expected.low, r.low);
    EXPECT_EQ(c.expected.close, r.close);
    EXPECT_EQ(c.expected.volume, r.volume);
  }
}

// Sets the time zone for one scope.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* tz) {
    const char* old = std::getenv("TZ");
    had_ = old != nullptr;
    if (had_) old_ = old;
    ::setenv("TZ", tz, 1);
    ::tzset();
  }
  ~ScopedTimeZone() {
    if (had_)
      ::setenv("TZ", old_.c_str(), 1);
    else
      ::unsetenv("TZ");
    ::tzset();
  }

 private:
  bool had_ = false;
  std::string old_;
};

// The day number names the calendar day in every time zone, west of UTC too.
TEST(SymbolFileLayoutTest, DayNumbersDoNotDependOnTheTimeZone) {
  for (const char* tz : {"UTC0", "CET-1CEST,M3.5.0,M10.5.0/3", "EST5EDT,M3.2.0,M11.1.0", "JST-9", "HST10"}) {
    SCOPED_TRACE(tz);
    ScopedTimeZone zone(tz);
    EXPECT_EQ(36893.5, symbolfile::DayNumber(Date(2001, 1, 2), Time(12, 0, 0)));
    EXPECT_EQ(25569.0, symbolfile::DayNumber(Date(1970, 1, 1), Time(0, 0, 0)));
    Date date;
    Time time;
    ASSERT_TRUE(symbolfile::FromDayNumber(36893.5, date, time));
    EXPECT_EQ(20010102, date.value());
    EXPECT_EQ(120000, time.value());
  }
}

TEST(SymbolFileLayoutTest, TimesComeBackToTheSecond) {
  struct Case {
    int date;
    int time;
  } cases[] = {{20000103, 93100}, {20000103, 1}, {20000103, 235959}, {20370101, 93000}, {19700101, 0}};
  for (const Case& c : cases) {
    Date date;
    Time time;
    double n = symbolfile::DayNumber(Date::FromInt(c.date), Time::FromInt(c.time));
    ASSERT_TRUE(symbolfile::FromDayNumber(n, date, time)) << c.date << " " << c.time;
    EXPECT_EQ(c.date, date.value());
    EXPECT_EQ(c.time, time.value());
  }
}

TEST(SymbolFileLayoutTest, DayNumbersThatAreNoDate) {
  struct Case {
    double n;
    bool ok;
    int date;
    int time;
  } cases[] = {
      {36893.99999999, true, 20010103, 0},  // rounds into the next day
      {-1, false, 0, -1},
      {1e300, false, 0, -1},
      {std::numeric_limits<double>::quiet_NaN(), false, 0, -1},
      {100, false, 0, -1},  // 1900: no valid date
  };
  for (const Case& c : cases) {
    Date date;
    Time time;
    EXPECT_EQ(c.ok, symbolfile::FromDayNumber(c.n, date, time)) << c.n;
    EXPECT_EQ(c.date, date.value()) << c.n;
    EXPECT_EQ(c.time, time.value()) << c.n;
  }
}

TEST(SymbolFileLayoutTest, Id1Header) {
  unsigned char header[100];
  std::memset(header, 0xEE, sizeof header);
  symbolfile::MmHeader h;
  h.symbol = "ABC";
  h.count = 3;
  h.firstDate = Date(1999, 12, 31);
  h.lastDate = Date(2001, 1, 2);
  h.period = 'D';
  symbolfile::WriteMmHeader(h, header);
  std::string expected = Hex("ee | 41 42 43 00 00 00 00 00 00 00 | 03 00 | ff 1f 0f 00 | 76 27 00 00 | 44") +
                         std::string(78, '\xee');
  EXPECT_EQ(ToHex(expected), ToHex(std::string(reinterpret_cast<char*>(header), 100)));

  symbolfile::MmHeader back;
  symbolfile::ReadMmHeader(header, back);
  EXPECT_EQ("ABC", back.symbol);
  EXPECT_EQ(3, back.count);
  EXPECT_EQ(19991231, back.firstDate.value());
  EXPECT_EQ(20010102, back.lastDate.value());
  EXPECT_EQ('D', back.period);
}

}  // namespace
}  // namespace kvqt
