#include "service/internet_library.h"

namespace kvqt {
namespace {

// Linux has no autodial library; the connection is the system's business.
class NoInternetLibrary : public InternetLibrary {
 public:
  bool Acquire(bool* loaded_by_us) override {
    *loaded_by_us = false;
    return false;
  }
  void Free() override {}
  ConnectedState GetConnectedState() override { return ConnectedState::kMissing; }
  bool Autodial() override { return false; }
  bool AutodialHangup() override { return false; }
};

}  // namespace

InternetLibrary& SystemInternetLibrary() {
  static NoInternetLibrary library;
  return library;
}

}  // namespace kvqt
