// The whole of a file named on the command line, refusing what is not a
// regular file (a device would never end).
#pragma once

#include <ostream>
#include <string>

namespace kvqt::info {

// False, with a one-line message on `err`, when the file cannot be read.
bool ReadInput(const std::string& path, std::string& bytes, std::ostream& err);

}  // namespace kvqt::info
