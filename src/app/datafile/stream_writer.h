// Writes the binary object stream of the program data file in the current
// stream format (257): 4-byte integers, texts as a 4-byte length and the
// characters without a terminator.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kvqt {

class StreamWriter {
 public:
  void putByte(std::uint8_t value) { bytes_ += static_cast<char>(value); }
  void putChar(char value) { bytes_ += value; }
  void putInt32(std::int32_t value);
  void putInt16(std::int16_t value);
  void putFloat(float value);
  void putText(std::string_view text);
  void putBytes(std::string_view bytes) { bytes_ += bytes; }

  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

}  // namespace kvqt
