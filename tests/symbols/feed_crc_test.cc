#include "service/symbols/feed_crc.h"

#include <gtest/gtest.h>

#include "feed_writer.h"
#include "support/hex.h"

namespace kvqt {
namespace {

using testing::Hex;

std::uint16_t Crc(const std::string& bytes) {
  return FeedCrc16(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

TEST(FeedCrcTest, KnownValues) {
  const struct {
    const char* hex;
    std::uint16_t crc;
  } cases[] = {
      {"", 0x0000},
      {"31", 0x0031},
      // A byte from 0x80 up counts as negative: the upper half flips too.
      {"ff", 0xffff},
      {"80", 0xff80},
      {"ff 0c 01 01 00 00 03 01 00 00 00", 0x672e},
      {"ff 0c 01 07 00 00 03 02 00 00 00", 0xbf9c},
  };
  for (const auto& c : cases) EXPECT_EQ(Crc(Hex(c.hex)), c.crc) << c.hex;
}

// The writer computes bit by bit what the reader takes from its table.
TEST(FeedCrcTest, AgreesWithTheWritersBitwiseValue) {
  std::string bytes;
  std::uint32_t seed = 7;
  for (int i = 0; i < 2000; ++i) {
    seed = seed * 1103515245u + 12345u;
    bytes.push_back(static_cast<char>(seed >> 16));
    ASSERT_EQ(Crc(bytes), feed_writer::CheckValue(bytes)) << i;
  }
}

}  // namespace
}  // namespace kvqt
