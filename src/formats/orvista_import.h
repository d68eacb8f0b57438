// The Orvista 2000 import (format id 16): every record written for such a
// directory goes as one line into its import file "sksdat.o2k", which is then
// renamed after the directory's market ("<code>.ORV") and handed to the
// Orvista 2000 importer program.
#pragma once

#include <cstdio>
#include <string>

#include "formats/datafile_entry.h"
#include "formats/price_record.h"

namespace kvqt {

inline constexpr const char* kOrvistaImportName = "sksdat.o2k";
inline constexpr const char* kOrvistaMarketFile = "Market.INI";

// Deletes the directory's import file, so the next request starts a new one.
void ClearImportFile(const std::string& directory);

// The "Code" of section "Market" in the directory's "Market.INI", cut at the
// first '|'; true when it is not empty. A missing file gives the empty code.
bool ReadMarketCode(std::string& code, const std::string& directory);

// One import line:
// 7|market|symbol (letters and digits only)|name||YYYYMMDD|open|high|low|close|volume
std::string OrvistaImportLine(const std::string& marketCode, const DatafileEntry& entry, const PriceRecord& record);

// Writes the line and moves the entry's first and last date out to the
// record's date; the count stays. 0, or -1 when it could not be written.
int WriteOrvistaRecord(std::FILE* file, const std::string& marketCode, DatafileEntry& entry,
                       const PriceRecord& record);

// Renames the directory's import file to "<code>.ORV" and starts the importer
// "<orvista2kpath>/Tools/Ingest2000.exe" with it, without waiting. Nothing
// happens without an import file. 0 when the importer was started; -1 after
// its message otherwise.
int RunImporter(const std::string& directory);

}  // namespace kvqt
