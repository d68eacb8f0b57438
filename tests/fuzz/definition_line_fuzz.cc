// Definition files for "Query from" are the user's own: no line may crash the
// reader, and what it gives back is a symbol from the line and dates that are
// either null or valid.
#include <cstdint>
#include <string>
#include <string_view>

#include "maintenance/definition_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::size_t from = 0;
  while (from < bytes.size()) {
    std::size_t end = bytes.find('\n', from);
    if (end == std::string_view::npos) end = bytes.size();
    const std::string_view line = bytes.substr(from, end - from);
    kvqt::DefinitionLine parsed;
    if (kvqt::ParseDefinitionLine(line, parsed)) {
      if (parsed.symbol.empty() || parsed.symbol.size() > line.size()) __builtin_trap();
      if (line.find(parsed.symbol) == std::string_view::npos) __builtin_trap();
      for (const kvqt::Date& d : {parsed.start, parsed.end}) {
        if (!d.isNull() && kvqt::Date::FromValue(d.value()) != d) __builtin_trap();
      }
    }
    from = end + 1;
  }
  return 0;
}
