// Builds expected file contents field by field, at the offsets of the layout
// tables, so the tests state byte layouts independently of the writers.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "support/hex.h"

namespace kvqt::testing {

class Bytes {
 public:
  explicit Bytes(std::size_t size, char fill = '\0') : bytes_(size, fill) {}
  // Places raw bytes at an offset.
  Bytes& at(std::size_t offset, std::string_view raw) {
    bytes_.replace(offset, raw.size(), raw);
    return *this;
  }
  // Places hex bytes ("70 2a 74 94") at an offset.
  Bytes& hex(std::size_t offset, std::string_view hexText) { return at(offset, Hex(hexText)); }
  Bytes& byte(std::size_t offset, int value) {
    bytes_[offset] = static_cast<char>(value);
    return *this;
  }
  const std::string& str() const { return bytes_; }
  operator std::string() const { return bytes_; }

 private:
  std::string bytes_;
};

}  // namespace kvqt::testing
