// The model's texts are fixed-size fields: a text never holds more characters
// than its field, and, as in a C string, nothing after an embedded NUL.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kvqt {

inline constexpr std::size_t kSymbolSize = 8;
inline constexpr std::size_t kFormatNameSize = 256;
inline constexpr std::size_t kListNameSize = 255;
inline constexpr std::size_t kDirectoryNameSize = 768;
inline constexpr std::size_t kInstrumentNameSize = 50;

// The text cut at its first NUL and at `size` characters.
inline std::string FieldText(std::string_view text, std::size_t size) {
  std::size_t nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  if (text.size() > size) text = text.substr(0, size);
  return std::string(text);
}

}  // namespace kvqt
