#include "maintenance/definition_line.h"

#include <vector>

#include "datetime/parse_date.h"

namespace kvqt {
namespace {

constexpr std::string_view kKeywords[] = {"CODE",    "VERSION", "NEWKORVGB",   "NEWKORV", "NEWKVQTMS",
                                          "NEWKVQT", "NEWDLDW", "PELTOPRICES", "REQUEST", "FIREREQUEST"};

std::string_view Trimmed(std::string_view text) {
  const std::string_view blanks = " \t\r\n";
  std::size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  for (std::size_t from = 0;;) {
    std::size_t comma = line.find(',', from);
    fields.push_back(Trimmed(line.substr(from, comma == std::string_view::npos ? comma : comma - from)));
    if (comma == std::string_view::npos) return fields;
    from = comma + 1;
  }
}

Date FieldDate(const std::vector<std::string_view>& fields, std::size_t index) {
  return index < fields.size() && !fields[index].empty() ? ParseDate(fields[index], "?md") : Date();
}

}  // namespace

bool IsRequestKeyword(std::string_view field) {
  for (std::string_view keyword : kKeywords)
    if (field.substr(0, keyword.size()) == keyword) return true;
  return false;
}

bool ParseDefinitionLine(std::string_view line, DefinitionLine& out) {
  std::vector<std::string_view> fields = Fields(line);
  if (fields[0].empty() || IsRequestKeyword(fields[0])) return false;
  out.symbol = std::string(fields[0]);
  out.start = FieldDate(fields, 1);
  out.end = FieldDate(fields, 2);
  return true;
}

}  // namespace kvqt
