#include "formats/text_line_codec.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <clocale>
#include <cstdint>
#include <cstring>
#include <limits>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "app/model/format.h"
#include "format_test_util.h"

namespace kvqt {
namespace {

using testing::Daily;

PriceRecord March3() { return Daily(Date(2001, 3, 3), 12.5f, 13, 12, 12.75f, 1500); }

// A stream over fixed bytes, read as a data file would be.
class MemoryStream {
 public:
  explicit MemoryStream(std::string bytes) : bytes_(std::move(bytes)) {
    file_ = bytes_.empty() ? std::tmpfile() : fmemopen(bytes_.data(), bytes_.size(), "rb");
  }
  ~MemoryStream() {
    if (file_) std::fclose(file_);
  }
  std::FILE* get() const { return file_; }

 private:
  std::string bytes_;
  std::FILE* file_;
};

std::vector<PriceRecord> ReadLines(int formatId, const std::string& bytes) {
  MemoryStream in(bytes);
  std::vector<PriceRecord> records;
  PriceRecord r;
  TextLineLayout layout = TextLineLayoutFor(formatId);
  while (records.size() < 100 && ReadPriceLine(in.get(), layout, r) == 0) records.push_back(r);
  return records;
}

TEST(TextLineCodec, WritesOneLinePerFormat) {
  PriceRecord intraday = March3();
  intraday.time = Time(9, 30, 0);
  struct Case {
    int id;
    PriceRecord record;
    const char* line;
  } cases[] = {
      {5, March3(), "010303,12.500,13.000,12.000,12.750,1500\r\n"},
      {13, March3(), "010303,12.500,13.000,12.000,12.750,1500\r\n"},
      {14, March3(), "010303,12.500,13.000,12.000,12.750,1500\r\n"},
      {15, March3(), "20010303,12.500,13.000,12.000,12.750,1500\r\n"},
      {17, March3(), "20010303,12.500,13.000,12.000,12.750,1500\r\n"},
      {21, intraday, "20010303,093000,12.500,13.000,12.000,12.750,1500\r\n"},
      {9, March3(), "010303\t12.500\t13.000\t12.000\t12.750\t1500\r\n"},
      {10, March3(), "03-03-01\t12,500\t13,000\t12,000\t12,750\t1500\r\n"},
      {11, March3(), "03/03/01\t12.500\t13.000\t12.000\t12.750\t1500\r\n"},
      // The comma form rounds like the point form: 2.3 is never 2,299.
      {10, Daily(Date(1999, 12, 31), 2.3f, 0.1f, 1234567.0f, 0, 2.5f), "31-12-99\t2,300\t0,100\t1234567,000\t0,000\t2\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    EXPECT_EQ(c.line, FormatPriceLine(TextLineLayoutFor(c.id), c.record));
  }
}

// Prices and volumes are the float's value rounded to three decimals (the
// volume to none) as a full fixed-point conversion rounds: ties to even,
// the sign of negative values kept, however large or small the value.
TEST(TextLineCodec, NumbersAreRoundedAsAFullConversionRoundsThem) {
  auto fixed = [](float v, int decimals) {
    char buffer[400];
    auto r = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(v), std::chars_format::fixed, decimals);
    return std::string(buffer, r.ptr);
  };
  std::vector<float> values = {0.0f,      -0.0f,      0.0625f,   0.1875f,  0.0005f,  -0.0005f, 0.0004f,
                               -0.0001f,  10.0625f,   10.062f,   0.5f,     1.5f,     2.5f,     -2.5f,
                               999.9995f, 1e-30f,     -1e-30f,   1e9f,     4.5e11f,  1e12f,    3.3e13f,
                               1e15f,     3.4e38f,    -3.4e38f,  16777217.0f, 8388608.5f, 1.4e-45f};
  std::mt19937 random(7);
  for (int i = 0; i < 20000; ++i) {
    std::uint32_t bits = static_cast<std::uint32_t>(random());
    float v;
    std::memcpy(&v, &bits, sizeof v);
    if (std::isfinite(v)) values.push_back(v);
    values.push_back(static_cast<float>(static_cast<int>(random() % 2000000) - 1000000) / 64.0f);
    values.push_back(static_cast<float>(random() % 100000000) / 1000.0f);
  }
  const TextLineLayout layout = TextLineLayoutFor(15);
  for (float v : values) {
    SCOPED_TRACE(fixed(v, 9));
    PriceRecord r = Daily(Date(2001, 3, 3), v, v, v, v, v);
    const std::string price = fixed(v, 3);
    EXPECT_EQ(FormatPriceLine(layout, r),
              "20010303," + price + "," + price + "," + price + "," + price + "," + fixed(v, 0) + "\r\n");
  }
}

TEST(TextLineCodec, SeparatorsComeFromTheFormatWhenGiven) {
  Format format("X", "Semicolons", 5);
  format.setSeparators(';', '.', ',');
  TextLineLayout layout = TextLineLayoutFor(5, &format);
  std::string line = FormatPriceLine(layout, March3());
  EXPECT_EQ("03.03.01;12,500;13,000;12,000;12,750;1500\r\n", line);
  PriceRecord back;
  ASSERT_EQ(0, ParsePriceLine(layout, line.substr(0, line.size() - 2), back));
  EXPECT_EQ(20010303, back.date.value());
  EXPECT_EQ(12.75f, back.close);
}

TEST(TextLineCodec, ReadsLinesWrittenByHand) {
  struct Case {
    int id;
    const char* line;
    std::int32_t date;
    std::int32_t time;
    float open, high, low, close, volume;
  } cases[] = {
      // Without a fifth value the four are high, low, close and volume.
      {5, "010303,12.5,13,12,12.75", 20010303, -1, 0, 12.5f, 13, 12, 12.75f},
      {5, "010303,1,2,3,4,5", 20010303, -1, 1, 2, 3, 4, 5},
      {15, "20010303, 1.5 ,2,3,4,5", 20010303, -1, 1.5f, 2, 3, 4, 5},
      {15, "20010303,1,2,3,4,5,99,extra", 20010303, -1, 1, 2, 3, 4, 5},
      {5, "1010303,1,2,3,4,5", 20010303, -1, 1, 2, 3, 4, 5},
      {10, "03-03-01\t12,5\t13\t12\t12,75\t1500", 20010303, -1, 12.5f, 13, 12, 12.75f, 1500},
      {10, "3-3-2001\t1\t2\t3\t4\t5", 20010303, -1, 1, 2, 3, 4, 5},
      {11, "03/03/01\t1.25\t2\t3\t4\t5", 20010303, -1, 1.25f, 2, 3, 4, 5},
      {9, "991231\t1\t2\t3\t4\t5", 19991231, -1, 1, 2, 3, 4, 5},
      {21, "20010303,093000,1,2,3,4,5", 20010303, 93000, 1, 2, 3, 4, 5},
      {21, "20010303,93000,1,2,3,4,5", 20010303, 93000, 1, 2, 3, 4, 5},
      {21, "20010303,9:30,1,2,3,4,5", 20010303, 0, 1, 2, 3, 4, 5},
      {17, "20010303,1,2,3,4,5", 20010303, -1, 1, 2, 3, 4, 5},
      // A value that is no number reads as 0, as an empty column does.
      {5, "010303,x,2,,4,5", 20010303, -1, 0, 2, 0, 4, 5},
      {5, "010303,1,2,3,4,1.5E+06", 20010303, -1, 1, 2, 3, 4, 1500000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    PriceRecord r;
    ASSERT_EQ(0, ParsePriceLine(TextLineLayoutFor(c.id), c.line, r));
    EXPECT_EQ(c.date, r.date.value());
    EXPECT_EQ(c.time, r.time.value());
    EXPECT_EQ(c.open, r.open);
    EXPECT_EQ(c.high, r.high);
    EXPECT_EQ(c.low, r.low);
    EXPECT_EQ(c.close, r.close);
    EXPECT_EQ(c.volume, r.volume);
  }
}

TEST(TextLineCodec, RefusesLinesItCannotUse) {
  struct Case {
    int id;
    std::string line;
  } cases[] = {
      {5, "010303 12.5 13 12 12.75"},           // no field separator
      {10, "030301\t1\t2\t3\t4\t5"},            // no date separator
      {5, "010303,1,2,3"},                      // three values
      {21, "20010303,093000,1,2,3"},            // three values after the time
      {21, "20010303"},                         // nothing after the date
      {5, ""},                                  // empty
      {5, "Date,Open,High,Low,Close,Volume"},   // a heading
      {5, "010303,nan,2,3,4,5"},                // not a number a price can be
      {5, "010303,1e999,2,3,4,5"},              // beyond a float
      {5, "010303,1,2,3,4," + std::string(200, '5')},  // longer than a line may be
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    PriceRecord r = March3();
    EXPECT_EQ(-1, ParsePriceLine(TextLineLayoutFor(c.id), c.line, r));
    EXPECT_EQ(20010303, r.date.value());  // untouched
  }
}

TEST(TextLineCodec, ReadsCrLfAndLfAndALastLineWithoutLineEnd) {
  struct Case {
    const char* bytes;
    std::size_t records;
  } cases[] = {
      {"010303,1,2,3,4,5\r\n010304,1,2,3,4,6\r\n", 2},
      {"010303,1,2,3,4,5\n010304,1,2,3,4,6\n", 2},
      {"010303,1,2,3,4,5\r\n010304,1,2,3,4,6", 2},
      {"010303,1,2,3,4,5\n010304,1,2,3,4,6\r", 2},
      {"", 0},
      // An unusable line ends the data; what follows is not read.
      {"010303,1,2,3,4,5\r\nbroken\r\n010305,1,2,3,4,7\r\n", 1},
      {"010303,1,2,3,4,5\r\n\r\n010305,1,2,3,4,7\r\n", 1},
      {"010303,1,2,3\r\n010305,1,2,3,4,7\r\n", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    auto records = ReadLines(5, c.bytes);
    ASSERT_EQ(c.records, records.size());
    if (c.records == 2) {
      EXPECT_EQ(6.0f, records[1].volume);
    }
  }
}

TEST(TextLineCodec, AnOverlongLineEndsTheDataWithoutSplittingIt) {
  std::string longLine = "010304,1,2,3,4," + std::string(300, '6');
  auto records = ReadLines(5, "010303,1,2,3,4,5\r\n" + longLine + "\r\n010305,1,2,3,4,7\r\n");
  ASSERT_EQ(1u, records.size());

  // The longest line taken is kMaxTextLineLength characters before its CR LF.
  std::string longest = "010303,1,2,3,4," + std::string(kMaxTextLineLength - 16, ' ') + "5";
  ASSERT_EQ(kMaxTextLineLength, longest.size());
  EXPECT_EQ(1u, ReadLines(5, longest + "\r\n").size());
  EXPECT_EQ(0u, ReadLines(5, longest + "5\r\n").size());
}

TEST(TextLineCodec, WritesAndReadsAlikeUnderACommaLocale) {
  // A user locale with a decimal comma changes neither the bytes nor the reading.
  const char* set = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
  if (!set) set = std::setlocale(LC_NUMERIC, "nl_NL.UTF-8");
  std::string line = FormatPriceLine(TextLineLayoutFor(5), March3());
  PriceRecord r;
  int rc = ParsePriceLine(TextLineLayoutFor(5), "010303,1.5,2,3,4,5", r);
  std::setlocale(LC_NUMERIC, "C");
  EXPECT_EQ("010303,12.500,13.000,12.000,12.750,1500\r\n", line);
  ASSERT_EQ(0, rc);
  EXPECT_EQ(1.5f, r.open);
}

TEST(TextLineCodec, RoundTripsEveryFormatThroughAStream) {
  const int ids[] = {5, 9, 10, 11, 13, 14, 15, 17, 21};
  for (int id : ids) {
    SCOPED_TRACE(id);
    TextLineLayout layout = TextLineLayoutFor(id);
    std::FILE* f = std::tmpfile();
    ASSERT_NE(nullptr, f);
    for (int day = 1; day <= 3; ++day) {
      PriceRecord r = Daily(Date(2002, 6, day), 1.125f * day, 2, 0.5f, 1.75f, 100.0f * day);
      if (id == 21) r.time = Time(10, day, 0);
      ASSERT_EQ(0, WritePriceLine(f, layout, r));
    }
    std::rewind(f);
    PriceRecord r;
    int n = 0;
    while (ReadPriceLine(f, layout, r) == 0) {
      ++n;
      EXPECT_EQ(Date(2002, 6, n).value(), r.date.value());
      EXPECT_EQ(id == 21 ? 100000 + n * 100 : -1, r.time.value());
      EXPECT_EQ(1.125f * n, r.open);
      EXPECT_EQ(100.0f * n, r.volume);
    }
    EXPECT_EQ(3, n);
    std::fclose(f);
  }
}

TEST(TextLineCodec, RefusesToWriteValuesNoReaderCouldTakeBack) {
  std::FILE* f = std::tmpfile();
  ASSERT_NE(nullptr, f);
  PriceRecord r = March3();
  r.close = std::numeric_limits<float>::infinity();
  EXPECT_EQ(-1, WritePriceLine(f, TextLineLayoutFor(5), r));
  EXPECT_EQ(0, std::ftell(f));
  std::fclose(f);
}

}  // namespace
}  // namespace kvqt
