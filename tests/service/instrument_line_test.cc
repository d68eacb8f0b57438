// The request line of one entry: the table of format groups, download types
// and entry states, and the file-download lines.
#include <gtest/gtest.h>

#include "app/core/messages.h"
#include "request_test_util.h"
#include "service/request_file.h"

namespace kvqt {
namespace {

using testing::Written;

// Wednesday 3 March 2004, 10:30.
const Date kToday(2004, 3, 3);
const Time kNow(10, 30, 0);

Date D(int yyyymmdd) { return yyyymmdd ? Date::FromValue(yyyymmdd) : Date(); }
Time T(int hhmmss) { return Time::FromInt(hhmmss); }

struct Entry {
  char period;
  int interval;
  int first;
  int firstTime;
  int last;
  int lastTime;  // -1: not set
};

DatafileEntry Make(const std::string& symbol, const Entry& e) {
  DatafileEntry entry;
  entry.symbol = symbol;
  entry.period = e.period;
  entry.interval = static_cast<std::uint16_t>(e.interval);
  entry.firstDate = D(e.first);
  entry.firstTime = T(e.firstTime);
  entry.lastDate = D(e.last);
  entry.lastTime = T(e.lastTime);
  return entry;
}

struct Case {
  const char* what;
  int formatId;
  int type;
  Entry entry;
  const char* expected;
  int today = 20040303;
};

std::string Line(const Case& c, int start = 20040105, int end = 20040130) {
  DatafileEntry entry = Make("SYM", c.entry);
  return Written([&](std::FILE* f) {
    WriteInstrumentLine(f, entry, c.formatId, c.type, D(start), D(end), D(c.today), kNow);
  });
}

TEST(InstrumentLineTest, DailyFormats) {
  const Case cases[] = {
      {"normal", 5, 1, {'D', 0, 20040105, -1, 20040227, -1}, "SYM,20040228\r\n"},
      {"normal, empty data file", 5, 1, {'D', 0, 0, -1, 0, -1}, "SYM,0\r\n"},
      {"normal, Technical Investor", 0, 1, {'D', 0, 20040105, -1, 20040302, -1}, "SYM,20040303\r\n"},
      {"normal, Koersbase II", 6, 1, {'D', 0, 20040105, -1, 20040227, -1}, "SYM,20040228\r\n"},
      {"normal, Hermes", 17, 1, {'D', 0, 20040105, -1, 20040227, -1}, "SYM,20040228\r\n"},
      {"normal, Orvista 2000", 16, 1, {'D', 0, 20040105, -1, 20040227, -1}, "SYM,20040228\r\n"},
      {"range", 15, 2, {'D', 0, 20040105, -1, 20040227, -1}, "SYM,20040105,20040130\r\n"},
      {"real time", 9, 3, {'D', 0, 20040105, -1, 20040227, -1}, "SYM,R\r\n"},
      {"both, last date yesterday", 10, 4, {'D', 0, 20040105, -1, 20040302, -1}, "SYM,R\r\n"},
      {"both, last date two days back", 11, 4, {'D', 0, 20040105, -1, 20040301, -1}, "SYM,20040302,R\r\n"},
      {"both, empty data file", 8, 4, {'D', 0, 0, -1, 0, -1}, "SYM,R\r\n"},
      {"unknown type", 5, 5, {'D', 0, 20040105, -1, 20040227, -1}, ""},
      {"Pelto has no databases", 18, 1, {'D', 0, 20040105, -1, 20040227, -1}, ""},
      {"no format", 2, 1, {'D', 0, 20040105, -1, 20040227, -1}, ""},
      {"beyond the formats", 23, 1, {'D', 0, 20040105, -1, 20040227, -1}, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, Line(c)) << c.what;
}

TEST(InstrumentLineTest, MetaStock) {
  const Case cases[] = {
      {"daily", 4, 1, {'D', 0, 20040105, -1, 20040227, -1}, "SYM,20040228,D\r\n"},
      {"daily, empty", 4, 1, {'D', 0, 0, -1, 0, -1}, "SYM,0,D\r\n"},
      // On a Wednesday the last complete week ended on Saturday 28 February.
      {"weekly", 4, 1, {'W', 0, 20040105, -1, 20040221, -1}, "SYM,20040222,20040228,W\r\n"},
      {"weekly, up to date", 4, 1, {'W', 0, 20040105, -1, 20040228, -1}, ""},
      {"weekly, later than the week", 4, 1, {'W', 0, 20040105, -1, 20040301, -1}, ""},
      {"weekly on a Saturday", 4, 1, {'W', 0, 20040105, -1, 20040228, -1}, "SYM,20040229,20040306,W\r\n", 20040306},
      {"weekly on a Sunday", 4, 1, {'W', 0, 20040105, -1, 20040221, -1}, "SYM,20040222,20040306,W\r\n", 20040307},
      {"weekly, empty: everything up to the week", 4, 1, {'W', 0, 0, -1, 0, -1}, "SYM,0,20040228,W\r\n"},
      {"monthly", 4, 1, {'M', 0, 20040105, -1, 20040131, -1}, "SYM,20040201,20040229,M\r\n"},
      {"monthly, up to date", 4, 1, {'M', 0, 20040105, -1, 20040229, -1}, ""},
      {"monthly on the month's last day", 4, 1, {'M', 0, 20040105, -1, 20040229, -1}, "SYM,20040301,20040331,M\r\n",
       20040331},
      {"monthly, empty: everything up to the month", 4, 1, {'M', 0, 0, -1, 0, -1}, "SYM,0,20040229,M\r\n"},
      {"intraday", 20, 1, {'I', 5, 20040105, 0, 20040302, 153000}, "SYM,Q,20040302,1530,5\r\n"},
      {"intraday, new entry", 20, 1, {'I', 5, 20040301, 0, 20040229, 0}, "SYM,Q,20040301,0000,5\r\n"},
      {"intraday, last time not set", 20, 1, {'I', 15, 20040105, 0, 20040302, -1}, "SYM,Q,20040302,0000,15\r\n"},
      {"unknown period", 4, 1, {'Y', 0, 20040105, -1, 20040227, -1}, ""},
      {"range, intraday", 20, 2, {'I', 5, 20040105, 0, 20040302, 153000}, "SYM,Q,20040105,0000,20040130,5\r\n"},
      {"range, weekly", 4, 2, {'W', 0, 20040105, -1, 20040227, -1}, "SYM,20040105,20040130,W\r\n"},
      {"range, daily", 4, 2, {'D', 0, 20040105, -1, 20040227, -1}, "SYM,20040105,20040130,D\r\n"},
      {"range, a period byte no request knows", 4, 2, {'\n', 0, 20040105, -1, 20040227, -1}, ""},
      {"real time, daily", 4, 3, {'D', 0, 20040105, -1, 20040227, -1}, "SYM,R\r\n"},
      {"real time, weekly", 4, 3, {'W', 0, 20040105, -1, 20040227, -1}, ""},
      {"both, daily", 4, 4, {'D', 0, 20040105, -1, 20040227, -1}, "SYM,20040228,R\r\n"},
      {"both, daily, last date yesterday", 4, 4, {'D', 0, 20040105, -1, 20040302, -1}, "SYM,R\r\n"},
      {"both, monthly", 4, 4, {'M', 0, 20040105, -1, 20040131, -1}, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, Line(c)) << c.what;
}

TEST(InstrumentLineTest, IntradayFormats) {
  const Case cases[] = {
      {"bars", 21, 1, {'I', 5, 20040105, 0, 20040302, 153000}, "SYM,Q,20040302,1530,5\r\n"},
      {"bars, new entry", 21, 1, {'I', 5, 20040301, 0, 20040229, 0}, "SYM,Q,20040301,0000,5\r\n"},
      {"ticks", 22, 1, {'I', 0, 20040105, 90000, 20040302, 173000}, "SYM,Q,20040302,1730,20040303,1030,0\r\n"},
      {"ticks, new entry", 22, 1, {'I', 0, 20040301, 0, 20040229, 0}, "SYM,Q,20040301,0000,20040303,1030,0\r\n"},
      {"ticks, last time not set", 22, 1, {'I', 0, 20040105, -1, 20040302, -1},
       "SYM,Q,20040303,0000,20040303,1030,0\r\n"},
      {"ticks, empty", 22, 1, {'I', 0, 0, -1, 0, -1}, "SYM,Q,20040303,0000,20040303,1030,0\r\n"},
      {"range, bars", 21, 2, {'I', 60, 20040105, 0, 20040302, 153000}, "SYM,Q,20040105,0000,20040130,60\r\n"},
      {"range, ticks", 22, 2, {'I', 0, 20040105, 0, 20040302, 153000}, "SYM,Q,20040105,0000,20040130,2359,0\r\n"},
      {"real time", 21, 3, {'I', 5, 20040105, 0, 20040302, 153000}, ""},
      {"both", 22, 4, {'I', 0, 20040105, 0, 20040302, 153000}, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, Line(c)) << c.what;
}

TEST(InstrumentLineTest, ASymbolThatWouldBreakTheLineAsksForNothing) {
  const char* symbols[] = {"", "A,B", "AB\r\nCD", "A\x01", "A\x7f"};
  for (const char* symbol : symbols) {
    DatafileEntry entry = Make(symbol, {'D', 0, 20040105, -1, 20040227, -1});
    EXPECT_EQ("", Written([&](std::FILE* f) { WriteInstrumentLine(f, entry, 5, 1, Date(), Date(), kToday, kNow); }))
        << symbol;
  }
  DatafileEntry plain = Make("A.B-C", {'D', 0, 20040105, -1, 20040227, -1});
  EXPECT_EQ("A.B-C,20040228\r\n",
            Written([&](std::FILE* f) { WriteInstrumentLine(f, plain, 5, 1, Date(), Date(), kToday, kNow); }));
}

TEST(FileDownloadLineTest, TypePeriodAndPriceType) {
  struct FileCase {
    int type;
    int period;
    int priceType;
    const char* expected;
  } cases[] = {
      {1, 0, 0, "SYM,20040105,20040130,D\r\n"}, {1, 1, 0, "SYM,20040105,20040130,W\r\n"},
      {2, 2, 0, "SYM,20040105,20040130,M\r\n"}, {2, 3, 0, ""},
      {2, -1, 0, ""},                           {1, 0, 1, ""},
      {3, 0, 0, "SYM,R\r\n"},                   {3, 1, 0, ""},
      {3, 0, 2, ""},                            {4, 0, 0, ""},
      {0, 0, 0, ""},
  };
  DatafileEntry entry = Make("SYM", {'D', 0, 20040105, -1, 20040227, -1});
  for (const FileCase& c : cases) {
    ActionInfo action;
    action.type = c.type;
    action.period = c.period;
    action.priceType = c.priceType;
    action.startDate = Date(2004, 1, 5);
    action.endDate = Date(2004, 1, 30);
    EXPECT_EQ(c.expected, Written([&](std::FILE* f) { WriteFileDownloadLine(f, action, entry); }))
        << c.type << "/" << c.period << "/" << c.priceType;
  }
}

}  // namespace
}  // namespace kvqt
