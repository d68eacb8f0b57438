#include "service/symbols/feed_crc.h"

#include <array>

namespace kvqt {
namespace {

constexpr std::array<std::uint16_t, 256> MakeTable() {
  std::array<std::uint16_t, 256> table{};
  for (unsigned i = 0; i < 256; ++i) {
    unsigned crc = i << 8;
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 0x8000) ? (crc << 1) ^ 0x1021 : crc << 1;
    table[i] = static_cast<std::uint16_t>(crc);
  }
  return table;
}

constexpr std::array<std::uint16_t, 256> kTable = MakeTable();

}  // namespace

std::uint16_t FeedCrc16(const unsigned char* bytes, std::size_t size) {
  unsigned value = 0;
  for (std::size_t i = 0; i < size; ++i) {
    // The sender adds each byte sign-extended: 0x80 to 0xFF also flip the upper half.
    const auto b = static_cast<std::uint16_t>(static_cast<std::int16_t>(static_cast<std::int8_t>(bytes[i])));
    value = (kTable[value >> 8] ^ (value << 8) ^ b) & 0xFFFF;
  }
  return static_cast<std::uint16_t>(value);
}

}  // namespace kvqt
