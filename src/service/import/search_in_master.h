// Finding the master entry of a symbol for the result import.
#pragma once

#include <string>

#include "formats/datafile_entry.h"
#include "formats/master_handles.h"

namespace kvqt {

// Opens the directory's master, scans it for the entry of `symbol` with the
// given ScanEntries flags (kScanMatch is always added) and closes it again.
// The scan position stays in `masters` (whose directoryObject the caller
// sets for the formats that walk the data model), so with kScanContinue a
// result that follows the master's order is found without reading the master
// from its start each time. 0 when found; -1 otherwise, also when the master
// holds only a symbol that the 8-character field cuts `symbol` down to;
// kDatafileDamaged when the entry is there but the header of its data file
// (kScanReadHeader) could not be read, the entry then in `entry`.
inline constexpr int kDatafileDamaged = -2;
int search_in_master(const std::string& symbol, DatafileEntry& entry, int formatId, int flags,
                     const std::string& directory, MasterHandles& masters);

class MasterIndex;

// MetaStock and the ring-buffer kinds: the masters stay open for a whole
// directory of the import.
bool KeepsMastersOpen(int formatId);

// The same, starting each scan at the symbol's entry as the index of the
// directory's master knows it (built on the first lookup). Finds what the
// scan above finds. For the ids whose masters stay open (KeepsMastersOpen)
// `masters` is left open for the next lookup of the directory and for
// finalize; the caller closes it when it leaves the directory.
int search_in_master(const std::string& symbol, DatafileEntry& entry, int formatId, int flags,
                     const std::string& directory, MasterHandles& masters, MasterIndex& index);

}  // namespace kvqt
