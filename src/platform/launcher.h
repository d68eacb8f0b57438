// Starting other programs without waiting for them: the text editor, the help
// viewer, the release installer. As with the system this program was first
// written for, a start result below 32 means the start failed.
#pragma once

#include <string>
#include <vector>

namespace kvqt::platform {

// Start results.
inline constexpr int kStartFailed = 0;
inline constexpr int kStartFileNotFound = 2;
inline constexpr int kStartPathNotFound = 3;
inline constexpr int kStartAccessDenied = 5;
inline constexpr int kStartBadFormat = 11;
inline constexpr int kStartSucceeded = 33;

inline bool StartFailed(int result) { return result < 32; }

// Starts argv[0] (searched in PATH when it holds no '/') with the arguments,
// in a session of its own with default signal handling, and returns at once.
// kStartSucceeded, or one of the failure codes above.
int StartProgram(const std::vector<std::string>& argv);

// Collects the exit status of started programs that have ended, so none of
// them lingers as a zombie. StartProgram does it too.
void ReapStartedPrograms();

// The command that opens a file for the user: the words of $KVQT_EDITOR when
// set, else xdg-open.
std::vector<std::string> FileOpenerCommand();
// Its program name, for messages such as "Can't find xdg-open".
std::string FileOpenerName();
// Opens the file with that command; the start result.
int OpenFile(const std::string& path);

}  // namespace kvqt::platform
