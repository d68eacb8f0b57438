// The system's internet library with its autodial functions, as the dial-up
// logic uses it. It is loaded at run time so that the program also runs where
// it is missing; on Linux there is none.
#pragma once

namespace kvqt {

class InternetLibrary {
 public:
  enum class ConnectedState { kMissing, kOffline, kOnline };

  virtual ~InternetLibrary() = default;
  // Takes the handle of the library when the process already holds it
  // (*loaded_by_us = false) or loads it (*loaded_by_us = true). False when the
  // library is not there.
  virtual bool Acquire(bool* loaded_by_us) = 0;
  // Frees a library that Acquire loaded.
  virtual void Free() = 0;
  // Each function is looked up when it is called; a missing one reports so.
  virtual ConnectedState GetConnectedState() = 0;
  // Dials the default connection, forcing online; false when the function is missing.
  virtual bool Autodial() = 0;
  // Hangs up a connection made by Autodial; false when the function is missing.
  virtual bool AutodialHangup() = 0;
};

// The library of this system: none, so the program always counts as online.
InternetLibrary& SystemInternetLibrary();

}  // namespace kvqt
