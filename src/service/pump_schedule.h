// When a network wait lets the window handle its messages: at most every
// 100 ms. That is often enough for Cancel and a responsive window, and rare
// enough that a transfer's blocks do not pay for it (a pump of a batch run
// also looks at the single-instance endpoint). Between pumps a wait blocks in
// one poll for what it awaits, never longer than until the next pump is due.
#pragma once

#include <algorithm>
#include <chrono>

#include "app/runner/progress_host.h"

namespace kvqt {

class PumpSchedule {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr std::chrono::milliseconds kInterval{100};

  // Pumps when the last pump is kInterval or more ago (the first call always pumps).
  void pumpWhenDue(ProgressHost& progress) {
    const Clock::time_point now = Clock::now();
    if (pumped_ && now - last_ < kInterval) return;
    pumped_ = true;
    last_ = now;
    progress.pumpMessages();
  }

  // Milliseconds a wait may block: until the next pump is due, at most `left`.
  // 0 before the first pump.
  int sliceMs(std::chrono::milliseconds left) const {
    if (!pumped_) return 0;
    const auto untilPump = std::chrono::duration_cast<std::chrono::milliseconds>(last_ + kInterval - Clock::now());
    const long long ms = std::min<long long>(left.count(), untilPump.count());
    return ms > 0 ? static_cast<int>(ms) : 0;
  }

 private:
  bool pumped_ = false;
  Clock::time_point last_{};
};

}  // namespace kvqt
