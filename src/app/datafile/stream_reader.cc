#include "app/datafile/stream_reader.h"

#include "app/model/text_field.h"
#include "platform/little_endian.h"

namespace kvqt {

const unsigned char* StreamReader::take(std::size_t size) {
  if (!ok_ || size > remaining()) {
    ok_ = false;
    return nullptr;
  }
  const auto* p = reinterpret_cast<const unsigned char*>(bytes_.data()) + offset_;
  offset_ += size;
  return p;
}

bool StreamReader::readHeader() {
  streamFormat_ = 0;
  if (bytes_.empty() || bytes_[0] != ':') return !bytes_.empty();
  take(1);
  const unsigned char* p = take(4);
  if (p) streamFormat_ = platform::GetLe32(p);
  return p != nullptr;
}

bool StreamReader::readByte(std::uint8_t& value) {
  const unsigned char* p = take(1);
  if (p) value = *p;
  return p != nullptr;
}

bool StreamReader::readChar(char& value) {
  std::uint8_t byte = 0;
  if (!readByte(byte)) return false;
  value = static_cast<char>(byte);
  return true;
}

bool StreamReader::readInt(std::int32_t& value) {
  if (streamFormat_ != 0) return readInt32(value);
  std::int16_t narrow = 0;
  if (!readInt16(narrow)) return false;
  value = narrow;
  return true;
}

bool StreamReader::readInt32(std::int32_t& value) {
  const unsigned char* p = take(4);
  if (p) value = platform::GetLeI32(p);
  return p != nullptr;
}

bool StreamReader::readInt16(std::int16_t& value) {
  const unsigned char* p = take(2);
  if (p) value = platform::GetLeI16(p);
  return p != nullptr;
}

bool StreamReader::readFloat(float& value) {
  const unsigned char* p = take(4);
  if (p) value = platform::GetLeFloat(p);
  return p != nullptr;
}

bool StreamReader::readText(std::string& text, std::size_t size) {
  std::uint32_t length = 0;
  if (streamFormat_ <= 256) {
    const unsigned char* p = take(1);
    if (!p) return false;
    length = *p == 0xFF ? 0 : *p;
  } else {
    const unsigned char* p = take(4);
    if (!p) return false;
    length = platform::GetLe32(p);
    if (length == 0xFFFFFFFFu) length = 0;
  }
  const unsigned char* chars = take(length);
  if (!chars) return false;
  text = FieldText(std::string_view(reinterpret_cast<const char*>(chars), length), size);
  return true;
}

std::string_view StreamReader::readBlock(std::size_t size) {
  if (!ok_) return {};
  std::size_t n = size <= remaining() ? size : remaining();
  std::string_view block = bytes_.substr(offset_, n);
  offset_ += n;
  if (n < size) ok_ = false;
  return block;
}

}  // namespace kvqt
