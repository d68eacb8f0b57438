// A progress host for tests: keeps the status lines, errors and terminal
// output, counts the message pumps and can be cancelled, also from inside a
// pump (as a click on Cancel arrives while a wait pumps the window).
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/runner/progress_host.h"

namespace kvqt::testing {

class FakeProgressHost : public ProgressHost {
 public:
  void status(std::string_view text, bool) override { statuses.emplace_back(text); }
  void line2(std::string_view text) override { second_line = text; }
  void line3(std::string_view text) override { third_line = text; }
  void error(std::string_view text) override { errors.emplace_back(text); }
  bool cancelled() const override { return cancelled_; }
  void terminalOutput(char c) override { terminal.push_back(c); }
  void pumpMessages() override {
    ++pumps;
    if (on_pump) on_pump(*this);
  }
  using ProgressHost::terminalOutput;

  void cancel() { cancelled_ = true; }

  std::vector<std::string> statuses;
  std::vector<std::string> errors;
  std::string second_line;
  std::string third_line;
  std::string terminal;
  long pumps = 0;
  std::function<void(FakeProgressHost&)> on_pump;

 private:
  bool cancelled_ = false;
};

}  // namespace kvqt::testing
