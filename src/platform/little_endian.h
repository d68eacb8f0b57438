// Field access in fixed-size little-endian records: every field is read and
// written at its offset, never by casting a struct over the bytes.
#pragma once

#include <cstdint>
#include <cstring>

namespace kvqt::platform {

inline std::uint16_t GetLe16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

inline std::uint32_t GetLe32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

inline std::int16_t GetLeI16(const unsigned char* p) { return static_cast<std::int16_t>(GetLe16(p)); }
inline std::int32_t GetLeI32(const unsigned char* p) { return static_cast<std::int32_t>(GetLe32(p)); }

inline void PutLe16(unsigned char* p, std::uint32_t v) {
  p[0] = static_cast<unsigned char>(v);
  p[1] = static_cast<unsigned char>(v >> 8);
}

inline void PutLe32(unsigned char* p, std::uint32_t v) {
  p[0] = static_cast<unsigned char>(v);
  p[1] = static_cast<unsigned char>(v >> 8);
  p[2] = static_cast<unsigned char>(v >> 16);
  p[3] = static_cast<unsigned char>(v >> 24);
}

// IEEE 754 single, little-endian.
inline float GetLeFloat(const unsigned char* p) {
  std::uint32_t bits = GetLe32(p);
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

inline void PutLeFloat(unsigned char* p, float f) {
  std::uint32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  PutLe32(p, bits);
}

}  // namespace kvqt::platform
