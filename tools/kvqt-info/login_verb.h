// kvqt-info login FILE: the login record of a "kvqt.prs".
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace kvqt::info {

// 0, or 1 with a one-line message on `err` when the file cannot be read or is short.
// login [--show-password] FILE: the password shows as set or none unless asked for.
int RunLoginVerb(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kvqt::info
