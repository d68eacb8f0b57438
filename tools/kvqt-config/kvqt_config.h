// kvqt-config: configures the program without a window. Each run loads the
// program's data through the program's own start-up load, makes one change
// and saves through the program's exit save.
#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace kvqt::config {

// `args` without the program name. 0 when done; 1 after a message on `err`
// when the change was refused (nothing is saved then); 2 for wrong usage.
int RunKvqtConfig(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// The same with standard input, for a password that is not an argument;
// `terminal` when a prompt may be shown at a terminal on it.
int RunKvqtConfig(const std::vector<std::string>& args, std::istream& in, bool terminal, std::ostream& out,
                  std::ostream& err);

// The text of --help.
const char* HelpText();

}  // namespace kvqt::config
