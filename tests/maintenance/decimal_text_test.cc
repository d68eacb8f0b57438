#include "maintenance/decimal_text.h"

#include <gtest/gtest.h>

namespace kvqt {
namespace {

TEST(DecimalTextTest, ReadsTheLeadingNumberAndZeroForAnythingElse) {
  struct Case {
    const char* text;
    double value;
  } cases[] = {
      {"12.5", 12.5},   {"  7", 7},     {"+3", 3},      {"-0.25", -0.25}, {".5", 0.5},     {"1e3", 1000},
      {"12abc", 12},    {"4,75", 4},    {"abc", 0},     {"", 0},          {"-", 0},        {"inf", 0},
      {"nan", 0},       {"1e999", 0},   {" \t2.0", 2},
  };
  for (const Case& c : cases) EXPECT_EQ(c.value, ParseDecimalText(c.text)) << c.text;
}

TEST(DecimalTextTest, FloatFieldsReadNumbersBeyondTheirRangeAsZero) {
  EXPECT_EQ(0.0f, ParseFloatText("1e39"));
  EXPECT_EQ(0.0f, ParseFloatText("-1e39"));
  EXPECT_EQ(3.5f, ParseFloatText("3.5"));
}

TEST(DecimalTextTest, FixedTextRoundsLikePrintfWithAPoint) {
  struct Case {
    double value;
    int decimals;
    const char* text;
  } cases[] = {{2, 2, "2.00"}, {0.125, 2, "0.12"}, {1999.5, 0, "2000"}, {-1.23456, 4, "-1.2346"}, {1e6, 0, "1000000"}};
  for (const Case& c : cases) EXPECT_EQ(c.text, FixedText(c.value, c.decimals)) << c.value;
}

}  // namespace
}  // namespace kvqt
