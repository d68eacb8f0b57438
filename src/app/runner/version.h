// The program's version number, as the about box and the request file show it.
#pragma once

#include <string>

#include "app/core/version_number.h"

namespace kvqt {

// major * 10000 + minor * 100 + patch of the project's version.
inline constexpr long kProgramVersion = KVQT_VERSION_MAJOR * 10000L + KVQT_VERSION_MINOR * 100L + KVQT_VERSION_PATCH;
static_assert(KVQT_VERSION_MINOR < 100 && KVQT_VERSION_PATCH < 100, "each part of the version has two digits");

// "%ld.%ld.%ld" of v / 10000, (v / 100) mod 100 and v mod 100: 30204 is "3.2.4".
std::string FormatVersion(long version);

}  // namespace kvqt
