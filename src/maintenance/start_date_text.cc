#include "maintenance/start_date_text.h"

#include <cstdio>

#include "datetime/date_field_text.h"
#include "datetime/parse_date.h"

namespace kvqt {

StartDateText ParseStartDateText(std::string_view text) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  StartDateText result;
  result.empty = text.empty();
  if (!result.empty) result.date = ParseUserDate(text);
  return result;
}

std::string DefaultStartDateText() {
  return DateFieldText(Date::Today().addDays(-7));
}

}  // namespace kvqt
