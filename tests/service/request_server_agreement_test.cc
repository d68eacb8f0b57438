// Every kind of line the request file holds is read by the reference server
// as the request it means.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "request_line.h"
#include "request_test_util.h"
#include "service/request_file.h"

namespace kvqt {
namespace {

using server::LineKind;
using server::PriceKind;
using testing::Written;

std::vector<std::string> SplitCrLf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find("\r\n", start);
    EXPECT_NE(end, std::string::npos) << "every line ends in CR LF";
    if (end == std::string::npos) break;
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

TEST(RequestServerAgreementTest, InstrumentLinesAreThePricesTheyAskFor) {
  const Date today(2004, 3, 3);
  const Time now(10, 30, 0);
  struct Case {
    int formatId;
    int type;
    char period;
    int interval;
    int lastDate;
    int lastTime;
    PriceKind kind;
    int first;
    int firstTime;
    int last;
    int lastTimeWanted;
  } cases[] = {
      {5, 1, 'D', 0, 20040227, -1, PriceKind::kDaily, 20040228, 0, 0, 2359},
      {5, 1, 'D', 0, 0, -1, PriceKind::kDaily, 0, 0, 0, 2359},
      {5, 2, 'D', 0, 20040227, -1, PriceKind::kDaily, 20040105, 0, 20040130, 2359},
      {5, 3, 'D', 0, 20040227, -1, PriceKind::kRealtime, 0, 0, 0, 2359},
      {5, 4, 'D', 0, 20040227, -1, PriceKind::kDailyAndRealtime, 20040228, 0, 0, 2359},
      {4, 1, 'D', 0, 20040227, -1, PriceKind::kDaily, 20040228, 0, 0, 2359},
      {4, 1, 'W', 0, 20040214, -1, PriceKind::kWeekly, 20040215, 0, 20040228, 2359},
      {4, 1, 'W', 0, 0, -1, PriceKind::kWeekly, 0, 0, 20040228, 2359},
      {4, 1, 'M', 0, 20040131, -1, PriceKind::kMonthly, 20040201, 0, 20040229, 2359},
      {4, 2, 'M', 0, 20040131, -1, PriceKind::kMonthly, 20040105, 0, 20040130, 2359},
      {4, 2, 'D', 0, 20040131, -1, PriceKind::kDaily, 20040105, 0, 20040130, 2359},
      {20, 1, 'I', 5, 20040302, 153000, PriceKind::kBars, 20040302, 1530, 0, 2359},
      {20, 2, 'I', 5, 20040302, 153000, PriceKind::kBars, 20040105, 0, 20040130, 2359},
      {21, 1, 'I', 60, 20040302, -1, PriceKind::kBars, 20040302, 0, 0, 2359},
      {22, 1, 'I', 0, 20040302, 173000, PriceKind::kTicks, 20040302, 1730, 20040303, 1030},
      {22, 1, 'I', 0, 0, -1, PriceKind::kTicks, 20040303, 0, 20040303, 1030},
      {22, 2, 'I', 0, 20040302, 173000, PriceKind::kTicks, 20040105, 0, 20040130, 2359},
  };
  for (const Case& c : cases) {
    DatafileEntry entry;
    entry.symbol = "SYM";
    entry.period = c.period;
    entry.interval = static_cast<std::uint16_t>(c.interval);
    entry.firstDate = Date(2004, 1, 5);
    entry.firstTime = Time(9, 0, 0);
    entry.lastDate = Date::FromValue(c.lastDate);
    entry.lastTime = Time::FromInt(c.lastTime);
    std::vector<std::string> lines = SplitCrLf(Written([&](std::FILE* f) {
      WriteInstrumentLine(f, entry, c.formatId, c.type, Date(2004, 1, 5), Date(2004, 1, 30), today, now);
    }));
    std::ostringstream what;
    what << c.formatId << " type " << c.type << " " << c.period << " " << c.lastDate;
    ASSERT_EQ(1u, lines.size()) << what.str();
    server::RequestLine parsed = server::ParseRequestLine(lines[0]);
    ASSERT_EQ(LineKind::kPrices, parsed.kind) << what.str() << ": " << lines[0];
    EXPECT_EQ("SYM", parsed.symbol) << what.str();
    EXPECT_EQ(c.kind, parsed.price_kind) << what.str() << ": " << lines[0];
    EXPECT_EQ(c.first, parsed.first_date) << what.str() << ": " << lines[0];
    EXPECT_EQ(c.firstTime, parsed.first_time) << what.str() << ": " << lines[0];
    EXPECT_EQ(c.last, parsed.last_date) << what.str() << ": " << lines[0];
    EXPECT_EQ(c.lastTimeWanted, parsed.last_time) << what.str() << ": " << lines[0];
    if (c.period == 'I') {
      EXPECT_EQ(c.interval, parsed.interval) << what.str();
    }
  }
}

TEST(RequestServerAgreementTest, KeywordLinesAreKnown) {
  const struct {
    const char* line;
    LineKind kind;
  } cases[] = {
      {"VERSION f3.2.4", LineKind::kVersion},
      {"NEWKVQT f3.2.4", LineKind::kNewRelease},
      {"REQUEST 3|17", LineKind::kTableRequest},
      {"REQUEST 3|18", LineKind::kTableRequest},
      {"REQUEST 3|23", LineKind::kTableRequest},
      {"REQUEST 3|24|20040215", LineKind::kChangesRequest},
      {"REQUEST 3|22|20040215", LineKind::kChangesRequest},
      {"REQUEST 3|24|0", LineKind::kChangesRequest},
      {"REQUEST 3|21|20040101", LineKind::kSplitsRequest},
      {"REQUEST 1|2", LineKind::kOtherKeyword},
      {"FIREREQUEST", LineKind::kOtherKeyword},
      {"TYPE=PELTO", LineKind::kOtherKeyword},
      {"CD /home/user/charts/ms/", LineKind::kChangeDirectory},
  };
  for (const auto& c : cases) EXPECT_EQ(c.kind, server::ParseRequestLine(c.line).kind) << c.line;
  EXPECT_EQ(30204, server::ParseRequestLine("VERSION f3.2.4").version);
  EXPECT_EQ(20040101, server::ParseRequestLine("REQUEST 3|21|20040101").since_date);
  EXPECT_EQ("/home/user/charts/ms/", server::ParseRequestLine("CD /home/user/charts/ms/").path);
}

}  // namespace
}  // namespace kvqt
