#include "formats/text_index_driver.h"

#include <cstdio>

#include "app/core/logs.h"
#include "app/core/messages.h"
#include "formats/ascii_index.h"
#include "formats/file_locator.h"
#include "formats/file_names.h"
#include "platform/atomic_file.h"
#include "platform/little_endian.h"
#include "platform/path.h"

namespace kvqt {

using namespace ascii_index;

namespace {

constexpr int kMaxEntries = 0xFFFF;  // the header keeps the count in 16 bits

std::int64_t SlotsOf(BinaryFile& file) {
  std::int64_t size = file.size();
  return size < static_cast<std::int64_t>(kHeaderSize) ? 0 : (size - kHeaderSize) / kRecordSize;
}

bool ReadSlot(BinaryFile& file, std::int64_t slot, unsigned char* record) {
  file.seek(RecordOffset(slot));
  return file.read(record, kRecordSize) == static_cast<std::int64_t>(kRecordSize);
}

// The first slot in [from, to) whose record has the symbol; -1 when none.
std::int64_t FindSlot(BinaryFile& file, std::int64_t from, std::int64_t to, const std::string& symbol,
                      unsigned char* record) {
  for (std::int64_t i = from; i < to; ++i) {
    if (!ReadSlot(file, i, record)) return -1;
    if (record[kSymbolAt] != 0 && RecordSymbol(record) == symbol) return i;
  }
  return -1;
}

std::string DataFilePath(const std::string& symbol, int formatId, const std::string& directory) {
  DatafileEntry entry;
  SetEntrySymbol(entry, symbol);
  std::string path;
  if (BuildFileName(entry, path, formatId, directory) != 0) return std::string();
  return path;
}

// The slot the entry's record is in: the one at its offset when that still
// holds the symbol (or was left empty by an add), else the symbol's.
std::int64_t LocateEntrySlot(BinaryFile& file, const DatafileEntry& entry, unsigned char* record) {
  std::int64_t slots = SlotsOf(file);
  std::int64_t offset = entry.masterOffset;
  if (offset >= static_cast<std::int64_t>(kHeaderSize) && (offset - kHeaderSize) % kRecordSize == 0) {
    std::int64_t slot = (offset - kHeaderSize) / kRecordSize;
    if (slot < slots && ReadSlot(file, slot, record) &&
        (record[kSymbolAt] == 0 || RecordSymbol(record) == entry.symbol))
      return slot;
  }
  return FindSlot(file, 0, slots, entry.symbol, record);
}

}  // namespace

int TextIndexDriver::openMaster(MasterHandles& m, int formatId, const std::string& directory) {
  std::int64_t slots = 0;
  if (OpenIndex(m.master, formatId, directory, true, slots) != 0) return -1;
  unsigned char count[2] = {0, 0};
  m.master.readAt(kCountAt, count, 2);
  m.masterCount = platform::GetLe16(count);
  m.resetScan();
  return 0;
}

int TextIndexDriver::checkMaster(int formatId, const std::string& directory) {
  if (!FindExistingFile(directory, kIndexName).empty()) return 0;
  if (!FindExistingFile(directory, kLegacyName).empty()) return ConvertLegacyIndex(formatId, directory) == 0 ? 0 : -1;
  return -2;
}

int TextIndexDriver::scanEntries(MasterHandles& m, int, DatafileEntry& entry, const std::string& symbol, int flags,
                                 const std::string&) {
  if (!m.master.isOpen()) return -1;
  std::int64_t slots = SlotsOf(m.master);
  std::int64_t start = 0;
  if ((flags & kScanContinue) && m.scan.master >= static_cast<std::int64_t>(kHeaderSize))
    start = (m.scan.master - kHeaderSize) / kRecordSize;
  if (start > slots) start = slots;
  unsigned char record[kRecordSize];
  std::int64_t found = -1;
  if (flags & kScanMatch) {
    std::string wanted = PadAndTrim(symbol, kEntrySymbolSize);
    found = FindSlot(m.master, start, slots, wanted, record);
    // A lookup that started further on also looks at the records before its start.
    if (found < 0 && start > 0) found = FindSlot(m.master, 0, start, wanted, record);
  } else {
    for (std::int64_t i = start; i < slots && found < 0; ++i) {
      if (!ReadSlot(m.master, i, record)) break;
      if (record[kSymbolAt] != 0) found = i;
    }
  }
  if (found < 0) {
    m.scan.master = RecordOffset(slots);
    return -1;
  }
  m.scan.master = RecordOffset(found + 1);
  DatafileEntry read;
  DecodeRecord(record, read);
  read.masterOffset = static_cast<std::int32_t>(RecordOffset(found));
  entry = read;
  return 0;
}

int TextIndexDriver::addEntry(DatafileEntry& entry, int formatId, const std::string& directory) {
  // A legacy index becomes master.kvq before anything is added to it.
  if (FindExistingFile(directory, kIndexName).empty() && !FindExistingFile(directory, kLegacyName).empty() &&
      ConvertLegacyIndex(formatId, directory) != 0)
    return -1;

  if (FindExistingFile(directory, kIndexName).empty()) {
    entry.masterOffset = static_cast<std::int32_t>(RecordOffset(0));
    DirectoryChange change(directory);
    if (!platform::WriteFileAtomically(directory + kIndexName, EncodeHeader(formatId, 1) + EncodeRecord(entry)))
      return -1;
    change.created(kIndexName);
    return 0;
  }

  // An index that is there but does not pass its header check is never replaced.
  BinaryFile file;
  std::int64_t slots = 0;
  if (OpenIndex(file, formatId, directory, true, slots) != 0 || !file.writable()) return -1;
  unsigned char record[kRecordSize];
  std::int64_t slot = FindSlot(file, 0, slots, entry.symbol, record);
  if (slot >= 0) {
    DatafileEntry existing;
    DecodeRecord(record, existing);
    entry.interval = existing.interval;
    entry.firstDate = existing.firstDate;
    entry.firstTime = existing.firstTime;
    entry.lastDate = existing.lastDate;
    entry.lastTime = existing.lastTime;
    entry.recordCount = existing.recordCount;
    entry.masterOffset = static_cast<std::int32_t>(RecordOffset(slot));
    return 0;
  }
  unsigned char count[2] = {0, 0};
  file.readAt(kCountAt, count, 2);
  int entries = platform::GetLe16(count);
  if (entries >= kMaxEntries || slots >= kMaxEntries) {
    message2("Cannot create entry in masterfile", entry.symbol);
    return -1;
  }
  // The record first, then the header that counts it. A piece of a record
  // at the end of a damaged file is written over.
  std::string fresh = EncodeRecord(entry);
  if (!file.writeAt(RecordOffset(slots), fresh.data(), fresh.size())) return -1;
  std::string header = EncodeHeader(formatId, entries + 1);
  if (!file.writeAt(kFormatIdAt, header.data() + kFormatIdAt, 1) ||
      !file.writeAt(kCountAt, header.data() + kCountAt, 2))
    return -1;
  entry.masterOffset = static_cast<std::int32_t>(RecordOffset(slots));
  return file.close() ? 0 : -1;
}

int TextIndexDriver::finalize(DatafileEntry& entry, DatafileHandle& handle, int formatId,
                              const std::string& directory) {
  int result = 0;
  if (handle.text && std::fflush(handle.text) != 0) result = -1;
  BinaryFile file;
  std::int64_t slots = 0;
  if (OpenIndex(file, formatId, directory, true, slots) != 0 || !file.writable()) {
    result = -1;
  } else {
    unsigned char record[kRecordSize];
    std::int64_t slot = LocateEntrySlot(file, entry, record);
    if (slot < 0) {
      message2("Ticker not found", entry.symbol);
      result = -1;
    } else {
      UpdateRecord(entry, record);
      entry.masterOffset = static_cast<std::int32_t>(RecordOffset(slot));
      if (!file.writeAt(RecordOffset(slot), record, kRecordSize) || !file.close()) result = -1;
    }
  }
  if (!handle.close()) result = -1;
  if (result != 0) debug2("finalize failed:", entry.symbol);
  return result;
}

int TextIndexDriver::renameEntry(const std::string& oldSymbol, const std::string& newSymbol,
                                 const std::string& newName, int formatId, const std::string& directory) {
  std::string from = PadAndTrim(oldSymbol, kEntrySymbolSize);
  std::string to = PadAndTrim(newSymbol, kEntrySymbolSize);
  if (to.empty()) return -1;
  BinaryFile file;
  std::int64_t slots = 0;
  if (OpenIndex(file, formatId, directory, true, slots) != 0 || !file.writable()) return -1;
  unsigned char record[kRecordSize];
  std::int64_t slot = FindSlot(file, 0, slots, from, record);
  if (slot < 0) {
    message2("Ticker not found", oldSymbol);
    return -1;
  }

  std::string oldPath = LocatePath(DataFilePath(from, formatId, directory));
  std::string newPath = DataFilePath(to, formatId, directory);
  bool moved = false;
  if (to != from) {
    // Two records of one symbol would share, and then lose, one data file.
    unsigned char other[kRecordSize];
    std::string taken = LocatePath(newPath);
    if (FindSlot(file, 0, slots, to, other) >= 0 || (taken != oldPath && platform::FileExists(taken))) {
      message2("Symbol already used", newSymbol);
      return -1;
    }
    if (platform::FileExists(oldPath)) {
      DirectoryChange change(directory);
      if (std::rename(oldPath.c_str(), newPath.c_str()) != 0) return -1;
      change.removed(platform::FileNamePart(oldPath));
      change.created(platform::FileNamePart(newPath));
      moved = true;
    }
  }

  DatafileEntry renamed;
  DecodeRecord(record, renamed);
  renamed.symbol = to;
  renamed.name = PadAndTrim(newName, kNameSize - 1);
  UpdateRecord(renamed, record);
  if (!file.writeAt(RecordOffset(slot), record, kRecordSize) || !file.close()) {
    if (moved) std::rename(newPath.c_str(), oldPath.c_str());
    return -1;
  }
  return 0;
}

int TextIndexDriver::deleteEntry(const std::string& symbol, DatafileEntry& entry, int formatId,
                                 const std::string& directory) {
  std::string wanted = PadAndTrim(symbol, kEntrySymbolSize);
  BinaryFile file;
  std::int64_t slots = 0;
  if (OpenIndex(file, formatId, directory, false, slots) != 0) {
    message("init_master failed");
    return -1;
  }
  std::string kept;
  int count = 0;
  bool found = false;
  unsigned char header[kHeaderSize];
  unsigned char record[kRecordSize];
  if (file.readAt(0, header, kHeaderSize) != static_cast<std::int64_t>(kHeaderSize)) return -1;
  for (std::int64_t i = 0; i < slots; ++i) {
    if (!ReadSlot(file, i, record)) return -1;
    if (record[kSymbolAt] == 0) continue;
    if (RecordSymbol(record) == wanted) {
      if (!found) {
        DecodeRecord(record, entry);
        entry.masterOffset = static_cast<std::int32_t>(RecordOffset(i));
      }
      found = true;
      continue;
    }
    kept.append(reinterpret_cast<const char*>(record), kRecordSize);
    ++count;
  }
  std::string path = file.path();
  file.close();
  if (!found) {
    message2("Ticker not found in masterfile", symbol);
    return -1;
  }
  platform::PutLe16(header + kCountAt, static_cast<std::uint32_t>(count));
  std::string bytes(reinterpret_cast<const char*>(header), kHeaderSize);
  if (!platform::WriteFileAtomically(path, bytes + kept)) {
    message("opening temporary master failed");
    return -1;
  }
  std::string dataPath = LocatePath(DataFilePath(wanted, formatId, directory));
  if (platform::FileExists(dataPath)) {
    DirectoryChange change(directory);
    if (std::remove(dataPath.c_str()) == 0) change.removed(platform::FileNamePart(dataPath));
  }
  return 0;
}

}  // namespace kvqt
