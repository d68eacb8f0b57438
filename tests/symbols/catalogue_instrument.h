// An instrument of the symbol catalogue, made in one line for tests.
#pragma once

#include <cstdint>

#include "datetime/date.h"
#include "service/symbols/sintable.h"

namespace kvqt::testing {

inline SinInstrument CatalogueInstrument(std::int32_t sincode, const char* symbol, const char* name, int type = 16,
                                         int exchange = 1, int currency = 1, Date start = Date()) {
  SinInstrument r;
  r.sincode = sincode;
  r.symbol = symbol;
  r.name = name;
  r.security_type = static_cast<std::uint8_t>(type);
  r.exchange = static_cast<std::int16_t>(exchange);
  r.currency = static_cast<std::int16_t>(currency);
  r.start_date = start;
  return r;
}

}  // namespace kvqt::testing
