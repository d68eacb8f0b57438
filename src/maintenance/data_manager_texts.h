// What the data manager's window shows: the factor field, the range line, the
// price list's group box, columns and rows, and the texts of the price editor.
// The window only puts these texts in place.
#pragma once

#include <array>
#include <string>

#include "formats/price_record.h"
#include "maintenance/record_array.h"

namespace kvqt {

// Daily data; intraday data with an interval; intraday data tick by tick (interval 0).
enum class PriceKind { kDaily, kIntraday, kTick };

PriceKind PriceKindOf(bool intraday, int interval);

// A record's date: "d/m/yyyy", with " hh:mm" for intraday and " hh:mm:ss"
// for tick data.
std::string RecordWhenText(PriceKind kind, Date date, Time time);

// "%.0f" from an absolute value of 10, "%.2f" from 0.1, else "%.4f".
std::string FactorText(float factor);

// The range line: "d/m/yyyy - d/m/yyyy", with " hh:mm" and " Interval %d min"
// for intraday data, with " hh:mm:ss" and " tick-by-tick" for tick data.
std::string RangeText(PriceKind kind, Date first, Time firstTime, Date last, Time lastTime, int interval);

// "prices (%d)", or "prices (none)" below 1.
std::string PricesGroupText(int count);

inline constexpr int kPriceColumns = 6;
// "date" or "date/time", then "open", "high", "low", "close", "volume".
std::array<std::string, kPriceColumns> PriceColumnTitles(PriceKind kind);
// Tick data hides the open, high and low columns.
bool PriceColumnHidden(PriceKind kind, int column);
// One list row: the date (and time), the prices with two decimals and the
// volume without, each after two blanks.
std::array<std::string, kPriceColumns> PriceRowTexts(PriceKind kind, const PriceRecord& record);

// Per column the longest text any of the records gives (the date column a
// widest date of its kind), so the list sizes its columns to their contents
// without formatting every row.
std::array<std::string, kPriceColumns> WidestRowTexts(PriceKind kind, const RecordArray& records);

// The price editor's heading.
std::string EditHeadingText(PriceKind kind, const PriceRecord& record);

// The price editor's five fields: open, high, low, close, volume. Tick data
// leaves open, high and low empty (the fields are disabled).
struct PriceFields {
  std::string open, high, low, close, volume;
};
PriceFields EditFieldTexts(PriceKind kind, const PriceRecord& record);
// What "&Save" stores: each field read as a number (no number reads as 0).
// The disabled fields of tick data are not read; the record keeps their values.
PriceRecord ReadEditFields(PriceKind kind, const PriceFields& fields, const PriceRecord& record);

}  // namespace kvqt
