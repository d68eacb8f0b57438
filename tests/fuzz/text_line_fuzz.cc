// Text data files come from other programs and hand editing: no content may
// crash or hang the line reader, whatever layout reads it.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "formats/text_line_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  const int ids[] = {5, 9, 10, 11, 15, 17, 21};
  for (int id : ids) {
    kvqt::TextLineLayout layout = kvqt::TextLineLayoutFor(id);
    kvqt::PriceRecord record;
    kvqt::ParsePriceLine(layout, bytes, record);
    if (bytes.empty()) continue;
    std::FILE* f = fmemopen(bytes.data(), bytes.size(), "rb");
    if (!f) continue;
    std::size_t lines = 0;
    while (kvqt::ReadPriceLine(f, layout, record) == 0) {
      // Every line takes at least one byte: more lines than bytes is a loop.
      if (++lines > size) __builtin_trap();
      std::string written = kvqt::FormatPriceLine(layout, record);
      if (written.size() < 2 || written.substr(written.size() - 2) != "\r\n") __builtin_trap();
    }
    std::fclose(f);
  }
  return 0;
}
