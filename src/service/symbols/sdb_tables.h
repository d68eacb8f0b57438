// The four tables of the symbol table, with the initial capacities and growth
// steps of the file.
#pragma once

#include "service/symbols/keyed_records.h"
#include "service/symbols/sin_records.h"

namespace kvqt {

inline constexpr std::int32_t kCurrencyStep = 128;
inline constexpr std::int32_t kExchangeStep = 256;
inline constexpr std::int32_t kInstrumentStep = 1024;
inline constexpr std::int32_t kSplitFactorStep = 256;

struct SdbTables {
  KeyedRecords<SinItem> currencies{kCurrencyStep};
  KeyedRecords<SinItem> exchanges{kExchangeStep};
  KeyedRecords<SinInstrument> instruments{kInstrumentStep};
  KeyedRecords<SinSplitFactor> split_factors{kSplitFactorStep};

  void clear() {
    currencies.clear();
    exchanges.clear();
    instruments.clear();
    split_factors.clear();
  }
};

}  // namespace kvqt
