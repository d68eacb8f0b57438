// Offers to install a new release of the program that a download session
// brought as "_kvqt.exe": on Yes, Tarnswap is started, which makes this
// program quit, replaces its file and starts the new one. The program carries
// on until then; its normal shutdown saves the data.
#pragma once

#include <chrono>
#include <string>

#include "platform/instance_endpoint.h"

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

// A run without a display cannot ask, and would answer No after every
// session: instead installNewRelease says once, on standard output, that a
// release is waiting and how to install it, and starts nothing.
void SetUnattendedInstall(bool unattended);

// Tarnswap was started in this run (the user answered Yes).
bool ReleaseInstallerStarted();

// Tarnswap's own waits for the program: ten of one second after its first look.
inline constexpr std::chrono::milliseconds kInstallerWait{11000};

// A program that is about to end (a batch run is over) stays until Tarnswap
// has found it and asked it to quit, or until `limit` has passed: true when
// the quit request came. Other requests are answered by nothing.
bool WaitForInstallerQuit(platform::InstanceEndpoint& endpoint, std::chrono::milliseconds limit = kInstallerWait);

}  // namespace kvqt
