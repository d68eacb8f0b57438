#include "datetime/time_value.h"

#include <cmath>

#include "datetime/diagnostics.h"
#include "datetime/mbf.h"
#include "platform/clock.h"

namespace kvqt {
namespace {

bool AllDigits(std::string_view text, std::size_t count) {
  if (text.size() < count) return false;
  for (std::size_t i = 0; i < count; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
  }
  return true;
}

int Digits(std::string_view text, std::size_t from, std::size_t count) {
  int n = 0;
  for (std::size_t i = from; i < from + count; ++i) n = n * 10 + (text[i] - '0');
  return n;
}

Time FromLocalFields(const platform::LocalDateTime& local) {
  // A leap second is still the last second of its minute here.
  return Time(local.hour, local.minute, local.second > 59 ? 59 : local.second);
}

}  // namespace

Time::Time(int hour, int minute, int second) {
  if (hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 && second <= 59) {
    value_ = hour * 10000 + minute * 100 + second;
  } else {
    dateDiagnostic("Invalid time: %d:%d:%d\n", hour, minute, second);
  }
}

Time Time::FromInt(std::int32_t hhmmss) {
  if (hhmmss < 0) return Time();
  return Time(hhmmss / 10000, hhmmss / 100 % 100, hhmmss % 100);
}

Time Time::FromFloat(float hhmmss) {
  // Stored floats are not trusted: NaN, infinities and huge values are no time.
  if (!std::isfinite(hhmmss) || hhmmss < 0.0f || hhmmss >= 2147483648.0f) return Time();
  return FromInt(static_cast<std::int32_t>(hhmmss));
}

Time Time::FromMbf(const unsigned char* in4) { return FromFloat(MbfToFloat(in4)); }

Time Time::Now() { return FromLocalFields(platform::LocalNow()); }

Time Time::FromCalendarTime(std::time_t t) { return FromLocalFields(platform::ToLocal(t)); }

Time Time::FromHHMMText(std::string_view text) {
  if (!AllDigits(text, 4)) return Time(0, 0, 0);
  return Time(Digits(text, 0, 2), Digits(text, 2, 2), 0);
}

Time Time::FromHHMMSSText(std::string_view text) {
  if (AllDigits(text, 6)) return Time(Digits(text, 0, 2), Digits(text, 2, 2), Digits(text, 4, 2));
  if (AllDigits(text, 5)) return Time(Digits(text, 0, 1), Digits(text, 1, 2), Digits(text, 3, 2));
  return Time(0, 0, 0);
}

int Time::hour() const { return isNull() ? -1 : value_ / 10000; }
int Time::minute() const { return isNull() ? -1 : value_ / 100 % 100; }
int Time::second() const { return isNull() ? -1 : value_ % 100; }
std::int32_t Time::hhmm() const { return isNull() ? -1 : value_ / 100; }

std::int32_t Time::toInt() const { return isNull() ? 0 : value_; }
float Time::toFloat() const { return static_cast<float>(toInt()); }
void Time::toMbf(unsigned char* out4) const { FloatToMbf(toFloat(), out4); }

int Time::compare(Time other) const {
  if (isNull() || other.isNull()) {
    dateDiagnostic("cannot compare times \"%ld\" and \"%ld\"\n", static_cast<long>(value_),
                static_cast<long>(other.value_));
    return 0;
  }
  return value_ < other.value_ ? -1 : value_ > other.value_ ? 1 : 0;
}

}  // namespace kvqt
