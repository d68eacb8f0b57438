#include "service/dialup.h"

namespace kvqt {

bool Dialup::UseLibrary() {
  if (!available_) {
    bool loaded = false;
    if (library_.Acquire(&loaded)) {
      available_ = true;
      loaded_by_us_ = loaded;
    }
  }
  return available_;
}

void Dialup::ReleaseLibrary() {
  if (!loaded_by_us_) return;
  library_.Free();
  available_ = false;
  loaded_by_us_ = false;
}

bool Dialup::IsOnline() {
  if (!UseLibrary()) return true;
  return library_.GetConnectedState() != InternetLibrary::ConnectedState::kOffline;
}

void Dialup::AutoConnect() {
  dialled_ = false;
  if (!IsOnline()) {
    if (UseLibrary() && !IsOnline()) library_.Autodial();
    dialled_ = true;
  }
  // Also when online: the look-up above may have loaded the library, and it is
  // held only during these calls.
  ReleaseLibrary();
}

void Dialup::HangUpIfDialled() {
  if (!dialled_) return;
  if (UseLibrary() && IsOnline()) library_.AutodialHangup();
  ReleaseLibrary();
}

Dialup& ProcessDialup() {
  static Dialup dialup(SystemInternetLibrary());
  return dialup;
}

}  // namespace kvqt
