// The benchmarks' input: result lines as the server writes them, instrument
// after instrument, weekdays in order from `first`.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "datetime/date.h"

inline std::string Symbol(int i) {
  char symbol[16];
  std::snprintf(symbol, sizeof symbol, "B%05d", i);
  return symbol;
}

inline bool WriteResultLines(const std::string& path, int instruments, int days, kvqt::Date first) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  std::vector<kvqt::Date> dates;
  for (kvqt::Date d = first; static_cast<int>(dates.size()) < days; d = d.addDays(1))
    if (d.dayOfWeek() != 0 && d.dayOfWeek() != 6) dates.push_back(d);
  for (int i = 0; i < instruments; ++i) {
    std::string symbol = Symbol(i);
    for (int n = 0; n < days; ++n) {
      double open = 10.0 + (n % 100) * 0.25;
      std::fprintf(f, "%s,%d,%d,%.2f,%.2f,%.2f,%.2f\r\n", symbol.c_str(), dates[static_cast<std::size_t>(n)].value(),
                   1000 + n, open, open + 1, open - 1, open + 0.5);
    }
  }
  return std::fclose(f) == 0;
}
