// Output files the user names for a file download or a local query: never one
// of the program's own files, nor the files a download session works with,
// which the output would destroy (or the exit save overwrite).
#pragma once

#include <string_view>

namespace kvqt {

inline constexpr const char* kOutputNameNotAllowed = "Output filename not allowed:";

// False when the file name and extension of `path` (letter case aside) is
// "query.dat", "kvqt.prs", "kvqt.dat" or "sksdat.dat".
bool OutputFileNameAllowed(std::string_view path);

}  // namespace kvqt
