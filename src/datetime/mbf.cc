#include "datetime/mbf.h"

#include <cmath>
#include <cstring>

#include "platform/little_endian.h"

namespace kvqt {
namespace {

constexpr std::uint32_t kSignBit = 0x00800000;      // byte 2, bit 7 of MBF
constexpr std::uint32_t kMantissaMask = 0x007FFFFF;

}  // namespace

float MbfBitsToFloat(std::uint32_t mbf) {
  const std::uint32_t exponent = mbf >> 24;
  // IEEE keeps two fewer exponent steps at the bottom: MBF exponents 1 and 2
  // would land on IEEE's zero/denormal exponents, where the mantissa means
  // something else, so they read as zero like MBF's own zero.
  if (exponent <= 2) return 0.0f;
  const std::uint32_t sign = (mbf & kSignBit) ? 0x80000000u : 0u;
  const std::uint32_t bits = sign | (exponent - 2) << 23 | (mbf & kMantissaMask);
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

std::uint32_t FloatToMbfBits(float value) {
  if (std::isnan(value)) return 0;
  std::uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  const std::uint32_t sign = (bits & 0x80000000u) ? kSignBit : 0u;
  const std::uint32_t exponent = (bits >> 23) & 0xFF;
  // Zero of either sign and denormals have no MBF form: all zero bytes.
  if (exponent == 0) return 0;
  // IEEE exponents 254 and up (and infinity) do not fit after the bias of two
  // more; saturate rather than wrap into a tiny number.
  if (exponent >= 254) return 0xFF000000u | sign | kMantissaMask;
  return (exponent + 2) << 24 | sign | (bits & kMantissaMask);
}

float MbfToFloat(const unsigned char* bytes4) { return MbfBitsToFloat(platform::GetLe32(bytes4)); }

void FloatToMbf(float value, unsigned char* bytes4) { platform::PutLe32(bytes4, FloatToMbfBits(value)); }

}  // namespace kvqt
