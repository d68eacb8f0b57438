// Ticker/names files are written by hand or by other programs: no content may
// crash or hang their line reader, and no line end or separator may end up
// inside a symbol or a name.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "maintenance/ticker_file.h"

namespace {

bool Holds(std::string_view text, std::string_view chars) { return text.find_first_of(chars) != std::string_view::npos; }
bool Blank(char c) { return c == ' ' || c == '\t'; }
bool ControlOrBlank(char c) { return static_cast<unsigned char>(c) <= ' ' || c == 0x7f; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::string bytes(reinterpret_cast<const char*>(data), size);
  std::FILE* f = fmemopen(bytes.data(), bytes.size(), "rb");
  if (!f) return 0;
  kvqt::TickerFileReader reader(f);
  std::string line;
  std::size_t lines = 0;
  const std::string_view ends("\n\0", 2);
  while (reader.next(line)) {
    // Every line takes at least one byte: more lines than bytes is a loop.
    if (++lines > size) __builtin_trap();
    if (line.size() > kvqt::kTickerLineLength || Holds(line, ends)) __builtin_trap();
    if (!line.empty() && line.back() == '\r') __builtin_trap();

    std::string_view symbol, name, date;
    if (kvqt::CutNameLine(line, symbol, name) &&
        (symbol.empty() || name.empty() || Holds(symbol, ",") || Holds(name, ",")))
      __builtin_trap();
    if (Holds(kvqt::CutSymbolField(line), ",")) __builtin_trap();
    if (kvqt::CutMasterLine(line, symbol, name, date) &&
        (symbol.empty() || name.empty() || Holds(symbol, "|") || Holds(name, "|") || Holds(date, "|") ||
         (!date.empty() && (Blank(date.front()) || Blank(date.back())))))
      __builtin_trap();
    std::string_view word = kvqt::CutSymbolLine(line);
    if (Holds(word, ", \t|") || (!word.empty() && ControlOrBlank(word.back()))) __builtin_trap();
  }
  std::fclose(f);
  return 0;
}
