// Where the program keeps its files, and where the settings file lives.
#pragma once

#include <string>

namespace kvqt::platform {

// The running executable's path ("" when unknown).
std::string ExecutablePath();

// The program directory, with a trailing separator: KVQT_HOME when set; else
// the executable's directory when it is writable and already holds "kvqt.dat"
// or "kvqt.prs" (a portable install); else $XDG_DATA_HOME/kvqt/ (by default
// ~/.local/share/kvqt/), created when missing.
std::string ResolveProgramDirectory(const std::string& executable_path);

// $XDG_CONFIG_HOME/kvqt/kvqt.ini (by default ~/.config/kvqt/kvqt.ini).
std::string SettingsFilePath();

}  // namespace kvqt::platform
