// Offers to install a new release of the program that a download session
// brought as "_kvqt.exe": on Yes, Tarnswap is started, which makes this
// program quit, replaces its file and starts the new one. The program carries
// on until then; its normal shutdown saves the data.
#pragma once

#include <string>

namespace kvqt {

inline constexpr const char* kReleaseFileName = "_kvqt.exe";
inline constexpr const char* kInstallerName = "tarnswap";
inline constexpr const char* kInstallQuestion = "Install new release";

// What the install works with.
struct ReleaseInstall {
  std::string releaseFile = kReleaseFileName;  // in the current (program) directory
  std::string installer;                       // Tarnswap, beside the running program
  std::string program;                         // the running program's file
  std::string title;                           // the main window's title
};

// The release file in the program directory, and Tarnswap and the program
// file found beside the running executable.
ReleaseInstall DefaultReleaseInstall();

// The command line as the debug log shows it: installer, release, program and
// the quoted title.
std::string InstallCommandLine(const ReleaseInstall& install);

// Nothing when the release file or Tarnswap is missing, or the user answers
// No (the question comes again after the next session). Otherwise starts
// Tarnswap and writes the command line and the start result to the debug log,
// whatever the debug mode. Returns the start result, or 0 when nothing was started.
int installNewRelease(const ReleaseInstall& install);
void installNewRelease();

}  // namespace kvqt
