// Command-line arguments that name the program's objects: a format by symbol
// or id, a directory path as the data model keeps it.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "app/model/formats.h"

namespace kvqt::config {

// The longest path a Directory keeps (its field holds 768 bytes with the NUL).
inline constexpr std::size_t kMaxDirectoryPath = 767;

// The format whose symbol equals `text` regardless of case, or, when `text`
// is a number, whose id it is; null after a message on `err`.
Format* FindFormatArgument(Formats& formats, std::string_view text, std::ostream& err);
// The same, refusing a format that is only an output format (no directories).
Format* FindDirectoryFormatArgument(Formats& formats, std::string_view text, std::ostream& err);

// The path made absolute from the current directory, "." and ".." resolved
// by name, the spelling kept; false after a message on `err`.
bool AbsolutePath(std::string_view text, std::string& path, std::ostream& err);

// Whether anything (file, directory, device, ...) is at the path.
bool PathExists(const std::string& path);

// The path with a trailing separator: a relative path is taken from the current
// directory and "." and ".." are resolved by name; the spelling is kept. Empty
// after a message on `err` for an empty or too long path.
std::string DirectoryArgument(std::string_view text, std::ostream& err);

}  // namespace kvqt::config
