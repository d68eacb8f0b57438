#include "formats/three_byte_codec.h"

namespace kvqt {

float GetThreeBytePrice(const unsigned char* in3) {
  return static_cast<float>(in3[1] * 256 + in3[0]) + static_cast<float>(in3[2]) / 256.0f;
}

void PutThreeBytePrice(unsigned char* out3, float value) {
  if (!(value > 0)) value = 0;  // also NaN
  if (value > kMaxThreeBytePrice) value = kMaxThreeBytePrice;
  int whole = static_cast<int>(value);
  int fraction = static_cast<int>((value - static_cast<float>(whole)) * 256.0f);
  out3[0] = static_cast<unsigned char>(whole & 0xFF);
  out3[1] = static_cast<unsigned char>((whole >> 8) & 0xFF);
  out3[2] = static_cast<unsigned char>(fraction & 0xFF);
}

std::int32_t GetThreeByteVolume(const unsigned char* in3) { return in3[0] * 256 + in3[1] * 65536 + in3[2]; }

void PutThreeByteVolume(unsigned char* out3, float value, std::int32_t limit) {
  if (limit > kMaxThreeByteVolume || limit < 0) limit = kMaxThreeByteVolume;
  std::int32_t n = 0;
  if (value >= static_cast<float>(limit))
    n = limit;
  else if (value > 0)
    n = static_cast<std::int32_t>(value);
  out3[0] = static_cast<unsigned char>((n >> 8) & 0xFF);
  out3[1] = static_cast<unsigned char>((n >> 16) & 0xFF);
  out3[2] = static_cast<unsigned char>(n & 0xFF);
}

}  // namespace kvqt
