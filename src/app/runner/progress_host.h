// What a long operation sees of the window it runs in: status lines (also kept
// in the report log), the error display, the cancel flag, terminal output and
// the message pump that keeps the window responsive during waits. The Qt
// progress dialog implements it, and so does the headless host of batch runs
// and tests.
#pragma once

#include <string>
#include <string_view>

#include "app/core/compose.h"

namespace kvqt {

class ProgressHost {
 public:
  virtual ~ProgressHost() = default;

  // Shows text in the first status line; with log, also appends it to the report log.
  virtual void status(std::string_view text, bool log) = 0;
  virtual void line2(std::string_view text) = 0;
  virtual void line3(std::string_view text) = 0;
  // Shows the error (logged), replaces Cancel by OK and makes a hidden window visible.
  virtual void error(std::string_view text) = 0;
  // A message shown as the status (logged) that tells why the error that
  // follows happened; batch runs also write it to standard error, so that the
  // cause reaches whoever reads that.
  virtual void notice(std::string_view text) { status(text, true); }
  // Set once the user pressed Cancel.
  virtual bool cancelled() const = 0;
  // One received character for the details list (and the debug dump).
  virtual void terminalOutput(char c) = 0;
  // Lets the window handle its pending events during a wait.
  virtual void pumpMessages() = 0;

  void statusText(std::string_view text, std::string_view text2) { status(compose2(text, text2), true); }
  void statusNumber(std::string_view text, long n) { status(composeInt(text, n), true); }
  void errorText(std::string_view text, std::string_view text2) { error(compose2(text, text2)); }
  void errorNumber(std::string_view text, int n) { error(composeInt(text, n)); }
  void terminalOutput(std::string_view text) {
    for (char c : text) terminalOutput(c);
  }
};

}  // namespace kvqt
