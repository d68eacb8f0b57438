// kvqt-info: prints what the program reads from its files, in stable plain text.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace kvqt::info {

// `args` without the program name. 0 on success, 1 when the input cannot be
// read, 2 for a command line that names no known verb.
int RunKvqtInfo(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The text of --help.
const char* HelpText();

}  // namespace kvqt::info
