// Bringing up a dial-up line before the download connection and taking it
// down afterwards, but only when the program dialled it itself. The library is
// held only during these calls; without it the program counts as online and
// never dials.
#pragma once

#include "service/internet_library.h"

namespace kvqt {

class Dialup {
 public:
  explicit Dialup(InternetLibrary& library) : library_(library) {}

  // Holds the library (taking or loading it); true when a handle is held.
  bool UseLibrary();
  // Frees the library when we loaded it; a library the process already had stays.
  void ReleaseLibrary();
  // False only when the library, its connected-state function and that
  // function all say the computer is offline.
  bool IsOnline();
  // Before a connect: dials when offline and remembers that it did.
  void AutoConnect();
  // After a close: hangs up a line that AutoConnect dialled, when it is up.
  void HangUpIfDialled();

  bool available() const { return available_; }
  bool loadedByUs() const { return loaded_by_us_; }
  bool dialled() const { return dialled_; }

 private:
  InternetLibrary& library_;
  bool available_ = false;
  bool loaded_by_us_ = false;
  bool dialled_ = false;
};

// The process's dial-up state over the system's library.
Dialup& ProcessDialup();

}  // namespace kvqt
