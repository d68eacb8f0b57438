// The check value of a feed's control records: CRC-16 with the polynomial
// 0x1021, starting from 0, each byte taken as a signed 8-bit number.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kvqt {

std::uint16_t FeedCrc16(const unsigned char* bytes, std::size_t size);

}  // namespace kvqt
