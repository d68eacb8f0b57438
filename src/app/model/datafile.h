// One instrument in a data directory: what the directory's master file says
// about it, and whether the user selected it for download, convert or append.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "datetime/date.h"
#include "datetime/time_value.h"

namespace kvqt {

class Datafile {
 public:
  // The market number comes from the setting "orvistadefaultmarket" (default 30).
  Datafile(std::string_view symbol, std::string_view name, int formatId);
  Datafile(std::string_view symbol, std::string_view name, int formatId, int market);

  // The setting "orvistadefaultmarket"; read once by callers that create many entries.
  static int DefaultMarket();

  // Ordering and identity: by Name, then by Symbol (byte comparison).
  static bool Less(const Datafile& a, const Datafile& b);
  bool sameEntry(const Datafile& other) const { return name_ == other.name_ && symbol_ == other.symbol_; }

  const std::string& name() const { return name_; }
  const std::string& symbol() const { return symbol_; }
  int formatId() const { return formatId_; }
  void setFormatId(int id) { formatId_ = id; }
  int market() const { return market_; }
  void setMarket(int market) { market_ = static_cast<std::int16_t>(market); }
  char per() const { return per_; }
  void setPer(char per) { per_ = per; }
  int interval() const { return interval_; }
  void setInterval(int interval) { interval_ = interval; }

  bool selected() const { return selected_; }
  void setSelected(bool selected) { selected_ = selected; }
  void toggleSelected() { selected_ = !selected_; }

  Date firstDate() const { return firstDate_; }
  Time firstTime() const { return firstTime_; }
  Date lastDate() const { return lastDate_; }
  Time lastTime() const { return lastTime_; }
  int recordCount() const { return recordCount_; }
  // Both mark the entry seen; the first leaves the times as they are.
  void setDates(Date first, Date last, int recordCount);
  void setDates(Date first, Time firstTime, Date last, Time lastTime, int recordCount);

  bool seen() const { return seen_; }
  void setSeen(bool seen) { seen_ = seen; }

  bool realtime() const { return realtime_; }
  void setRealtime() { realtime_ = true; }
  void clearRealtime() { realtime_ = false; }

  // A factor of 0 means "no factor": it is kept and read as 1.0.
  float factor() const { return factor_ == 0.0f ? 1.0f : factor_; }
  void setFactor(float factor) { factor_ = factor == 0.0f ? 1.0f : factor; }

  // Texts of list boxes and listings: 0 name with "\tSelected" when selected,
  // 1 name, 2 symbol, 4/5 first date (and time), 6/7 last date (and time),
  // 8 "Selected" or empty; any other column is empty.
  std::string text(int column) const;

 private:
  std::string name_;
  std::string symbol_;
  int formatId_;
  std::int16_t market_;
  char per_ = 'D';
  int interval_ = 0;
  bool selected_ = false;
  Date firstDate_;
  Time firstTime_;
  Date lastDate_;
  Time lastTime_;
  int recordCount_ = 0;
  bool seen_ = false;
  bool realtime_ = false;
  float factor_ = 1.0f;
};

}  // namespace kvqt
