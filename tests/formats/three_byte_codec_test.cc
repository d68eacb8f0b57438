#include "formats/three_byte_codec.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "support/hex.h"

namespace kvqt {
namespace {

using testing::Hex;
using testing::ToHex;

std::string Bytes3(const unsigned char* b) { return std::string(reinterpret_cast<const char*>(b), 3); }

TEST(ThreeByteCodecTest, PricesAgainstTheirBytes) {
  struct Case {
    float value;
    const char* bytes;
    float readBack;  // the fraction is kept in 1/256 steps
  } cases[] = {
      {12.75f, "0c 00 c0", 12.75f},
      {0, "00 00 00", 0},
      {1, "01 00 00", 1},
      {256.5f, "00 01 80", 256.5f},
      {1234.0039f, "d2 04 01", 1234.00390625f},  // 1/256 just reached
      {10.999f, "0a 00 ff", 10.99609375f},       // truncated, never rounded up
      {65535.99f, "ff ff fd", 65535.98828125f},
      {70000, "ff ff ff", 65535.99609375f},  // too large: the largest, not 70000 - 65536
      {-3.5f, "00 00 00", 0},                // below 0: 0, not a wrapped large value
      {std::numeric_limits<float>::quiet_NaN(), "00 00 00", 0},
  };
  for (const Case& c : cases) {
    unsigned char out[3];
    PutThreeBytePrice(out, c.value);
    EXPECT_EQ(ToHex(Hex(c.bytes)), ToHex(Bytes3(out))) << c.value;
    EXPECT_EQ(c.readBack, GetThreeBytePrice(out)) << c.value;
  }
}

TEST(ThreeByteCodecTest, VolumesAgainstTheirBytes) {
  struct Case {
    float value;
    std::int32_t limit;
    const char* bytes;
    std::int32_t readBack;
  } cases[] = {
      {70000, kMaxThreeByteVolume, "11 01 70", 70000},
      {0, kMaxThreeByteVolume, "00 00 00", 0},
      {255.9f, kMaxThreeByteVolume, "00 00 ff", 255},
      {256, kMaxThreeByteVolume, "01 00 00", 256},
      {8000000, 7000000, "cf 6a c0", 7000000},  // the Technical Investor limit
      {7000000, 7000000, "cf 6a c0", 7000000},
      {20000000, 16000000, "24 f4 00", 16000000},  // the Koersbase II limit
      {1e12f, kMaxThreeByteVolume, "ff ff ff", 0xFFFFFF},
      {-5, kMaxThreeByteVolume, "00 00 00", 0},
      {std::numeric_limits<float>::quiet_NaN(), 7000000, "00 00 00", 0},
  };
  for (const Case& c : cases) {
    unsigned char out[3];
    PutThreeByteVolume(out, c.value, c.limit);
    EXPECT_EQ(ToHex(Hex(c.bytes)), ToHex(Bytes3(out))) << c.value;
    EXPECT_EQ(c.readBack, GetThreeByteVolume(out)) << c.value;
  }
}

}  // namespace
}  // namespace kvqt
