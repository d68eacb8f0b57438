#include "support/hex.h"

#include <cctype>
#include <stdexcept>

namespace kvqt::testing {
namespace {

int Nibble(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  throw std::invalid_argument(std::string("not a hex digit: ") + c);
}

}  // namespace

std::string Hex(std::string_view hex) {
  std::string out;
  int high = -1;
  for (char c : hex) {
    if (std::isspace(static_cast<unsigned char>(c)) || c == '|') continue;
    int n = Nibble(c);
    if (high < 0) {
      high = n;
    } else {
      out.push_back(static_cast<char>(high << 4 | n));
      high = -1;
    }
  }
  if (high >= 0) throw std::invalid_argument("odd number of hex digits");
  return out;
}

std::string ToHex(std::string_view bytes) {
  static const char* digits = "0123456789abcdef";
  std::string out;
  for (unsigned char b : bytes) {
    if (!out.empty()) out.push_back(' ');
    out.push_back(digits[b >> 4]);
    out.push_back(digits[b & 15]);
  }
  return out;
}

std::string Le16(int value) {
  std::string out(2, '\0');
  out[0] = static_cast<char>(value & 0xFF);
  out[1] = static_cast<char>((value >> 8) & 0xFF);
  return out;
}

std::string Le32(long value) {
  std::string out(4, '\0');
  for (int i = 0; i < 4; ++i) out[i] = static_cast<char>((static_cast<unsigned long>(value) >> (8 * i)) & 0xFF);
  return out;
}

std::string Padded(std::string_view text, std::size_t size, char pad) {
  std::string out(text.substr(0, size));
  out.resize(size, pad);
  return out;
}

}  // namespace kvqt::testing
