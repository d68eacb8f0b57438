#include "service/session/transfer_names.h"

#include <cctype>

#include "app/core/showable_text.h"

namespace kvqt {

bool IsSessionFileName(std::string_view name, std::string_view wanted) {
  if (name.size() != wanted.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(name[i])) != std::tolower(static_cast<unsigned char>(wanted[i])))
      return false;
  }
  return true;
}

bool IsPlainFileName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  // A leading '-' reads as an option to every program the file is handed to.
  if (name.front() == '-') return false;
  for (char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) return false;
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
  // Bytes that are no text (or a C1 control) would reach a terminal raw.
  return ShowableText(name) == name;
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
