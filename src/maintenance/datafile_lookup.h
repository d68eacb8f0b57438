// Finding an instrument's entry through a Directory of the data model, so that
// the kinds that keep their instruments in the model (Orvista 2000) are found
// like those with a master file.
#pragma once

#include <string>
#include <string_view>

#include "formats/datafile_update.h"
#include "formats/format_driver.h"

namespace kvqt {

class Datafile;
class Directory;

// The directory's path with its trailing separator, as the drivers take it.
std::string DirectoryPath(const Directory& directory);

// The entry of `symbol` in the directory's master (or its Datafiles); 0 when
// found, -1 otherwise. `flags` are ScanEntries flags; kScanMatch is added.
int LookupEntry(const std::string& symbol, DatafileEntry& entry, int formatId, Directory& directory, int flags = 0);

// The first Datafile of the directory with exactly this symbol; null when none.
// Unlike Directory::bySymbol a miss is expected here and not logged.
Datafile* DatafileBySymbol(const Directory& directory, std::string_view symbol);

}  // namespace kvqt
