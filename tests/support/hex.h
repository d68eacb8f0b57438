// Byte layouts in tests are written out as hex: "3a 01 01 00 00" (blanks,
// line breaks and '|' separators are ignored).
#pragma once

#include <string>
#include <string_view>

namespace kvqt::testing {

std::string Hex(std::string_view hex);
// Bytes as lower-case hex pairs separated by blanks, for failure output.
std::string ToHex(std::string_view bytes);
// A little-endian 32-bit integer, a text padded with NULs, and so on, as bytes.
std::string Le16(int value);
std::string Le32(long value);
std::string Padded(std::string_view text, std::size_t size, char pad = '\0');

}  // namespace kvqt::testing
