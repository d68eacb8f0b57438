// Reading and parsing the lines of a download result.
#include "service/import/result_line.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/core/messages.h"

namespace kvqt {
namespace {

struct ReadLine {
  ResultLineReader::Next next;
  std::string text;
};

std::vector<ReadLine> ReadAllLines(std::string bytes) {
  std::vector<ReadLine> lines;
  std::FILE* f = bytes.empty() ? std::tmpfile() : fmemopen(bytes.data(), bytes.size(), "rb");
  ResultLineReader reader(f);
  std::string_view line;
  for (ResultLineReader::Next next; (next = reader.next(line)) != ResultLineReader::Next::kEnd;)
    lines.push_back({next, std::string(line)});
  std::fclose(f);
  return lines;
}

TEST(ResultLineReaderTest, LineEndsAndLengths) {
  using N = ResultLineReader::Next;
  const std::string longest(255, 'a');
  const std::string tooLong(256, 'b');
  struct Case {
    const char* name;
    std::string bytes;
    std::vector<ReadLine> expected;
  } cases[] = {
      {"crlf", "CD /data/\r\nAAA,20040102,1\r\n", {{N::kLine, "CD /data/"}, {N::kLine, "AAA,20040102,1"}}},
      {"lf", "A\nB\n", {{N::kLine, "A"}, {N::kLine, "B"}}},
      {"no line end at the end", "A\r\nCD /x/", {{N::kLine, "A"}, {N::kLine, "CD /x/"}}},
      {"empty lines", "\r\n\n", {{N::kLine, ""}, {N::kLine, ""}}},
      {"empty file", "", {}},
      {"255 characters", longest + "\r\n", {{N::kLine, longest}}},
      {"256 characters", tooLong + "\r\nC\r\n", {{N::kTooLong, std::string(255, 'b')}, {N::kLine, "C"}}},
      {"very long, no line end", std::string(5000, 'c'), {{N::kTooLong, std::string(255, 'c')}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<ReadLine> lines = ReadAllLines(c.bytes);
    ASSERT_EQ(lines.size(), c.expected.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
      EXPECT_EQ(lines[i].next, c.expected[i].next) << i;
      EXPECT_EQ(lines[i].text, c.expected[i].text) << i;
    }
  }
}

TEST(ResultLineReaderTest, LinesAcrossTheReadBuffer) {
  // Far more than one buffer of lines, one of them too long in the middle.
  std::string bytes;
  for (int i = 0; i < 40000; ++i) bytes += "SYM" + std::to_string(i) + ",20040102,100,1,2,0.5,1.5\r\n";
  bytes += std::string(600000, 'x') + "\r\nLAST\r\n";
  std::vector<ReadLine> lines = ReadAllLines(bytes);
  ASSERT_EQ(lines.size(), 40002u);
  EXPECT_EQ(lines[39999].text, "SYM39999,20040102,100,1,2,0.5,1.5");
  EXPECT_EQ(lines[40000].next, ResultLineReader::Next::kTooLong);
  EXPECT_EQ(lines[40001].text, "LAST");
}

TEST(ResultLineTest, ChangeDirectoryLines) {
  EXPECT_TRUE(IsChangeDirectoryLine("CD /data/ms/"));
  EXPECT_EQ(ChangeDirectoryPath("CD /data/ms/"), "/data/ms/");
  EXPECT_FALSE(IsChangeDirectoryLine("CDX,20040102,1"));
  EXPECT_FALSE(IsChangeDirectoryLine("cd /data/"));
}

TEST(ResultLineTest, PricesAreAssignedByHowManyThereAre) {
  struct Case {
    const char* line;
    float volume, open, high, low, close;
  } cases[] = {
      {"SYM,20040102,1500,10,11,9,10.5", 1500, 10, 11, 9, 10.5f},
      {"SYM,20040102,1500,11,9,10.5", 1500, 0, 11, 9, 10.5f},
      {"SYM,20040102,1500,11,9", 1500, 0, 11, 9, 0},
      {"SYM,20040102,0,10.5", 0, 10.5f, 10.5f, 10.5f, 10.5f},
      {"SYM,20040102,700", 700, 0, 0, 0, 0},
      {"SYM,20040102", 0, 0, 0, 0, 0},
      {"SYM,20040102,1500,10,11,9,10.5,,", 1500, 10, 11, 9, 10.5f},
      {"SYM,20040102,,10,,9,10.5", 0, 10, 0, 9, 10.5f},
      {"SYM,040102,-2,+1.25,.5,0.0,3", -2, 1.25f, 0.5f, 0, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    ResultPriceLine parsed;
    ASSERT_EQ(ParseResultPriceLine(c.line, false, parsed), PriceLineParse::kRecord);
    EXPECT_EQ(parsed.symbol, "SYM");
    EXPECT_EQ(parsed.record.date.value(), 20040102);
    EXPECT_TRUE(parsed.record.time.isNull());
    EXPECT_FLOAT_EQ(parsed.record.volume, c.volume);
    EXPECT_FLOAT_EQ(parsed.record.open, c.open);
    EXPECT_FLOAT_EQ(parsed.record.high, c.high);
    EXPECT_FLOAT_EQ(parsed.record.low, c.low);
    EXPECT_FLOAT_EQ(parsed.record.close, c.close);
  }
}

TEST(ResultLineTest, IntradayLinesCarryTheTime) {
  struct Case {
    const char* line;
    std::int32_t time;
    float volume, close;
  } cases[] = {
      {"SYM,20040102,0930,100,1,2,0.5,1.5", 93000, 100, 1.5f},
      {"SYM,20040102,093015,7,12.5", 93015, 7, 12.5f},
      {"SYM,20040102,93015,7,12.5", 93015, 7, 12.5f},
      {"SYM,20040102,,7,12.5", 0, 7, 12.5f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    ResultPriceLine parsed;
    ASSERT_EQ(ParseResultPriceLine(c.line, true, parsed), PriceLineParse::kRecord);
    EXPECT_EQ(parsed.record.time.value(), c.time);
    EXPECT_FLOAT_EQ(parsed.record.volume, c.volume);
    EXPECT_FLOAT_EQ(parsed.record.close, c.close);
  }
}

TEST(ResultLineTest, UnusableLinesAreNeverRecords) {
  ScopedMessages quiet;
  struct Case {
    const char* line;
    bool intraday;
    PriceLineParse expected;
  } cases[] = {
      {",20040102,1500,10,11,9,10.5", false, PriceLineParse::kNoSymbol},
      {"", false, PriceLineParse::kNoSymbol},
      {"SYM", false, PriceLineParse::kMalformed},
      {"SYM,,1500,10", false, PriceLineParse::kMalformed},
      {"SYM,2004010x,1500,10", false, PriceLineParse::kMalformed},
      {"SYM,20041301,1500,10", false, PriceLineParse::kMalformed},
      {"SYM,20040230,1500,10", false, PriceLineParse::kMalformed},
      {"SYM,12345,1500,10", false, PriceLineParse::kMalformed},
      {"SYM,200401020,1500,10", false, PriceLineParse::kMalformed},
      {"SYM,20040102,15o0,10", false, PriceLineParse::kMalformed},
      {"SYM,20040102,1500,1O,11,9,10.5", false, PriceLineParse::kMalformed},
      {"SYM,20040102,1500,10,11,9,1e3", false, PriceLineParse::kMalformed},
      {"SYM,20040102,1500,nan", false, PriceLineParse::kMalformed},
      {"SYM,20040102,1500,1.2.3", false, PriceLineParse::kMalformed},
      {"SYM,20040102,1500,-", false, PriceLineParse::kMalformed},
      {"SYM,20040102,1e39,1", false, PriceLineParse::kMalformed},
      {"SYM,20040102,1500,999999999999999999999999999999999999999999", false, PriceLineParse::kMalformed},
      {"SYM,20040102,9x30,1,1", true, PriceLineParse::kMalformed},
      {"SYM,20040102,2500,1,1", true, PriceLineParse::kMalformed},
      {"SYM,20040102,930,1,1", true, PriceLineParse::kMalformed},
      {"SYM,20040102,0930150,1,1", true, PriceLineParse::kMalformed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    ResultPriceLine parsed;
    EXPECT_EQ(ParseResultPriceLine(c.line, c.intraday, parsed), c.expected);
  }
}

// Every number gives the float that a full decimal conversion of its text
// gives, bit for bit, however it is written.
TEST(ResultLineTest, NumbersAreConvertedExactly) {
  const char* texts[] = {"0",        "-0",          "10",           "10.0625",        "0.1",
                         "0.3",      "10.062",      "123456.789",   "-2.5",           "+7.25",
                         " 3.5 ",    ".5",          "5.",           "-.75",           "007.50",
                         "0.000001", "16777217",    "16777216.5",   "3.4028234e38",   "340282346638528859811704183484516925440",
                         "1.00000000000000000000001", "999999999999999", "9999999999999999", "0.1000000000000000055511151231257827",
                         "12345678901234567890.5",    "0.00000000000000000000000000000000000000001"};
  for (const char* text : texts) {
    SCOPED_TRACE(text);
    float parsed = -1;
    std::string_view v(text);
    while (!v.empty() && v.front() == ' ') v.remove_prefix(1);
    while (!v.empty() && v.back() == ' ') v.remove_suffix(1);
    if (!v.empty() && v.front() == '+') v.remove_prefix(1);
    double full = 0;
    auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), full);
    const bool plain = std::strchr(text, 'e') == nullptr;
    ASSERT_EQ(ParseResultNumber(text, parsed), plain);
    if (!plain) continue;
    ASSERT_EQ(ec, std::errc());
    ASSERT_EQ(end, v.data() + v.size());
    const float expected = static_cast<float>(full);
    EXPECT_EQ(std::memcmp(&parsed, &expected, sizeof parsed), 0) << parsed << " " << expected;
  }
}

// The plain daily lines the service writes take a shorter way through the
// parser; a blank before the volume sends the same line the general way, and
// both give the same record bit for bit.
TEST(ResultLineTest, PlainLinesGiveTheRecordOfTheGeneralParse) {
  ScopedMessages quiet;
  const char* lines[] = {
      "SYM,20040102,1500,10,11,9,10.5",       "SYM,20040102,1500,10.0625,11.3,9.1,10.7",
      "SYM,040102,1500,11,9,10.5",            "SYM,1040102,0,7.25",
      "SYM,20040102,1500",                    "SYM,20040102,1500,1,2,3,4,5",
      "SYM,20040102,-3,-0.5,0,-0,123456789012345", "SYM,20040102,1500,1234567890123456,1",
      "SYM,20040230,1500,10",                 "SYM,20400101,1500,10",
      "SYM,990101,1500,10",                   "SYM,20040102,1500,10,",
      "SYM,20040102,1500,.5,5.",              "SYM,20040102,1500,+5,1e3",
  };
  for (const char* text : lines) {
    SCOPED_TRACE(text);
    std::string general(text);
    general.insert(general.find(',', general.find(',') + 1) + 1, " ");
    ResultPriceLine plain, full;
    const PriceLineParse a = ParseResultPriceLine(text, false, plain);
    ASSERT_EQ(a, ParseResultPriceLine(general, false, full));
    if (a != PriceLineParse::kRecord) continue;
    EXPECT_EQ(plain.symbol, full.symbol);
    EXPECT_EQ(plain.record.date.value(), full.record.date.value());
    const float mine[] = {plain.record.open, plain.record.high, plain.record.low, plain.record.close,
                          plain.record.volume};
    const float theirs[] = {full.record.open, full.record.high, full.record.low, full.record.close,
                            full.record.volume};
    EXPECT_EQ(std::memcmp(mine, theirs, sizeof mine), 0);
  }
}

TEST(ResultLineTest, FileDownloadFieldsStopAtThirty) {
  EXPECT_EQ(SplitExportFields(",A,,B"), (std::vector<std::string>{"", "A", "", "B"}));
  EXPECT_EQ(SplitExportFields("SYM"), (std::vector<std::string>{"SYM"}));
  std::string line;
  for (int i = 1; i <= 35; ++i) line += (i > 1 ? "," : "") + std::to_string(i);
  std::vector<std::string> fields = SplitExportFields(line);
  ASSERT_EQ(fields.size(), 30u);
  EXPECT_EQ(fields[28], "29");
  EXPECT_EQ(fields[29], "30,31,32,33,34,35");
}

}  // namespace
}  // namespace kvqt
