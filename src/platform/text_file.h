// Text files: written with CR LF line ends, read with CR LF or a lone LF.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace kvqt::platform {

inline constexpr const char* kLineEnd = "\r\n";

// Opens the file for appending, writes one line with CR LF and closes it.
// Returns false when the file cannot be written.
bool AppendLine(const std::string& path, std::string_view line);

// Replaces the file with the given lines, each ended with CR LF.
bool WriteLines(const std::string& path, const std::vector<std::string>& lines);

// Reads one line from an open file: the text up to CR LF, LF or the end, without
// the line end. Returns false at the end of the file when nothing was read.
bool ReadLine(std::FILE* file, std::string& line);

// Reads every line of a file. Returns false when it cannot be opened.
bool ReadLines(const std::string& path, std::vector<std::string>& lines);

}  // namespace kvqt::platform
