#include "datetime/date_field_text.h"

#include <cstdio>

namespace kvqt {

std::string DateFieldText(Date date) {
  char text[48];
  std::snprintf(text, sizeof text, "%d/%d/%04d", date.day(), date.month(), date.year());
  return text;
}

}  // namespace kvqt
