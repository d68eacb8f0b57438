#include "formats/real6_codec.h"

#include <cmath>
#include <cstring>

namespace kvqt {

float GetReal6(const unsigned char* in6) {
  if (in6[0] == 0) return 0;
  // The top 23 fraction bits: byte 5's low 7 bits, then bytes 4 and 3.
  unsigned long top = static_cast<unsigned long>(in6[5] & 0x7F) << 16 | static_cast<unsigned long>(in6[4]) << 8 | in6[3];
  double mantissa = 1.0 + static_cast<double>(top) / static_cast<double>(1UL << 23);
  double value = std::ldexp(mantissa, in6[0] - 129);
  return static_cast<float>((in6[5] & 0x80) ? -value : value);
}

void PutReal6(unsigned char* out6, float value) {
  std::memset(out6, 0, 6);
  if (value == 0 || std::isnan(value)) return;
  bool negative = std::signbit(value);
  int exponent = 0;
  double fraction = 0;
  if (std::isinf(value)) {
    exponent = 255 - 128;
    fraction = 1;
  } else {
    // x = m * 2^k with m in [0.5, 1), so x = (1 + f) * 2^(k - 1) and the
    // stored exponent is k + 128.
    double m = std::frexp(std::fabs(static_cast<double>(value)), &exponent);
    fraction = 2 * m - 1;
  }
  if (exponent + 128 < 1) return;  // below the smallest value
  if (exponent + 128 > 255) {
    exponent = 255 - 128;
    fraction = 1;
  }
  out6[0] = static_cast<unsigned char>(exponent + 128);
  // 39 fraction bits from the top down by successive halving; a fraction of 1
  // (the largest value) sets every bit.
  static constexpr int kOrder[5] = {5, 4, 3, 2, 1};
  double half = 0.5;
  for (int bit = 0; bit < 39; ++bit, half /= 2) {
    int byteIndex = kOrder[(bit + 1) / 8];
    int shift = 7 - (bit + 1) % 8;
    if (fraction >= half) {
      fraction -= half;
      out6[byteIndex] = static_cast<unsigned char>(out6[byteIndex] | 1 << shift);
    }
  }
  if (negative) out6[5] = static_cast<unsigned char>(out6[5] | 0x80);
}

}  // namespace kvqt
