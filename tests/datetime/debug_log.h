// Turns the debug log on in a fresh directory for one test and restores the
// previous log directory and mode afterwards.
#pragma once

#include <string>

#include "app/core/logs.h"
#include "support/temp_dir.h"

namespace kvqt::testing {

class DebugLogCapture {
 public:
  DebugLogCapture() : previous_directory_(Logs::Directory()), previous_mode_(Logs::DebugMode()) {
    Logs::SetDirectory(dir_.path());
    Logs::SetDebugMode(1);
  }
  ~DebugLogCapture() {
    Logs::SetDirectory(previous_directory_);
    Logs::SetDebugMode(previous_mode_ ? 1 : 0);
  }
  DebugLogCapture(const DebugLogCapture&) = delete;
  DebugLogCapture& operator=(const DebugLogCapture&) = delete;

  std::string text() const { return dir_.read(kDebugLogName); }

 private:
  TempDir dir_;
  std::string previous_directory_;
  bool previous_mode_;
};

}  // namespace kvqt::testing
