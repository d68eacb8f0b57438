// The lines of a request file. Every line ends in CR LF, and no text taken
// from a file or the data model may break a line apart or start another one.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace kvqt {

// Writes the line and CR LF; false on a write error.
bool WriteRequestLine(std::FILE* file, std::string_view line);

// No control characters: the text cannot end its line.
bool IsLineSafe(std::string_view text);
// A symbol that can start a price line: not empty, line-safe, without a comma
// (which would shift every field after it).
bool IsRequestSymbol(std::string_view symbol);

// printf into a string.
std::string FormatLine(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace kvqt
