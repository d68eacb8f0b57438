// The program's version number, as the about box and the request file show it.
#pragma once

#include <string>

namespace kvqt {

inline constexpr long kProgramVersion = 30204;

// "%ld.%ld.%ld" of v / 10000, (v / 100) mod 100 and v mod 100: 30204 is "3.2.4".
std::string FormatVersion(long version);

}  // namespace kvqt
