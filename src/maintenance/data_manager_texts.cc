#include "maintenance/data_manager_texts.h"

#include <cmath>
#include <cstdio>

#include "datetime/date_field_text.h"
#include "maintenance/decimal_text.h"
#include "maintenance/record_array.h"

namespace kvqt {
namespace {

// Null times print as 00:00 rather than as negative numbers.
int Part(int value) { return value < 0 ? 0 : value; }

std::string DateTimeText(Date date, Time time, bool seconds) {
  char buffer[64];
  if (seconds)
    std::snprintf(buffer, sizeof buffer, "%s %02d:%02d:%02d", DateFieldText(date).c_str(), Part(time.hour()),
                  Part(time.minute()), Part(time.second()));
  else
    std::snprintf(buffer, sizeof buffer, "%s %02d:%02d", DateFieldText(date).c_str(), Part(time.hour()),
                  Part(time.minute()));
  return buffer;
}

}  // namespace

std::string RecordWhenText(PriceKind kind, Date date, Time time) {
  switch (kind) {
    case PriceKind::kDaily:
      return DateFieldText(date);
    case PriceKind::kIntraday:
      return DateTimeText(date, time, false);
    case PriceKind::kTick:
      return DateTimeText(date, time, true);
  }
  return std::string();
}

PriceKind PriceKindOf(bool intraday, int interval) {
  if (!intraday) return PriceKind::kDaily;
  return interval == 0 ? PriceKind::kTick : PriceKind::kIntraday;
}

std::string FactorText(float factor) {
  double magnitude = std::fabs(static_cast<double>(factor));
  if (magnitude >= 10) return FixedText(factor, 0);
  if (magnitude >= 0.1) return FixedText(factor, 2);
  return FixedText(factor, 4);
}

std::string RangeText(PriceKind kind, Date first, Time firstTime, Date last, Time lastTime, int interval) {
  std::string text = RecordWhenText(kind, first, firstTime) + " - " + RecordWhenText(kind, last, lastTime);
  if (kind == PriceKind::kIntraday) text += " Interval " + std::to_string(interval) + " min";
  if (kind == PriceKind::kTick) text += " tick-by-tick";
  return text;
}

std::string PricesGroupText(int count) {
  if (count < 1) return "prices (none)";
  return "prices (" + std::to_string(count) + ")";
}

std::array<std::string, kPriceColumns> PriceColumnTitles(PriceKind kind) {
  return {kind == PriceKind::kDaily ? "date" : "date/time", "open", "high", "low", "close", "volume"};
}

bool PriceColumnHidden(PriceKind kind, int column) { return kind == PriceKind::kTick && column >= 1 && column <= 3; }

std::array<std::string, kPriceColumns> PriceRowTexts(PriceKind kind, const PriceRecord& record) {
  const std::string blanks = "  ";
  return {blanks + RecordWhenText(kind, record.date, record.time), blanks + FixedText(record.open, 2),
          blanks + FixedText(record.high, 2),                blanks + FixedText(record.low, 2),
          blanks + FixedText(record.close, 2),               blanks + FixedText(record.volume, 0)};
}

std::array<std::string, kPriceColumns> WidestRowTexts(PriceKind kind, const RecordArray& records) {
  // Two-digit days and months; the time's digits are always two.
  PriceRecord widestDate;
  widestDate.date = Date(2000, 12, 28);
  widestDate.time = Time(23, 59, 59);
  std::array<std::string, kPriceColumns> widest = PriceRowTexts(kind, widestDate);
  for (int column = 1; column < kPriceColumns; ++column) widest[static_cast<std::size_t>(column)].clear();
  // The longest number of a column is its largest or its most negative value.
  const auto value = [](const PriceRecord& r, int column) {
    switch (column) {
      case 1: return r.open;
      case 2: return r.high;
      case 3: return r.low;
      case 4: return r.close;
      default: return r.volume;
    }
  };
  for (int column = 1; column < kPriceColumns; ++column) {
    int low = 1, high = 1;
    for (int k = 1; k <= records.count(); ++k) {
      const float v = value(records.at(k), column);
      if (v < value(records.at(low), column)) low = k;
      if (v > value(records.at(high), column)) high = k;
    }
    for (int k : {low, high}) {
      if (k > records.count()) continue;
      std::string text = PriceRowTexts(kind, records.at(k))[static_cast<std::size_t>(column)];
      if (text.size() > widest[static_cast<std::size_t>(column)].size()) widest[static_cast<std::size_t>(column)] = text;
    }
  }
  return widest;
}

std::string EditHeadingText(PriceKind kind, const PriceRecord& record) {
  // The daily heading starts on the second line of its field.
  if (kind == PriceKind::kDaily) return "\n" + DateFieldText(record.date);
  return RecordWhenText(kind, record.date, record.time);
}

PriceFields EditFieldTexts(PriceKind kind, const PriceRecord& record) {
  PriceFields fields;
  if (kind != PriceKind::kTick) {
    fields.open = FixedText(record.open, 2);
    fields.high = FixedText(record.high, 2);
    fields.low = FixedText(record.low, 2);
  }
  fields.close = FixedText(record.close, 2);
  fields.volume = FixedText(record.volume, 0);
  return fields;
}

PriceRecord ReadEditFields(PriceKind kind, const PriceFields& fields, const PriceRecord& record) {
  PriceRecord edited = record;
  if (kind != PriceKind::kTick) {
    edited.open = ParseFloatText(fields.open);
    edited.high = ParseFloatText(fields.high);
    edited.low = ParseFloatText(fields.low);
  }
  edited.close = ParseFloatText(fields.close);
  edited.volume = ParseFloatText(fields.volume);
  return edited;
}

}  // namespace kvqt
