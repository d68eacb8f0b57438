// Reading and writing the symbol-table file "kvqt.sdb" (and the earlier
// layout, also found as "sintab.db").
#pragma once

#include <string>
#include <string_view>

#include "service/symbols/sdb_tables.h"

namespace kvqt {

enum class SdbLayout { kCurrent, kEarlier };

// Reads the tables from the bytes of a file. Returns 0, or -1 when the bytes
// are not a symbol table (a negative count, fewer bytes than the counts need,
// an unknown version); the tables are then empty and *error says why.
int ParseSdb(std::string_view bytes, SdbTables& tables, SdbLayout* layout, std::string* error);

// The whole file in the current layout.
std::string SerializeSdb(const SdbTables& tables);

// ParseSdb on a file; -1 also when it cannot be read.
int ReadSdbFile(const std::string& path, SdbTables& tables, SdbLayout* layout, std::string* error);

}  // namespace kvqt
