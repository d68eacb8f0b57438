#include "request_line.h"

#include <gtest/gtest.h>

namespace kvqt::server {
namespace {

TEST(RequestLineTest, PriceLinesOfEveryForm) {
  const struct {
    const char* line;
    PriceKind kind;
    const char* symbol;
    int first_date, first_time, last_date, last_time, interval;
  } cases[] = {
      {"SYM,20040228", PriceKind::kDaily, "SYM", 20040228, 0, 0, 2359, 0},
      {"SYM,0", PriceKind::kDaily, "SYM", 0, 0, 0, 2359, 0},
      {"SYM,20040101,20040131", PriceKind::kDaily, "SYM", 20040101, 0, 20040131, 2359, 0},
      {"SYM,R", PriceKind::kRealtime, "SYM", 0, 0, 0, 2359, 0},
      {"SYM,20040227,R", PriceKind::kDailyAndRealtime, "SYM", 20040227, 0, 0, 2359, 0},
      {"SYM,20040228,D", PriceKind::kDaily, "SYM", 20040228, 0, 0, 2359, 0},
      {"SYM,20040201,20040228,W", PriceKind::kWeekly, "SYM", 20040201, 0, 20040228, 2359, 0},
      {"SYM,20040101,20040229,M", PriceKind::kMonthly, "SYM", 20040101, 0, 20040229, 2359, 0},
      {"SYM,20040101,20040229,D", PriceKind::kDaily, "SYM", 20040101, 0, 20040229, 2359, 0},
      {"SYM,Q,20040227,1530,5", PriceKind::kBars, "SYM", 20040227, 1530, 0, 2359, 5},
      {"SYM,Q,00000000,0000,1", PriceKind::kBars, "SYM", 0, 0, 0, 2359, 1},
      {"SYM,Q,20040201,0000,20040227,15", PriceKind::kBars, "SYM", 20040201, 0, 20040227, 2359, 15},
      {"SYM,Q,20040227,0930,20040227,1645,0", PriceKind::kTicks, "SYM", 20040227, 930, 20040227, 1645, 0},
      {"SYM,Q,20040201,0000,20040227,2359,-1", PriceKind::kTicks, "SYM", 20040201, 0, 20040227, 2359, -1},
      {"AB.C,R", PriceKind::kRealtime, "AB.C", 0, 0, 0, 2359, 0},
      {"R&D,20040228\r", PriceKind::kDaily, "R&D", 20040228, 0, 0, 2359, 0},
  };
  for (const auto& c : cases) {
    RequestLine line = ParseRequestLine(c.line);
    ASSERT_EQ(line.kind, LineKind::kPrices) << c.line;
    EXPECT_EQ(line.price_kind, c.kind) << c.line;
    EXPECT_EQ(line.symbol, c.symbol) << c.line;
    EXPECT_EQ(line.first_date, c.first_date) << c.line;
    EXPECT_EQ(line.first_time, c.first_time) << c.line;
    EXPECT_EQ(line.last_date, c.last_date) << c.line;
    EXPECT_EQ(line.last_time, c.last_time) << c.line;
    EXPECT_EQ(line.interval, c.interval) << c.line;
  }
}

TEST(RequestLineTest, KeywordLines) {
  const struct {
    const char* line;
    LineKind kind;
    int version, table_item, since_date;
    bool with_options;
  } cases[] = {
      {"VERSION f3.2.4", LineKind::kVersion, 30204, 0, 0, false},
      {"NEWKVQT f3.2.4\r\n", LineKind::kNewRelease, 30204, 0, 0, false},
      {"REQUEST 3|17", LineKind::kTableRequest, 0, 17, 0, false},
      {"REQUEST 3|18", LineKind::kTableRequest, 0, 18, 0, false},
      {"REQUEST 3|23", LineKind::kTableRequest, 0, 23, 0, false},
      {"REQUEST 3|22|20040101", LineKind::kChangesRequest, 0, 0, 20040101, true},
      {"REQUEST 3|24|20040101", LineKind::kChangesRequest, 0, 0, 20040101, false},
      {"REQUEST 3|21|20040101", LineKind::kSplitsRequest, 0, 0, 20040101, false},
      {"REQUEST 1|2", LineKind::kOtherKeyword, 0, 0, 0, false},
      {"FIREREQUEST", LineKind::kOtherKeyword, 0, 0, 0, false},
      {"TYPE=PELTO", LineKind::kOtherKeyword, 0, 0, 0, false},
      {"", LineKind::kBlank, 0, 0, 0, false},
      {"\r\n", LineKind::kBlank, 0, 0, 0, false},
  };
  for (const auto& c : cases) {
    RequestLine line = ParseRequestLine(c.line);
    EXPECT_EQ(line.kind, c.kind) << c.line;
    EXPECT_EQ(line.version, c.version) << c.line;
    EXPECT_EQ(line.table_item, c.table_item) << c.line;
    EXPECT_EQ(line.since_date, c.since_date) << c.line;
    EXPECT_EQ(line.with_options, c.with_options) << c.line;
  }
  RequestLine cd = ParseRequestLine("CD /home/user/charts/daily\r\n");
  EXPECT_EQ(cd.kind, LineKind::kChangeDirectory);
  EXPECT_EQ(cd.path, "/home/user/charts/daily");
  EXPECT_EQ(cd.text, "CD /home/user/charts/daily");
}

TEST(RequestLineTest, AnythingOutOfShapeIsInvalid) {
  const char* cases[] = {
      "SYM",                           // no fields, not a keyword
      ",20040101",                     // no symbol
      "ABCDEFGHIJKLMNOPQRSTU,0",       // symbol of 21 characters
      "SYM,2004022",                   // seven digits
      "SYM,20040230",                  // no such day
      "SYM,19691231",                  // before the first year
      "SYM,2004-02-28",
      "SYM,+20040228",
      "SYM,20040101,20040131,X",
      "SYM,20040101,20040131,W,1",
      "SYM,Q,20040227,2460,5",         // no such minute
      "SYM,Q,20040227,1530,1441",      // more than a day per bar
      "SYM,Q,20040227,1530",
      "SYM,Q,20040227,1530,20040227,1600,5,9",
      "SYM,Q,20040227,1530,x",
      "SYM,99999999999999999999",
      "VERSION 3.2.4",
      "VERSION f3.2",
      "VERSION f3.2.400",
      "REQUEST 3|21|2004",
      "REQUEST 3|22|abc",
      "SYM,20040228\x01",
      "CD ",
  };
  for (const char* text : cases) {
    EXPECT_EQ(ParseRequestLine(text).kind, LineKind::kInvalid) << text;
  }
  EXPECT_EQ(ParseRequestLine(std::string(256, 'A')).kind, LineKind::kInvalid);
  EXPECT_EQ(ParseRequestLine("SYM,20040228," + std::string(300, '9')).text.size(), kMaxLineLength);
}

}  // namespace
}  // namespace kvqt::server
