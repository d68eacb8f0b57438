// The lines the progress dialog's details list shows: the report log of this run.
#pragma once

#include <string>
#include <vector>

namespace kvqt {

inline constexpr std::size_t kDetailLineLimit = 120;

// Every line of the file cut at 120 characters; the single line
// "Error opening <path>" when the file cannot be opened.
std::vector<std::string> ReadDetailLines(const std::string& path);

}  // namespace kvqt
