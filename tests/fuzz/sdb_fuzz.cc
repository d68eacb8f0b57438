// The symbol table file is read at every start and may be damaged: no content
// may crash the reader, and what it reads must write again.
#include <cstdint>
#include <string_view>

#include "service/symbols/sdb_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kvqt::SdbTables tables;
  kvqt::SdbLayout layout;
  std::string error;
  if (kvqt::ParseSdb(std::string_view(reinterpret_cast<const char*>(data), size), tables, &layout, &error) == 0) {
    kvqt::SerializeSdb(tables);
  }
  return 0;
}
