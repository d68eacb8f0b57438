#include "app/model/datafile.h"

#include <cstdio>

#include "app/model/text_field.h"
#include "app/core/personal_profile.h"

namespace kvqt {
namespace {

std::string DayMonthYear(Date date) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d/%02d/%04d", date.day(), date.month(), date.year());
  return text;
}

std::string DayMonthYearTime(Date date, Time time) {
  char text[48];
  std::snprintf(text, sizeof text, "%02d/%02d/%04d %02d:%02d", date.day(), date.month(), date.year(), time.hour(),
                time.minute());
  return text;
}

}  // namespace

Datafile::Datafile(std::string_view symbol, std::string_view name, int formatId)
    : Datafile(symbol, name, formatId, DefaultMarket()) {}

Datafile::Datafile(std::string_view symbol, std::string_view name, int formatId, int market)
    : symbol_(FieldText(symbol, kSymbolSize)), formatId_(formatId), market_(static_cast<std::int16_t>(market)) {
  name_ = FieldText(name, kInstrumentNameSize);
  if (name_.empty()) name_ = FieldText(symbol_, kInstrumentNameSize);
}

int Datafile::DefaultMarket() { return profile().getInt("orvistadefaultmarket", 30); }

bool Datafile::Less(const Datafile& a, const Datafile& b) {
  int c = a.name_.compare(b.name_);
  if (c != 0) return c < 0;
  return a.symbol_.compare(b.symbol_) < 0;
}

void Datafile::setDates(Date first, Date last, int recordCount) {
  firstDate_ = first;
  lastDate_ = last;
  recordCount_ = recordCount;
  seen_ = true;
}

void Datafile::setDates(Date first, Time firstTime, Date last, Time lastTime, int recordCount) {
  firstDate_ = first;
  firstTime_ = firstTime;
  lastDate_ = last;
  lastTime_ = lastTime;
  recordCount_ = recordCount;
  seen_ = true;
}

std::string Datafile::text(int column) const {
  switch (column) {
    case 0:
      return selected_ ? name_ + "\tSelected" : name_;
    case 1:
      return name_;
    case 2:
      return symbol_;
    case 4:
      return DayMonthYear(firstDate_);
    case 5:
      return DayMonthYearTime(firstDate_, firstTime_);
    case 6:
      return DayMonthYear(lastDate_);
    case 7:
      return DayMonthYearTime(lastDate_, lastTime_);
    case 8:
      return selected_ ? "Selected" : "";
    default:
      return "";
  }
}

}  // namespace kvqt
