// Symbol-table files written out byte by byte for the tests.
#pragma once

#include <string>

#include "support/hex.h"

namespace kvqt::testing {

// A currency or exchange record of kvqt.sdb (74 bytes).
inline std::string SdbItemBytes(long code, const std::string& name) { return Le32(code) + Padded(name, 70); }

// An instrument record of kvqt.sdb (100 bytes).
inline std::string SdbInstrumentBytes(long sincode, const std::string& symbol, const std::string& name, int currency,
                                      int exchange, int type, long start_date, long second_date = 0) {
  return Le32(sincode) + Padded(symbol, 9) + Padded(name, 41) + Padded("", 13) + Le16(currency) + Le16(exchange) +
         static_cast<char>(type) + Le32(start_date) + Le32(second_date) + Padded("", 20);
}

// A split-factor record of kvqt.sdb (87 bytes).
inline std::string SdbSplitBytes(long sincode, long record_date, const std::string& symbol, long split_date,
                                 const std::string& factor_le, const std::string& name, int applied) {
  return Le32(sincode) + Le32(record_date) + Padded(symbol, 9) + Le32(split_date) + Hex(factor_le) +
         Padded(name, 41) + static_cast<char>(applied) + Padded("", 20);
}

}  // namespace kvqt::testing
