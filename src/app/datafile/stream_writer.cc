#include "app/datafile/stream_writer.h"

#include "platform/little_endian.h"

namespace kvqt {

void StreamWriter::putInt32(std::int32_t value) {
  unsigned char b[4];
  platform::PutLe32(b, static_cast<std::uint32_t>(value));
  bytes_.append(reinterpret_cast<const char*>(b), 4);
}

void StreamWriter::putInt16(std::int16_t value) {
  unsigned char b[2];
  platform::PutLe16(b, static_cast<std::uint16_t>(value));
  bytes_.append(reinterpret_cast<const char*>(b), 2);
}

void StreamWriter::putFloat(float value) {
  unsigned char b[4];
  platform::PutLeFloat(b, value);
  bytes_.append(reinterpret_cast<const char*>(b), 4);
}

void StreamWriter::putText(std::string_view text) {
  putInt32(static_cast<std::int32_t>(text.size()));
  bytes_ += text;
}

}  // namespace kvqt
