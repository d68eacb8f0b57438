#include "service/request_text.h"

#include <stdio.h>

#include <cstdarg>

namespace kvqt {

bool WriteRequestLine(std::FILE* file, std::string_view line) {
  // A request file is written by one thread only: its stream needs no lock.
  if (!line.empty() && ::fwrite_unlocked(line.data(), 1, line.size(), file) != line.size()) return false;
  return ::fwrite_unlocked("\r\n", 1, 2, file) == 2;
}

bool IsLineSafe(std::string_view text) {
  for (char c : text) {
    unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7f) return false;
  }
  return true;
}

bool IsRequestSymbol(std::string_view symbol) {
  return !symbol.empty() && IsLineSafe(symbol) && symbol.find(',') == std::string_view::npos;
}

std::string FormatLine(const char* format, ...) {
  char buffer[512];
  va_list args;
  va_start(args, format);
  int n = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  if (n < 0) return {};
  if (static_cast<std::size_t>(n) < sizeof buffer) return std::string(buffer, static_cast<std::size_t>(n));
  std::string text(static_cast<std::size_t>(n) + 1, '\0');
  va_start(args, format);
  std::vsnprintf(text.data(), text.size(), format, args);
  va_end(args);
  text.resize(static_cast<std::size_t>(n));
  return text;
}

}  // namespace kvqt
