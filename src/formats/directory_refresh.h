// Rebuilding a Directory's entries from its chart database through the format
// drivers, and the list files by which Koersbase II and Hermes users mark the
// instruments to download. Start-up installs both into the data model.
#pragma once

#include <string>
#include <vector>

#include "formats/datafile_entry.h"

namespace kvqt {

class Directory;

// Makes Directory::refresh() and Directory::readListFile() use the functions below.
void InstallDirectoryRefresh();

// What a scan reads besides the master.
enum class RefreshScan {
  kWithDataFiles,  // everything the entries hold, the MetaStock record counts from the data files' headers
  kMasterOnly,     // MetaStock: only the master files; the record counts stay uncounted (-1)
};

// 1 after a scan; 0 when the directory was already scanned and its master
// opens; -1 when the master cannot be opened; -2 when the directory has no
// master yet. A scan updates the entries it finds (their selection stays),
// adds the new ones (selected in selection mode 1) and drops the entries the
// master no longer lists. A master-only scan serves callers that need no
// record counts (the request); the data manager counts an uncounted entry's
// records when it opens it.
int RefreshDirectory(Directory& directory);
int RefreshDirectory(Directory& directory, RefreshScan scan);
// The same; a master-only scan of a MetaStock directory also hands every
// entry it read to `entries` (cleared first), in master order and as a scan
// that leaves the data files closed gives them, and sets `handed`; the
// caller then needs no scan of its own.
int RefreshDirectory(Directory& directory, RefreshScan scan, std::vector<DatafileEntry>& entries, bool& handed);

// Ids 6 and 17 only, and only when the file exists: selection mode 2, a
// refresh, every entry deselected, then the entries named in the file's
// 13-byte records (a length byte and up to 12 characters of a file name)
// selected. "Error opening list file" when it cannot be read.
void ReadListFile(Directory& directory, const std::string& path);

}  // namespace kvqt
