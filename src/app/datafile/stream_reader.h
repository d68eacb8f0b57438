// Reads the binary object stream of the program data file. The stream format
// number in the header decides the widths: format 0 (a file without the ':'
// header) has 2-byte integers, formats up to 256 have 1-byte text lengths
// (255: null text), later ones 4-byte lengths (0xFFFFFFFF: null text).
// Nothing is trusted: every read checks the bytes left, and after the first
// read that does not fit every further read fails.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kvqt {

class StreamReader {
 public:
  // The bytes must outlive the reader.
  explicit StreamReader(std::string_view bytes) : bytes_(bytes) {}

  // The ':' and the 4-byte stream format; without the ':' nothing is consumed
  // and the stream format is 0. False when the header is cut short.
  bool readHeader();
  std::uint32_t streamFormat() const { return streamFormat_; }

  bool ok() const { return ok_; }
  // Marks the stream as corrupt at the current offset (a value that makes no sense).
  void fail() { ok_ = false; }
  // Offset of the next byte, or of the read that failed.
  std::size_t offset() const { return offset_; }
  std::size_t remaining() const { return bytes_.size() - offset_; }

  bool readByte(std::uint8_t& value);
  bool readChar(char& value);
  // A count, index or id: 2 bytes in stream format 0, else 4 (signed).
  bool readInt(std::int32_t& value);
  // Always 4 bytes (the version).
  bool readInt32(std::int32_t& value);
  bool readInt16(std::int16_t& value);
  bool readFloat(float& value);
  // A null text reads as empty. The text is cut at its first NUL and at `size`
  // characters; the bytes beyond are skipped.
  bool readText(std::string& text, std::size_t size);
  // Up to `size` bytes: fewer when the stream ends (and the stream then fails).
  std::string_view readBlock(std::size_t size);

 private:
  const unsigned char* take(std::size_t size);

  std::string_view bytes_;
  std::size_t offset_ = 0;
  std::uint32_t streamFormat_ = 0;
  bool ok_ = true;
};

}  // namespace kvqt
