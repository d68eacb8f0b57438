#include "datetime/mbf.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "support/hex.h"

namespace kvqt {
namespace {

using kvqt::testing::Hex;
using kvqt::testing::ToHex;

std::string ToMbf(float f) {
  unsigned char b[4];
  FloatToMbf(f, b);
  return std::string(reinterpret_cast<char*>(b), 4);
}

float FromMbf(const std::string& bytes) { return MbfToFloat(reinterpret_cast<const unsigned char*>(bytes.data())); }

TEST(MbfTest, KnownValuesBothWays) {
  const struct {
    float value;
    const char* mbf;
  } cases[] = {
      {0.0f, "00 00 00 00"},
      {1.0f, "00 00 00 81"},
      {-1.0f, "00 00 80 81"},
      {0.5f, "00 00 00 80"},
      {10.0f, "00 00 20 84"},
      {1000101.0f, "50 2a 74 94"},      // 1 January 2000 as CYYMMDD
      {-1000000000.0f, "28 6b ee 9e"},  // the "no close" placeholder of the chart files
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ToHex(ToMbf(c.value)), ToHex(Hex(c.mbf))) << c.value;
    EXPECT_EQ(FromMbf(Hex(c.mbf)), c.value) << c.mbf;
  }
}

TEST(MbfTest, ExponentsBelowIeeeRangeReadAsZero) {
  // MBF zero is any mantissa with exponent 0; exponents 1 and 2 have no normal IEEE form.
  for (const char* mbf : {"ff ff 7f 00", "00 00 80 00", "12 34 56 01", "00 00 00 02"}) {
    EXPECT_EQ(FromMbf(Hex(mbf)), 0.0f) << mbf;
  }
  EXPECT_EQ(FromMbf(Hex("00 00 00 03")), std::ldexp(1.0f, -126));  // smallest normal float
}

TEST(MbfTest, ValuesWithoutAnMbfFormAreSavedSafely) {
  const struct {
    float value;
    const char* mbf;
  } cases[] = {
      {-0.0f, "00 00 00 00"},
      {std::numeric_limits<float>::denorm_min(), "00 00 00 00"},
      {std::numeric_limits<float>::quiet_NaN(), "00 00 00 00"},
      {std::numeric_limits<float>::infinity(), "ff ff 7f ff"},
      {-std::numeric_limits<float>::infinity(), "ff ff ff ff"},
      {std::numeric_limits<float>::max(), "ff ff 7f ff"},
  };
  for (const auto& c : cases) EXPECT_EQ(ToHex(ToMbf(c.value)), ToHex(Hex(c.mbf))) << c.value;
}

TEST(MbfTest, NormalFloatsSurviveTheRoundTrip) {
  for (float f : {3.14159f, -2.5e-30f, 1.5e37f, 0.01f, 123456.789f, -7.0f}) {
    EXPECT_EQ(FromMbf(ToMbf(f)), f);
    EXPECT_EQ(MbfBitsToFloat(FloatToMbfBits(f)), f);
  }
}

}  // namespace
}  // namespace kvqt
