// The one source of "today" and "now" for the whole program. Tests pin it to a
// fixed local date and time, because many behaviours depend on the weekday and
// the hour.
#pragma once

#include <ctime>

namespace kvqt::platform {

// A local calendar date and time of day, as the system's local clock shows it.
struct LocalDateTime {
  int year = 1970;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  // Seconds since 1970 (UTC), like time().
  virtual std::time_t Now() const = 0;
  // Waits the given number of seconds; a pinned clock only moves forward.
  virtual void Sleep(int seconds) = 0;
};

// The clock every "now" goes through.
Clock& CurrentClock();
std::time_t Now();
LocalDateTime LocalNow();

// Local date and time of a calendar time, and the reverse (through mktime).
LocalDateTime ToLocal(std::time_t t);
std::time_t FromLocal(const LocalDateTime& local);

// A clock that stands still until told otherwise.
class FixedClock : public Clock {
 public:
  explicit FixedClock(const LocalDateTime& local) : now_(FromLocal(local)) {}
  std::time_t Now() const override { return now_; }
  void Sleep(int seconds) override { now_ += seconds; }
  void Set(const LocalDateTime& local) { now_ = FromLocal(local); }
  void Advance(int seconds) { now_ += seconds; }

 private:
  std::time_t now_;
};

// Installs a FixedClock for the lifetime of this object.
class ScopedFixedClock {
 public:
  explicit ScopedFixedClock(const LocalDateTime& local);
  ~ScopedFixedClock();
  ScopedFixedClock(const ScopedFixedClock&) = delete;
  ScopedFixedClock& operator=(const ScopedFixedClock&) = delete;
  FixedClock& clock() { return clock_; }

 private:
  FixedClock clock_;
  Clock* previous_;
};

}  // namespace kvqt::platform
