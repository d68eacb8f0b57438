#include "platform/clock.h"

#include <unistd.h>

namespace kvqt::platform {
namespace {

class SystemClock : public Clock {
 public:
  std::time_t Now() const override { return std::time(nullptr); }
  void Sleep(int seconds) override {
    if (seconds > 0) ::sleep(static_cast<unsigned>(seconds));
  }
};

SystemClock g_system_clock;
Clock* g_clock = &g_system_clock;

}  // namespace

Clock& CurrentClock() { return *g_clock; }

std::time_t Now() { return g_clock->Now(); }

LocalDateTime LocalNow() { return ToLocal(Now()); }

LocalDateTime ToLocal(std::time_t t) {
  std::tm tm{};
  localtime_r(&t, &tm);
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

std::time_t FromLocal(const LocalDateTime& local) {
  std::tm tm{};
  tm.tm_year = local.year - 1900;
  tm.tm_mon = local.month - 1;
  tm.tm_mday = local.day;
  tm.tm_hour = local.hour;
  tm.tm_min = local.minute;
  tm.tm_sec = local.second;
  tm.tm_isdst = -1;
  return std::mktime(&tm);
}

ScopedFixedClock::ScopedFixedClock(const LocalDateTime& local) : clock_(local), previous_(g_clock) {
  g_clock = &clock_;
}

ScopedFixedClock::~ScopedFixedClock() { g_clock = previous_; }

}  // namespace kvqt::platform
