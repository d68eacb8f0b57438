// An internet library for tests: present or not, already in the process or
// loaded on demand, with or without its functions, online or offline; every
// call is written to a shared log so tests can check the order of events.
#pragma once

#include <string>
#include <vector>

#include "service/internet_library.h"

namespace kvqt::testing {

class FakeInternetLibrary : public InternetLibrary {
 public:
  explicit FakeInternetLibrary(std::vector<std::string>* log) : log_(log) {}

  bool Acquire(bool* loaded_by_us) override {
    if (!present) return false;
    *loaded_by_us = !in_process;
    if (!in_process) {
      ++loads;
      log_->push_back("load");
    }
    return true;
  }
  void Free() override {
    ++frees;
    log_->push_back("free");
  }
  ConnectedState GetConnectedState() override {
    if (!has_state_function) return ConnectedState::kMissing;
    return online ? ConnectedState::kOnline : ConnectedState::kOffline;
  }
  bool Autodial() override {
    log_->push_back("autodial");
    if (dial_brings_online) online = true;
    return true;
  }
  bool AutodialHangup() override {
    log_->push_back("hangup");
    online = false;
    return true;
  }

  bool present = true;
  bool in_process = false;
  bool has_state_function = true;
  bool online = true;
  bool dial_brings_online = true;
  int loads = 0;
  int frees = 0;

 private:
  std::vector<std::string>* log_;
};

}  // namespace kvqt::testing
