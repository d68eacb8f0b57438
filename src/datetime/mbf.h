// Microsoft Binary Format single-precision floats, the price and date fields of
// the older chart databases. Byte 3 is the exponent (bias 129), byte 2 holds the
// sign in its top bit and the top 7 mantissa bits, bytes 1 and 0 the rest.
#pragma once

#include <cstdint>

namespace kvqt {

// Reads 4 MBF bytes. An exponent byte of 0 is zero; exponents too small for a
// normal IEEE single (1 and 2) also read as zero.
float MbfToFloat(const unsigned char* bytes4);
// Writes 4 MBF bytes. Zero (either sign) and values too small for MBF write as
// four zero bytes; values too large (and infinities) write as the largest MBF
// value of their sign; NaN writes as zero.
void FloatToMbf(float value, unsigned char* bytes4);

// The same on the four bytes taken as a little-endian 32-bit word.
float MbfBitsToFloat(std::uint32_t mbf);
std::uint32_t FloatToMbfBits(float value);

}  // namespace kvqt
