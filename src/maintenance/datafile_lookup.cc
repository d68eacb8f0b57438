#include "maintenance/datafile_lookup.h"

#include "app/model/datafile.h"
#include "app/model/directory.h"
#include "platform/path.h"

namespace kvqt {

std::string DirectoryPath(const Directory& directory) {
  return directory.name().empty() ? std::string() : platform::EnsureTrailingSeparator(directory.name());
}

int LookupEntry(const std::string& symbol, DatafileEntry& entry, int formatId, Directory& directory, int flags) {
  const std::string path = DirectoryPath(directory);
  if (symbol.empty() || path.empty()) return -1;
  MasterHandles masters;
  masters.directoryObject = &directory;
  if (OpenMaster(masters, formatId, path) != 0) return -1;
  DatafileEntry found;
  int rc = ScanEntries(masters, formatId, found, symbol, flags | kScanMatch, path);
  CloseMaster(masters);
  if (rc != 0) return -1;
  entry = found;
  return 0;
}

Datafile* DatafileBySymbol(const Directory& directory, std::string_view symbol) {
  for (int i = 0; i < directory.size(); ++i)
    if (directory.at(i)->symbol() == symbol) return directory.at(i);
  return nullptr;
}

}  // namespace kvqt
