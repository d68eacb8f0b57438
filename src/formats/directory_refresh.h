// Rebuilding a Directory's entries from its chart database through the format
// drivers, and the list files by which Koersbase II and Hermes users mark the
// instruments to download. Start-up installs both into the data model.
#pragma once

#include <string>

namespace kvqt {

class Directory;

// Makes Directory::refresh() and Directory::readListFile() use the functions below.
void InstallDirectoryRefresh();

// 1 after a scan; 0 when the directory was already scanned and its master
// opens; -1 when the master cannot be opened; -2 when the directory has no
// master yet. A scan updates the entries it finds (their selection stays),
// adds the new ones (selected in selection mode 1) and drops the entries the
// master no longer lists.
int RefreshDirectory(Directory& directory);

// Ids 6 and 17 only, and only when the file exists: selection mode 2, a
// refresh, every entry deselected, then the entries named in the file's
// 13-byte records (a length byte and up to 12 characters of a file name)
// selected. "Error opening list file" when it cannot be read.
void ReadListFile(Directory& directory, const std::string& path);

}  // namespace kvqt
