#include "maintenance/add_instrument.h"

#include "app/core/compose.h"
#include "app/core/messages.h"
#include "app/model/directory.h"
#include "app/model/format.h"
#include "datetime/parse_date.h"
#include "formats/datafile_entry.h"
#include "maintenance/decimal_text.h"
#include "maintenance/start_date_text.h"

namespace kvqt {
namespace {

constexpr int kMinInterval = 1;
constexpr int kMaxInterval = 60;

std::string_view WithoutTrailingBlanks(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

AddInstrumentResult Refused(AddInstrumentResult result, InstrumentField field) {
  result.result = kAddRefused;
  result.field = field;
  return result;
}

AddInstrumentResult Refused(AddInstrumentResult result, InstrumentField field, const char* text) {
  message(text);
  return Refused(std::move(result), field);
}

}  // namespace

int ParseIntervalText(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  if (text.empty() || text.size() > 9) return -1;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::string CutInstrumentName(std::string_view name, int maxNameLength) {
  if (maxNameLength <= 0) return std::string();
  if (name.size() > static_cast<std::size_t>(maxNameLength)) name = name.substr(0, maxNameLength);
  return std::string(WithoutTrailingBlanks(name));
}

AddInstrumentResult addInstrument(const AddInstrumentFields& fields, const Format& format, Directory* directory) {
  AddInstrumentResult result;
  if (!format.addInstruments()) {
    result.result = kAddNotSupported;
    return result;
  }
  if (!directory) return Refused(std::move(result), InstrumentField::kNone, "Select directory");

  std::string_view typedName = WithoutTrailingBlanks(fields.name.substr(0, kEntryNameSize));
  const int maxName = format.maxNameLength();
  std::string name(typedName);
  if (maxName <= 0 || typedName.size() > static_cast<std::size_t>(maxName)) {
    if (maxName > 0) {
      std::string asked = composeFormat("Name too long. Shorten name to: %-.*s?", maxName, name.c_str());
      if (!question(asked)) return Refused(std::move(result), InstrumentField::kName);
    }
    name = CutInstrumentName(typedName, maxName);
  }

  const std::string symbol(WithoutTrailingBlanks(fields.symbol.substr(0, kEntrySymbolSize)));
  if (symbol.empty()) return Refused(std::move(result), InstrumentField::kSymbol, "Enter symbol");
  if (symbol.find_first_of(" \t") != std::string::npos)
    return Refused(std::move(result), InstrumentField::kSymbol, "Spaces not allowed in symbol");

  const StartDateText start = ParseStartDateText(fields.startDate);
  if (!start.valid()) return Refused(std::move(result), InstrumentField::kStartDate, kInvalidStartDateText);

  result.writeBackName = true;
  result.name = name;

  const float factor = ParseFloatText(fields.factor);
  if (factor < 0 && !question("Negative factor?")) return Refused(std::move(result), InstrumentField::kFactor);
  if (factor == 0) return Refused(std::move(result), InstrumentField::kFactor, "Factor not allowed");

  int interval = 0;
  if (format.intradayFields()) {
    interval = ParseIntervalText(fields.interval);
    if (interval < kMinInterval || interval > kMaxInterval)
      return Refused(std::move(result), InstrumentField::kInterval, "Invalid interval (1-60)");
    result.rememberInterval = true;
    result.interval = interval;
  }

  NewInstrument instrument;
  instrument.symbol = symbol;
  instrument.name = name;
  instrument.firstDate = start.date;
  instrument.lastDate = NewInstrumentLastDate(format, start.date, true);
  instrument.interval = interval;
  instrument.factor = factor;
  result.result = CreateInstrument(instrument, format, *directory, &result.datafile);
  switch (result.result) {
    case kInstrumentExists:
      message("Symbol exists already, no file created");
      break;
    case kInstrumentBadSymbol:
      message2("Cannot add datafile", symbol);
      result.result = kInstrumentFailed;
      result.field = InstrumentField::kSymbol;
      break;
    default:
      break;
  }
  return result;
}

}  // namespace kvqt
