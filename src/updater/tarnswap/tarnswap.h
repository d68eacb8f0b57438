// Tarnswap replaces the program's file with a newly downloaded release while
// the program is not running, then starts the new program:
//
//   tarnswap <new release> <program to replace and start> <window title>
//
// It waits (one second at a time, ten times at most) for the program's window
// to exist, asks it to quit, waits the same way for it to be gone, renames the
// release over the program file and starts it. When the rename fails the old
// program stays and is started again. Exit code 0 once the new program was
// started; 1 for a wrong argument count, a wait that gave up, a release that
// could not take the program's place, or a program that could not be started.
// Its log is "korv.dbg" in the current directory.
#pragma once

namespace tarnswap {

inline constexpr const char* kLogName = "korv.dbg";
inline constexpr int kMaxWaits = 10;

int Run(int argc, const char* const* argv);

}  // namespace tarnswap
