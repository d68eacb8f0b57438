// kvqt-info sdb FILE: the four tables of a symbol table ("kvqt.sdb", or the
// earlier "sintab.db"), one line per record.
#pragma once

#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

namespace kvqt::info {

// The verb's lines for kvqt-info --help.
inline constexpr const char* kSdbVerbHelp =
    "  sdb FILE       a symbol table (kvqt.sdb, or the earlier sintab.db): a first line with its\n"
    "                 layout and the count and capacity of each table, then one line per\n"
    "                 currency, exchange, instrument and split factor, in table order\n";

// 0, or 1 with a one-line message on `err` when the file cannot be read or is
// not a symbol table.
int RunSdbVerb(const std::string& path, std::ostream& out, std::ostream& err);

}  // namespace kvqt::info
