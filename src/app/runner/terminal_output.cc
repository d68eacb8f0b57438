#include "app/runner/terminal_output.h"

#include <cstdio>

#include "app/core/logs.h"

namespace kvqt {
namespace {

bool IsAsciiAlnum(unsigned char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsAsciiPunct(unsigned char c) { return c > ' ' && c < 0x7f && !IsAsciiAlnum(c); }

}  // namespace

bool TerminalLineBuilder::take(std::string& line) {
  line.swap(buffer_);
  buffer_.clear();
  return true;
}

bool TerminalLineBuilder::add(char ch, std::string& line) {
  const unsigned char c = static_cast<unsigned char>(ch);
  const bool after_cr = afterCarriageReturn_;
  afterCarriageReturn_ = (c == '\r');
  if (c == 0 || c >= 0x80) return false;
  if (c == '\n' && after_cr) return false;
  if (c == '\r' || c == '\n') return take(line);

  bool completed = false;
  if (IsAsciiAlnum(c) || IsAsciiPunct(c) || c == ' ' || c == '\t') {
    buffer_.push_back(static_cast<char>(c));
  } else {
    char escape[8];
    std::snprintf(escape, sizeof escape, "[%02X]", c);
    // Keep the escape whole: a line that has no room for it is written first.
    if (buffer_.size() + 4 > kLineLimit) {
      line.swap(buffer_);
      buffer_.clear();
      completed = true;
    }
    buffer_ += escape;
  }
  if (!completed && buffer_.size() >= kLineLimit) return take(line);
  return completed;
}

std::string TerminalDump::Entry(char ch) {
  const unsigned char c = static_cast<unsigned char>(ch);
  char text[8];
  if (IsAsciiAlnum(c)) {
    std::snprintf(text, sizeof text, "%2c ", c);
  } else {
    // The byte's own value: a signed char would print as ffffff80.
    std::snprintf(text, sizeof text, "%.2x ", static_cast<unsigned>(c));
  }
  return text;
}

void TerminalDump::add(char c) {
  if (!Logs::DebugMode()) return;
  std::string text = Entry(c);
  if (++onLine_ >= kPerLine) {
    text += "\r\n";
    onLine_ = 0;
  }
  if (std::FILE* file = std::fopen(Logs::DebugPath().c_str(), "ab")) {
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
  }
}

}  // namespace kvqt
