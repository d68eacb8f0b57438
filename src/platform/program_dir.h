// Where the program keeps its files, and where the settings file lives.
#pragma once

#include <string>

namespace kvqt::platform {

// The running executable's path ("" when unknown).
std::string ExecutablePath();

// The program directory, with a trailing separator: KVQT_HOME when set (a
// relative one taken from the current directory); else the executable's
// directory when it is writable and already holds "kvqt.dat" or "kvqt.prs" (a
// portable install); else $XDG_DATA_HOME/kvqt/ (by default ~/.local/share/kvqt/).
// Nothing is created.
std::string LocateProgramDirectory(const std::string& executable_path);
// The same, created when missing.
std::string ResolveProgramDirectory(const std::string& executable_path);

// Where an installed program's documentation lies: <prefix>/share/doc/kvqt/
// beside <prefix>/bin/, with a trailing separator.
std::string InstalledDocumentationDirectory(const std::string& executable_path);

// Whether the program may replace its own executable with a new release: its
// directory is writable and it is no installed program (whose documentation
// directory exists), which the package manager keeps.
bool ExecutableReplaceable(const std::string& executable_path);

// $XDG_CONFIG_HOME/kvqt/kvqt.ini (by default ~/.config/kvqt/kvqt.ini).
std::string SettingsFilePath();

}  // namespace kvqt::platform
