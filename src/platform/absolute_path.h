// Paths the user typed relative to where they stand, made absolute before
// the program changes into its program directory.
#pragma once

#include <string>
#include <string_view>

namespace kvqt::platform {

// `path` taken from `base` (a directory) when it is relative; "." and ".."
// resolved by name, a trailing separator kept. An absolute path is only
// resolved by name; an empty one stays empty.
std::string AbsoluteFrom(std::string_view base, std::string_view path);

// The process's current directory with a trailing separator, "" when unknown.
std::string CurrentDirectory();

}  // namespace kvqt::platform
