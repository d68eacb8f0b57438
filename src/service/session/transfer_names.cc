#include "service/session/transfer_names.h"

namespace kvqt {

bool IsPlainFileName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (char c : name) {
    switch (c) {
      case '/':
      case '\\':
      case '\0':
      case '<':
      case '>':
      case '*':
      case '?':
        return false;
      default:
        break;
    }
  }
  return true;
}

bool ParseTransferSize(std::string_view text, std::int64_t* size) {
  std::size_t begin = text.find_first_not_of(' ');
  if (begin == std::string_view::npos) return false;
  std::size_t end = text.find_last_not_of(' ') + 1;
  std::string_view digits = text.substr(begin, end - begin);
  std::int64_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
    // Stop before the value can overflow: anything past the bound is refused anyway.
    if (value > kMaxTransferSize) return false;
  }
  if (value <= 0) return false;
  *size = value;
  return true;
}

}  // namespace kvqt
