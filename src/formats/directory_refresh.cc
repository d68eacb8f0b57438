#include "formats/directory_refresh.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>
#include <vector>

#include "app/core/messages.h"
#include "app/model/datafile.h"
#include "app/model/directory.h"
#include "formats/driver_table.h"
#include "formats/file_locator.h"
#include "formats/format_driver.h"
#include "platform/path.h"

namespace kvqt {
namespace {

constexpr int kOrvistaId = 16;
// Far beyond any real directory; only a damaged master could get near it.
constexpr int kMaxScannedEntries = 10'000'000;
constexpr std::size_t kListRecordSize = 13;
constexpr std::size_t kListNameSize = 12;

// The entries a scan found that the Directory did not hold yet, added all
// at once after the scan (a sorted insert each would move the whole list
// for every entry of a long master in another order). Of entries with the
// same Name and Symbol the last one found holds what the scan found for all
// of them (they differ in nothing else), as if each later one had updated
// the first.
class NewEntries {
 public:
  void add(std::unique_ptr<Datafile> fresh) { entries_.push_back(std::move(fresh)); }
  void addTo(Directory& directory) {
    auto less = [](const std::unique_ptr<Datafile>& a, const std::unique_ptr<Datafile>& b) {
      return Datafile::Less(*a, *b);
    };
    // Masters are often in that order already.
    if (!std::is_sorted(entries_.begin(), entries_.end(), less)) std::stable_sort(entries_.begin(), entries_.end(), less);
    std::vector<std::unique_ptr<Datafile>> unique;
    unique.reserve(entries_.size());
    for (std::size_t i = 0; i < entries_.size(); ++i)
      if (i + 1 == entries_.size() || less(entries_[i], entries_[i + 1])) unique.push_back(std::move(entries_[i]));
    entries_.clear();
    directory.addAll(std::move(unique));
  }

 private:
  std::vector<std::unique_ptr<Datafile>> entries_;
};

void Apply(Directory& directory, NewEntries& added, const DatafileEntry& entry, int market) {
  int formatId = directory.formatId();
  auto fresh = std::make_unique<Datafile>(entry.symbol, entry.name, formatId, market);
  Datafile* datafile = directory.find(fresh->symbol(), fresh->name());
  if (!datafile) {
    fresh->setSelected(directory.selectionMode() == Directory::kSelectAll);
    datafile = fresh.get();
    added.add(std::move(fresh));
  }
  datafile->setPer(entry.period);
  datafile->setInterval(entry.interval);
  datafile->setDates(entry.firstDate, entry.firstTime, entry.lastDate, entry.lastTime,
                     PriceRecordCount(entry, formatId));
}

// Drops what the scan did not find.
void DropUnseen(Directory& directory) {
  for (int i = directory.size() - 1; i >= 0; --i)
    if (!directory.at(i)->seen()) directory.removeAt(i);
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

int RefreshHook(Directory& directory) { return RefreshDirectory(directory); }
void ListFileHook(Directory& directory, const std::string& path) { ReadListFile(directory, path); }

}  // namespace

void InstallDirectoryRefresh() {
  Directory::SetRefreshHook(RefreshHook);
  Directory::SetListFileHook(ListFileHook);
}

int RefreshDirectory(Directory& directory) { return RefreshDirectory(directory, RefreshScan::kWithDataFiles); }

int RefreshDirectory(Directory& directory, RefreshScan scan) {
  std::vector<DatafileEntry> entries;
  bool handed = false;
  return RefreshDirectory(directory, scan, entries, handed);
}

int RefreshDirectory(Directory& directory, RefreshScan scan, std::vector<DatafileEntry>& entries, bool& handed) {
  entries.clear();
  handed = false;
  int formatId = directory.formatId();
  if (directory.name().empty()) return -1;
  const std::string path = platform::EnsureTrailingSeparator(directory.name());
  MasterHandles masters;
  masters.directoryObject = &directory;
  if (directory.scanned()) {
    int rc = OpenMaster(masters, formatId, path);
    CloseMaster(masters);
    return rc == 0 ? 0 : -1;
  }
  // The instruments of an Orvista 2000 directory are its entries themselves.
  if (formatId == kOrvistaId) {
    directory.setScanned(true);
    return 1;
  }
  if (CheckMaster(formatId, path) == -2) return -2;
  if (OpenMaster(masters, formatId, path) != 0) return -1;

  // Entries are marked again by what the scan finds.
  for (int i = 0; i < directory.size(); ++i) directory.at(i)->setSeen(false);
  int market = Datafile::DefaultMarket();
  // MetaStock keeps the record count in the data file's header.
  const bool metaStock = StorageKindOf(formatId) == StorageKind::kMetaStock;
  const int first = !metaStock ? 0 : scan == RefreshScan::kMasterOnly ? kScanNoDataFiles : kScanReadHeader;
  const bool hand = metaStock && scan == RefreshScan::kMasterOnly;
  DatafileEntry entry;
  NewEntries added;
  if (hand) entries.reserve(static_cast<std::size_t>(std::max(0, masters.masterCount + masters.xmasterCount)));
  int flags = first;
  for (int n = 0; n < kMaxScannedEntries && ScanEntries(masters, formatId, entry, "", flags, path) == 0; ++n) {
    Apply(directory, added, entry, market);
    if (hand) entries.push_back(std::move(entry));  // the next scan fills it anew
    flags = first | kScanContinue;
  }
  CloseMaster(masters);
  DropUnseen(directory);
  added.addTo(directory);
  directory.setScanned(true);
  handed = hand;
  return 1;
}

void ReadListFile(Directory& directory, const std::string& path) {
  int formatId = directory.formatId();
  const char* extension = formatId == 6 ? ".KBF" : formatId == 17 ? ".ASC" : nullptr;
  if (!extension) return;
  std::string located = LocatePath(path);
  if (!platform::FileExists(located)) return;

  directory.setSelectionMode(Directory::kSelectStored);
  directory.refresh();
  for (int i = 0; i < directory.size(); ++i) directory.at(i)->setSelected(false);

  std::FILE* f = std::fopen(located.c_str(), "rbe");
  if (!f) {
    message2("Error opening list file", path);
    return;
  }
  unsigned char record[kListRecordSize];
  while (std::fread(record, 1, kListRecordSize, f) == kListRecordSize) {
    std::size_t length = record[0] < kListNameSize ? record[0] : kListNameSize;
    std::string name(reinterpret_cast<const char*>(record + 1), length);
    if (std::size_t nul = name.find('\0'); nul != std::string::npos) name.resize(nul);
    std::string symbol = Upper(name);
    if (std::size_t ext = symbol.find(extension); ext != std::string::npos) symbol.resize(ext);
    // Symbols taken from file names keep the names' case; the list names them in capitals.
    for (int i = 0; i < directory.size(); ++i) {
      Datafile* datafile = directory.at(i);
      if (platform::EqualsNoCase(datafile->symbol(), symbol)) {
        datafile->setSelected(true);
        break;
      }
    }
  }
  std::fclose(f);
}

}  // namespace kvqt
