// The six-byte real of the legacy .hdf files. Byte 0 is the exponent biased by
// 129 (0 is the value 0); bit 7 of byte 5 the sign; the low 7 bits of byte 5,
// then bytes 4, 3, 2, 1 the fraction f, most significant first. The value is
// +-(1 + f) * 2^(exponent - 129).
#pragma once

namespace kvqt {

// Only the top 23 fraction bits are used, which is all a single holds.
float GetReal6(const unsigned char* in6);
// 0 (and NaN) as six zero bytes; values too small for the field as 0, too
// large (and infinities) as the largest value of their sign.
void PutReal6(unsigned char* out6, float value);

}  // namespace kvqt
