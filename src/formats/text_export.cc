#include "formats/text_export.h"

#include <charconv>
#include <cstdio>

#include "app/model/datafile.h"
#include "app/model/directory.h"
#include "app/model/list.h"
#include "datetime/parse_date.h"
#include "formats/text_line_codec.h"

namespace kvqt {
namespace {

constexpr const char* kLineEnd = "\r\n";
constexpr std::size_t kMaxExportName = 50;

std::string WithCommaMark(std::string value, char frsep) {
  if (frsep == ',')
    for (char& c : value)
      if (c == '.') c = ',';
  return value;
}

// Each field followed by the separator, the last by the line end.
void AppendFields(const std::vector<std::string>& fields, std::size_t from, char fsep, char frsep,
                  std::string& out) {
  for (std::size_t i = from; i < fields.size(); ++i) {
    out += WithCommaMark(fields[i], frsep);
    out += i + 1 < fields.size() ? std::string(1, fsep) : std::string(kLineEnd);
  }
}

std::size_t LeadingDigits(const std::string& text) {
  std::size_t n = 0;
  while (n < text.size() && text[n] >= '0' && text[n] <= '9') ++n;
  return n;
}

// A downloaded date as the line writer puts it, four-digit for 15 and 17 or
// when it came with eight digits; a date that does not read stays as it came.
void AppendDownloadedDate(TextLineLayout layout, const std::string& field, std::string& out) {
  Date date = ParseDate(field, "?md");
  if (date.isNull()) {
    out += field;
    out += layout.fsep;
    return;
  }
  layout.fourDigitYear = layout.formatId == 15 || layout.formatId == 17 || LeadingDigits(field) == 8;
  AppendTextDate(layout, date, out);
}

long LeadingNumber(const std::string& text) {
  long value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

std::string TextFormatLine(int formatId, const Format* format, const std::vector<std::string>& fields) {
  TextLineLayout layout = TextLineLayoutFor(formatId, format);
  std::string out;
  if (fields.size() != 4 && fields.size() != 7) {
    // The decimal comma belongs to the values: the symbol ("X.Y&Z") stays as it came.
    out += fields[0];
    out += fields.size() > 1 ? std::string(1, layout.fsep) : std::string(kLineEnd);
    AppendFields(fields, 1, layout.fsep, layout.frsep, out);
    return out;
  }
  out += fields[0];
  out += layout.fsep;
  AppendDownloadedDate(layout, fields[1], out);
  std::size_t values = 2;
  if (fields.size() == 4) {
    long hhmm = LeadingNumber(fields[2]);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, " %02ld:%02ld%c", hhmm / 100, hhmm % 100, layout.fsep);
    out += buffer;
    values = 3;
  }
  AppendFields(fields, values, layout.fsep, layout.frsep, out);
  return out;
}

std::string InstrumentName(const std::string& symbol, const ExportNames& names) {
  std::string name = symbol;
  if (names.directory) {
    if (const Datafile* datafile = names.directory->bySymbol(symbol)) name = datafile->name();
  } else if (names.list) {
    std::string found;
    if (names.list->findName(symbol, found)) name = found;
  }
  if (name.size() > kMaxExportName) name.resize(kMaxExportName);
  std::string cleaned;
  for (char c : name)
    if (c != ',') cleaned += c;
  return cleaned;
}

std::string DaviImportLine(const Format* format, const std::vector<std::string>& fields, const ExportNames& names) {
  if (fields.size() != 7) return std::string();
  char fsep = TextLineLayoutFor(19, format).fsep;
  std::string out = InstrumentName(fields[0], names);
  out += fsep;
  out += fields[0];
  out += fsep;
  Date date = ParseDate(fields[1], "?md");
  if (date.isNull()) {
    out += fields[1];
    out += fsep;
  } else {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d%c", date.day(), date.month(), date.year(), fsep);
    out += buffer;
  }
  const std::size_t order[] = {3, 4, 5, 6, 2};
  for (std::size_t i = 0; i < 5; ++i) {
    out += fields[order[i]];
    out += i < 4 ? std::string(1, fsep) : std::string(kLineEnd);
  }
  return out;
}

}  // namespace

std::string ExportFieldsLine(int formatId, const Format* format, const std::vector<std::string>& fields,
                             const ExportNames& names) {
  if (fields.empty()) return std::string();
  if (IsTextLineFormat(formatId)) return TextFormatLine(formatId, format, fields);
  if (formatId == 18) {
    std::string out;
    AppendFields(fields, 0, TextLineLayoutFor(18, format).fsep, '.', out);
    return out;
  }
  if (formatId == 19) return DaviImportLine(format, fields, names);
  return std::string();
}

std::string ExportRecordLine(int formatId, const Format* format, const std::string& symbol,
                             const PriceRecord& record) {
  TextLineLayout layout = TextLineLayoutFor(formatId, format);
  layout.fourDigitYear = formatId == 15 || formatId == 17;
  layout.withTime = false;
  std::string out = symbol;
  out += layout.fsep;
  // The line writer's date and prices, with the volume moved to the front.
  std::string line = FormatPriceLine(layout, record);
  std::size_t dateEnd = line.find(layout.fsep) + 1;
  std::string values = line.substr(dateEnd, line.size() - dateEnd - 2);
  std::size_t lastSep = values.rfind(layout.fsep);
  out += line.substr(0, dateEnd);
  out += values.substr(lastSep + 1);
  out += layout.fsep;
  out += values.substr(0, lastSep);
  out += kLineEnd;
  return out;
}

}  // namespace kvqt
