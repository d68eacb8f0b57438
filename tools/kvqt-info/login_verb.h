// kvqt-info login FILE: the login record of a "kvqt.prs".
#pragma once

#include <ostream>
#include <string>

namespace kvqt::info {

// 0, or 1 with a one-line message on `err` when the file cannot be read or is short.
int RunLoginVerb(const std::string& path, std::ostream& out, std::ostream& err);

}  // namespace kvqt::info
