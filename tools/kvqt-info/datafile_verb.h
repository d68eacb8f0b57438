// kvqt-info datafile FILE: the program data file as the program reads it.
#pragma once

#include <ostream>
#include <string>

namespace kvqt::info {

// 0, or 1 with a one-line message on `err` when the file cannot be read,
// is damaged or holds more formats than the program accepts.
int RunDatafileVerb(const std::string& path, std::ostream& out, std::ostream& err);

}  // namespace kvqt::info
