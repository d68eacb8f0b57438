#include "formats/real6_codec.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "support/hex.h"

namespace kvqt {
namespace {

using testing::Hex;
using testing::ToHex;

std::string Bytes6(const unsigned char* b) { return std::string(reinterpret_cast<const char*>(b), 6); }

TEST(Real6CodecTest, ValuesAgainstTheirBytes) {
  struct Case {
    float value;
    const char* bytes;
  } cases[] = {
      {0, "00 00 00 00 00 00"},
      {1, "81 00 00 00 00 00"},
      {-1, "81 00 00 00 00 80"},
      {10, "84 00 00 00 00 20"},
      {10.5f, "84 00 00 00 00 28"},
      {0.5f, "80 00 00 00 00 00"},
      {3000, "8c 00 00 00 80 3b"},
      // 0.1 as a single: its 23 fraction bits, the rest 0.
      {0.1f, "7d 00 00 cd cc 4c"},
  };
  for (const Case& c : cases) {
    unsigned char out[6];
    PutReal6(out, c.value);
    EXPECT_EQ(ToHex(Hex(c.bytes)), ToHex(Bytes6(out))) << c.value;
    EXPECT_EQ(c.value, GetReal6(out)) << c.value;
  }
}

TEST(Real6CodecTest, ReadingUsesTheTopTwentyThreeFractionBits) {
  // Bytes 1 and 2 hold fraction bits a single has no room for: ignored.
  EXPECT_EQ(0.1f, GetReal6(reinterpret_cast<const unsigned char*>(Hex("7d ff ff cd cc 4c").data())));
  // An exponent byte of 0 is 0 whatever the other bytes hold.
  EXPECT_EQ(0.0f, GetReal6(reinterpret_cast<const unsigned char*>(Hex("00 ff ff ff ff ff").data())));
}

TEST(Real6CodecTest, ValuesTheFieldCannotHold) {
  struct Case {
    float value;
    const char* bytes;
  } cases[] = {
      {std::numeric_limits<float>::quiet_NaN(), "00 00 00 00 00 00"},
      {std::numeric_limits<float>::infinity(), "ff ff ff ff ff 7f"},
      {-std::numeric_limits<float>::infinity(), "ff ff ff ff ff ff"},
      {std::numeric_limits<float>::max(), "ff ff ff ff ff 7f"},  // 2^128 needs exponent byte 256
      {std::numeric_limits<float>::denorm_min(), "00 00 00 00 00 00"},
  };
  for (const Case& c : cases) {
    unsigned char out[6];
    PutReal6(out, c.value);
    EXPECT_EQ(ToHex(Hex(c.bytes)), ToHex(Bytes6(out))) << c.value;
  }
}

}  // namespace
}  // namespace kvqt
