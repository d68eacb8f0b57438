// What "kvqt --help" and "kvqt --version" print.
#pragma once

#include <string>

namespace kvqt {

// Every command-line form, the task-file lines, where the program directory
// and the settings file are (as given: the caller finds them without making
// anything), and the exit codes.
std::string CommandLineHelp(const std::string& programDirectory, const std::string& settingsFile);

// "kvqt 3.2.4" and a line end.
std::string VersionText();

}  // namespace kvqt
