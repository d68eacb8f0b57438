// The download result comes from a server: no content may crash or hang its
// line reader, and no line may become a record without a date or with a
// value that is not a number.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "service/import/result_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::string bytes(reinterpret_cast<const char*>(data), size);
  std::FILE* f = fmemopen(bytes.data(), bytes.size(), "rb");
  if (!f) return 0;
  kvqt::ResultLineReader reader(f);
  std::string_view line;
  std::size_t lines = 0;
  for (kvqt::ResultLineReader::Next next; (next = reader.next(line)) != kvqt::ResultLineReader::Next::kEnd;) {
    // Every line takes at least one byte: more lines than bytes is a loop.
    if (++lines > size) __builtin_trap();
    if (line.size() > kvqt::kMaxResultLineLength) __builtin_trap();
    if (next == kvqt::ResultLineReader::Next::kTooLong) continue;
    for (bool intraday : {false, true}) {
      kvqt::ResultPriceLine parsed;
      if (kvqt::ParseResultPriceLine(line, intraday, parsed) != kvqt::PriceLineParse::kRecord) continue;
      const kvqt::PriceRecord& r = parsed.record;
      if (r.date.isNull() || parsed.symbol.empty()) __builtin_trap();
      if (intraday == r.time.isNull()) __builtin_trap();
      for (float v : {r.open, r.high, r.low, r.close, r.volume})
        if (!std::isfinite(v)) __builtin_trap();
    }
    if (kvqt::SplitExportFields(line).size() > kvqt::kMaxExportFields) __builtin_trap();
  }
  std::fclose(f);
  return 0;
}
