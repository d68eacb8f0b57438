// The entries of the formats without a master: the directory's files of the
// format's extension, one per call, sorted by name.
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "formats/binary_file.h"
#include "formats/file_locator.h"
#include "formats/symbol_file_driver.h"
#include "formats/symbol_file_layout.h"
#include "platform/little_endian.h"

namespace kvqt {
namespace {

class SymbolListing : public MasterState {
 public:
  int formatId = -1;
  std::string directory;
  std::vector<std::string> names;
  std::size_t next = 0;
};

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The extension of the format's files, in lower case; id 1 adds the period letter.
const char* Extension(int formatId) {
  switch (formatId) {
    case 6:
      return ".kbf";
    case 22:
      return ".kbt";
    case 7:
      return ".hdf";
    case 1:
      return ".mm";
    default:
      return "";
  }
}

// The symbol a file name stands for, or empty when the name is not one of the
// format's files. A name longer than a symbol could never be found again.
std::string SymbolOf(const std::string& name, int formatId) {
  std::string ext = Extension(formatId);
  std::size_t extLength = ext.size() + (formatId == 1 ? 1 : 0);
  if (ext.empty() || name.size() <= extLength) return {};
  std::size_t base = name.size() - extLength;
  if (Lower(name.substr(base, ext.size())) != ext) return {};
  // A symbol has at most 8 characters and no trailing blank.
  if (base > kEntrySymbolSize || name[base - 1] == ' ') return {};
  return name.substr(0, base);
}

std::vector<std::string> ListFiles(const std::string& directory, int formatId) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(directory.empty() ? "." : directory.c_str());
  if (!dir) return names;
  while (struct dirent* e = ::readdir(dir)) {
    std::string name = e->d_name;
    if (SymbolOf(name, formatId).empty()) continue;
    struct stat st;
    if (::stat((directory + name).c_str(), &st) == 0 && S_ISREG(st.st_mode)) names.push_back(name);
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

// The file of one symbol; for id 1, whose name holds the period letter, the
// daily file before the weekly and the monthly one.
std::string FileOfSymbol(const std::string& directory, const std::string& symbol, int formatId) {
  if (symbol.find('/') != std::string::npos) return {};
  std::vector<std::string> candidates;
  if (formatId == 1) {
    for (const char* period : {"D", "W", "M"}) candidates.push_back(symbol + ".mm" + period);
  } else {
    candidates.push_back(symbol + Extension(formatId));
  }
  for (const std::string& candidate : candidates) {
    std::string path = FindExistingFile(directory, candidate);
    if (!path.empty()) return path.substr(directory.size());
  }
  if (formatId != 1) return {};
  // Another period letter: only a listing finds it.
  std::vector<std::string> names = ListFiles(directory, formatId);
  std::string wanted = Lower(symbol);
  std::string found;
  int best = 99;
  for (const std::string& name : names) {
    if (Lower(SymbolOf(name, formatId)) != wanted) continue;
    // The exact spelling first.
    int rank = SymbolOf(name, formatId) == symbol ? 0 : 1;
    if (rank < best) {
      best = rank;
      found = name;
    }
  }
  return found;
}

Date DateOf(int formatId, const unsigned char* record, Time* time) {
  PriceRecord r;
  symbolfile::DecodeRecord(formatId, record, r);
  if (time) *time = r.time;
  return r.date;
}

// The entry a data file stands for: dates from its first and last whole
// records (the first only when data files are read), the count from its size;
// id 1 from its header, the count never beyond the records the file holds.
int EntryFromFile(const std::string& directory, const std::string& name, int formatId, int flags,
                  DatafileEntry& entry) {
  BinaryFile file;
  if (file.openExisting(directory + name, false) != 0) return -1;
  entry = DatafileEntry();
  entry.symbol = SymbolOf(name, formatId);
  entry.name = entry.symbol;
  std::int64_t size = file.size();
  std::int64_t header = static_cast<std::int64_t>(symbolfile::HeaderSize(formatId));
  std::int64_t recordSize = static_cast<std::int64_t>(symbolfile::RecordSize(formatId));
  if (size < header) return -1;
  std::int64_t records = (size - header) / recordSize;
  unsigned char bytes[symbolfile::kMmHeaderSize];

  if (formatId == 1) {
    if (file.readAt(0, bytes, symbolfile::kMmHeaderSize) != header) return -1;
    symbolfile::MmHeader mm;
    symbolfile::ReadMmHeader(bytes, mm);
    entry.period = static_cast<char>(std::toupper(static_cast<unsigned char>(name.back())));
    entry.firstDate = mm.firstDate;
    entry.lastDate = mm.lastDate;
    entry.recordCount = static_cast<std::int32_t>(std::min<std::int64_t>(mm.count, records));
    return 0;
  }

  bool intraday = formatId == 22;
  if (intraday) {
    entry.period = 'I';
    entry.interval = 0;
  }
  entry.recordCount = static_cast<std::int32_t>(std::min<std::int64_t>(records, INT32_MAX));
  if (records == 0) return 0;
  if (file.readAt((records - 1) * recordSize, bytes, static_cast<std::size_t>(recordSize)) == recordSize)
    entry.lastDate = DateOf(formatId, bytes, intraday ? &entry.lastTime : nullptr);
  if (!(flags & kScanNoDataFiles) &&
      file.readAt(0, bytes, static_cast<std::size_t>(recordSize)) == recordSize)
    entry.firstDate = DateOf(formatId, bytes, intraday ? &entry.firstTime : nullptr);
  return 0;
}

}  // namespace

int SymbolFileDriver::scanEntries(MasterHandles& masters, int formatId, DatafileEntry& entry,
                                  const std::string& symbol, int flags, const std::string& directory) {
  if (symbolfile::RecordSize(formatId) == 0) return -1;
  const std::string& dir = directory.empty() ? masters.directory : directory;
  if (flags & kScanMatch) {
    std::string wanted = PadAndTrim(symbol, kEntrySymbolSize);
    if (wanted.empty()) return -1;
    std::string name = FileOfSymbol(dir, wanted, formatId);
    return name.empty() ? -1 : EntryFromFile(dir, name, formatId, flags, entry);
  }
  auto* listing = dynamic_cast<SymbolListing*>(masters.state.get());
  if (!(flags & kScanContinue) || !listing || listing->formatId != formatId || listing->directory != dir) {
    auto fresh = std::make_unique<SymbolListing>();
    fresh->formatId = formatId;
    fresh->directory = dir;
    fresh->names = ListFiles(dir, formatId);
    listing = fresh.get();
    masters.state = std::move(fresh);
  }
  // A file that went away or cannot be read since the listing is passed over.
  while (listing->next < listing->names.size()) {
    const std::string& name = listing->names[listing->next++];
    if (EntryFromFile(dir, name, formatId, flags, entry) == 0) return 0;
  }
  return -1;
}

}  // namespace kvqt
