#include "app/core/showable_text.h"

namespace kvqt {
namespace {

// Length of the valid UTF-8 sequence starting at `i`, 0 when there is none;
// `control` tells a C1 control (U+0080 to U+009F), which acts on terminals too.
std::size_t SequenceLength(std::string_view text, std::size_t i, bool* control) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  std::size_t length = 0;
  unsigned min = 0;
  unsigned value = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, min = 0x80, value = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, min = 0x800, value = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, min = 0x10000, value = lead & 0x07;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    value = (value << 6) | (byte(i + k) & 0x3F);
  }
  if (value < min || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  *control = value <= 0x9F;
  return length;
}

}  // namespace

std::string ShowableText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      const bool control = (c < 0x20 && c != '\t' && c != '\n') || c == 0x7F;
      out.push_back(control ? '?' : static_cast<char>(c));
      ++i;
      continue;
    }
    bool control = false;
    const std::size_t length = SequenceLength(text, i, &control);
    if (length == 0) {
      out.push_back('?');
      ++i;
    } else if (control) {
      out.push_back('?');
      i += length;
    } else {
      out.append(text.substr(i, length));
      i += length;
    }
  }
  return out;
}

}  // namespace kvqt
