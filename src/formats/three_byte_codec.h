// The three-byte numbers of the Technical Investor, TopVest and Koersbase II
// files. A price holds 16 integer bits and 8 fraction bits: b1 * 256 + b0 +
// b2 / 256. A volume is b0 * 256 + b1 * 65536 + b2.
#pragma once

#include <cstdint>

namespace kvqt {

inline constexpr float kMaxThreeBytePrice = 65535.0f + 255.0f / 256.0f;
inline constexpr std::int32_t kMaxThreeByteVolume = 0xFFFFFF;

float GetThreeBytePrice(const unsigned char* in3);
// The integer part truncated, the fraction truncated to 1/256. Values outside
// 0 .. kMaxThreeBytePrice are stored as the nearest end (NaN as 0), so a price
// too large for the field never turns into a small one.
void PutThreeBytePrice(unsigned char* out3, float value);

std::int32_t GetThreeByteVolume(const unsigned char* in3);
// Truncated; below 0 (and NaN) stored as 0, above `limit` (at most
// kMaxThreeByteVolume) as `limit`.
void PutThreeByteVolume(unsigned char* out3, float value, std::int32_t limit = kMaxThreeByteVolume);

}  // namespace kvqt
