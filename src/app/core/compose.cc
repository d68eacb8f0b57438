#include "app/core/compose.h"

#include <cstdio>

namespace kvqt {
namespace {

std::string_view Cut(std::string_view text) { return text.substr(0, kInsertedTextLimit); }

}  // namespace

std::string compose2(std::string_view text, std::string_view text2) {
  std::string out(Cut(text));
  out += ' ';
  out += Cut(text2);
  return out;
}

std::string compose3(std::string_view text, std::string_view text2, std::string_view text3) {
  std::string out = compose2(text, text2);
  out += ' ';
  out += Cut(text3);
  return out;
}

std::string composeInt(std::string_view text, long n) {
  std::string out(Cut(text));
  out += ' ';
  out += std::to_string(n);
  return out;
}

std::string composeFormatV(const char* format, std::va_list args) {
  char buffer[1024];
  std::vsnprintf(buffer, sizeof buffer, format, args);
  return buffer;
}

std::string composeFormat(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::string out = composeFormatV(format, args);
  va_end(args);
  return out;
}

}  // namespace kvqt
