#include "formats/ring_buffer_driver.h"

#include <cerrno>

#include "app/core/logs.h"
#include "app/core/messages.h"
#include "formats/file_locator.h"
#include "formats/file_names.h"
#include "formats/master_dat.h"
#include "formats/master_dat_layout.h"
#include "formats/ring_layout.h"
#include "platform/path.h"

namespace kvqt {
namespace {

constexpr std::int64_t kMasterRecord = static_cast<std::int64_t>(masterdat::kRecordSize);

std::int64_t RecordBytes(const DatafileEntry& entry) {
  return static_cast<std::int64_t>(ring::RecordSize(entry.fields));
}

bool ValidRingSize(const DatafileEntry& entry) {
  return entry.ringSize >= 1 && entry.ringSize <= masterdat::kMaxRingSize;
}

// Whether the ring's count and start fit its size and every slot in use lies
// within a file of `fileSize` bytes.
bool RingFits(const DatafileEntry& entry, std::int64_t fileSize) {
  std::int64_t record = RecordBytes(entry);
  if (record == 0 || !ValidRingSize(entry)) return false;
  if (entry.recordCount < 0 || entry.recordCount > entry.ringSize) return false;
  if (entry.ringStart < 0 || entry.ringStart >= entry.ringSize) return false;
  std::int64_t end = static_cast<std::int64_t>(entry.ringStart) + entry.recordCount;
  if (end > entry.ringSize) end = entry.ringSize;
  return end * record <= fileSize;
}

int Corrupt(const DatafileEntry& entry) {
  messageFormat("Datafile corrupt: %.80s", entry.symbol.c_str());
  return -1;
}

std::int64_t SlotOffset(const DatafileEntry& entry, std::int64_t i) {
  return ((entry.ringStart + i) % entry.ringSize) * RecordBytes(entry);
}

// A new ring: ring size records of zero bytes.
int CreateRing(DatafileEntry& entry, DatafileHandle& handle, const std::string& path, unsigned permissions) {
  std::int64_t record = RecordBytes(entry);
  if (record == 0 || !ValidRingSize(entry)) {
    debugInt("Unsupported ring file type:", static_cast<int>(entry.fields));
    return -1;
  }
  DirectoryChange change(platform::DirectoryPart(path));
  if (handle.binary.openOrCreate(path, true, permissions) != 0) return -1;
  change.created(platform::FileNamePart(path));
  if (!handle.binary.truncate(entry.ringSize * record)) {
    handle.close();
    return -1;
  }
  entry.recordCount = 0;
  entry.ringStart = 0;
  handle.binary.seek(0);
  return 0;
}

int OpenForWriting(DatafileEntry& entry, DatafileHandle& handle, const std::string& path, unsigned permissions) {
  int rc = handle.binary.openExisting(path, true);
  if (rc == -ENOENT) return CreateRing(entry, handle, path, permissions);
  if (rc != 0) return -1;
  if (entry.recordCount < 0) entry.recordCount = 0;
  if (!RingFits(entry, handle.binary.size())) {
    handle.close();
    return Corrupt(entry);
  }
  handle.binary.seek(SlotOffset(entry, entry.recordCount));
  return 0;
}

// The date of the record at slot ring start, when the file holds it.
Date FirstDate(BinaryFile& file, const DatafileEntry& entry) {
  std::int64_t record = RecordBytes(entry);
  if (entry.recordCount <= 0 || record == 0 || entry.ringStart < 0 || entry.ringStart >= entry.ringSize)
    return Date();
  unsigned char bytes[ring::kMaxRecordSize];
  if (file.readAt(entry.ringStart * record, bytes, static_cast<std::size_t>(record)) != record) return Date();
  return ring::DecodeDate(bytes, entry.fields);
}

// A symbol or file letter that would lead out of the directory is no file name.
bool NamesAFile(const DatafileEntry& entry) {
  return !entry.symbol.empty() && entry.symbol.find('/') == std::string::npos && entry.fileLetter != '/' &&
         entry.fileLetter != '\0';
}

}  // namespace

RingBufferDriver& RingBufferDriverInstance() {
  static RingBufferDriver driver;
  return driver;
}

std::string RingFilePath(const DatafileEntry& entry, int formatId, const std::string& directory) {
  if ((formatId != 0 && formatId != 8) || !NamesAFile(entry)) return std::string();
  std::string own, other;
  if (BuildFileName(entry, own, formatId, directory) != 0 ||
      BuildFileName(entry, other, formatId == 0 ? 8 : 0, directory) != 0)
    return std::string();
  for (const std::string* name : {&own, &other}) {
    std::string found = FindExistingFile(directory, name->substr(directory.size()));
    if (!found.empty()) return found;
  }
  return own;
}

int RingBufferDriver::openDatafile(DatafileEntry& entry, DatafileHandle& handle, int formatId, OpenMode mode,
                                   const std::string& directory, unsigned permissions) {
  std::string path = RingFilePath(entry, formatId, directory);
  if (path.empty()) return -1;
  switch (mode) {
    case OpenMode::kCreate:
      return CreateRing(entry, handle, path, permissions);
    case OpenMode::kAppend:
    case OpenMode::kUpdate:
    case OpenMode::kUpdateAtEnd:
      return OpenForWriting(entry, handle, path, permissions);
    case OpenMode::kRead:
      if (handle.binary.openExisting(path, false) != 0) return -1;
      if (!RingFits(entry, handle.binary.size())) {
        handle.close();
        return Corrupt(entry);
      }
      handle.binary.seek(entry.ringStart * RecordBytes(entry));
      entry.recordsRead = 0;
      return 0;
  }
  return -1;
}

std::string RingBufferDriver::datafilePath(const DatafileEntry& entry, int formatId, const std::string& directory) {
  return RingFilePath(entry, formatId, directory);
}

int RingBufferDriver::positionAtRecord(DatafileEntry& entry, DatafileHandle& handle, int, std::int32_t n) {
  if (!handle.binary.isOpen() || RecordBytes(entry) == 0 || !ValidRingSize(entry) || entry.ringStart < 0) return -1;
  handle.binary.seek(SlotOffset(entry, n));
  entry.recordsRead = n;
  return 0;
}

int RingBufferDriver::readRecord(DatafileEntry& entry, DatafileHandle& handle, PriceRecord& record, int,
                                 const Format*) {
  std::int64_t size = RecordBytes(entry);
  if (!handle.binary.isOpen() || size == 0 || !ValidRingSize(entry)) return -1;
  if (entry.recordCount > entry.ringSize || entry.ringStart < 0 || entry.ringStart >= entry.ringSize) return -1;
  if (entry.recordsRead < 0 || entry.recordsRead >= entry.recordCount) return -1;
  unsigned char bytes[ring::kMaxRecordSize];
  handle.binary.seek(SlotOffset(entry, entry.recordsRead));
  if (handle.binary.read(bytes, static_cast<std::size_t>(size)) != size) return -1;
  ring::DecodeRecord(bytes, entry.fields, record);
  ++entry.recordsRead;
  return 0;
}

int RingBufferDriver::writeRecord(DatafileEntry& entry, DatafileHandle& handle, const PriceRecord& record, int,
                                  const Format*) {
  std::int64_t size = RecordBytes(entry);
  if (!handle.binary.isOpen() || !handle.binary.writable() || size == 0 || !ValidRingSize(entry)) return -1;
  std::int32_t count = entry.recordCount < 0 ? 0 : entry.recordCount;
  if (count > entry.ringSize || entry.ringStart < 0 || entry.ringStart >= entry.ringSize) return -1;
  unsigned char bytes[ring::kMaxRecordSize];
  ring::EncodeRecord(record, entry.fields, bytes);
  // Buffered: the records of one run of slots reach the file in one write.
  handle.binary.seek(SlotOffset(entry, count));
  if (!handle.binary.write(bytes, static_cast<std::size_t>(size))) return -1;
  // A full ring gives up its oldest record.
  if (count < entry.ringSize)
    entry.recordCount = count + 1;
  else
    entry.ringStart = (entry.ringStart + 1) % entry.ringSize;
  if (entry.firstDate.isNull()) entry.firstDate = record.date;
  entry.lastDate = record.date;
  entry.lastClose = record.close;
  return 0;
}

int RingBufferDriver::openMaster(MasterHandles& masters, int, const std::string& directory) {
  return masterdat::Open(masters.master, directory, false) == 0 ? 0 : -1;
}

int RingBufferDriver::checkMaster(int, const std::string& directory) {
  return FindExistingFile(directory, masterdat::kFileName).empty() ? -2 : 0;
}

int RingBufferDriver::scanEntries(MasterHandles& masters, int formatId, DatafileEntry& entry,
                                  const std::string& symbol, int flags, const std::string& directory) {
  BinaryFile& file = masters.master;
  if (!file.isOpen()) return -1;
  const std::string& dir = directory.empty() ? masters.directory : directory;
  bool match = (flags & kScanMatch) != 0;
  std::string wanted = PadAndTrim(symbol, kEntrySymbolSize);
  std::int64_t records = masterdat::WholeRecords(file);
  std::int64_t start = 1;
  if ((flags & kScanContinue) && masters.scan.master / kMasterRecord > 1)
    start = masters.scan.master / kMasterRecord;

  auto search = [&](std::int64_t from, std::int64_t to) -> std::int64_t {
    unsigned char record[masterdat::kRecordSize];
    file.seek(from * kMasterRecord);
    for (std::int64_t i = from; i < to; ++i) {
      if (file.read(record, sizeof record) != kMasterRecord) return -1;
      if (masterdat::IsFree(record) || masterdat::IsHeader(record)) continue;
      DatafileEntry found;
      masterdat::ReadRecord(record, found);
      if (!ring::IsSupportedType(found.fields) || found.ringSize == 0) continue;
      if (match && found.symbol != wanted) continue;
      found.masterOffset = static_cast<std::int32_t>(i * kMasterRecord);
      if (!(flags & kScanNoDataFiles)) {
        std::string path = RingFilePath(found, formatId, dir);
        BinaryFile data;
        if (path.empty() || data.openExisting(path, false) != 0) continue;
        found.firstDate = FirstDate(data, found);
      }
      entry = found;
      return i;
    }
    return -1;
  };

  std::int64_t index = search(start, records);
  // A lookup that started further on also looks at the records before its start.
  if (index < 0 && match && start > 1) index = search(1, start);
  masters.scan.master = (index < 0 ? records : index + 1) * kMasterRecord;
  return index < 0 ? -1 : 0;
}

int RingBufferDriver::addEntry(DatafileEntry& entry, int, const std::string& directory) {
  if (!ring::IsSupportedType(entry.fields) || !ValidRingSize(entry)) {
    debugInt("Unsupported ring file type:", static_cast<int>(entry.fields));
    return -1;
  }
  entry.recordCount = 0;
  entry.ringStart = 0;
  return masterdat::Add(entry, directory);
}

int RingBufferDriver::finalize(DatafileEntry& entry, DatafileHandle& handle, int formatId,
                               const std::string& directory) {
  MasterHandles none;
  return finalizeIn(none, entry, handle, formatId, directory);
}

int RingBufferDriver::finalizeIn(MasterHandles& masters, DatafileEntry& entry, DatafileHandle& handle, int,
                                 const std::string& directory) {
  // The master must never count records that did not reach the file.
  if (handle.binary.isOpen() && !handle.binary.flush()) {
    handle.close();
    debug2("finalize failed:", entry.symbol);
    return -1;
  }
  // Once the ring has given up records, the oldest one left is the first.
  if (handle.binary.isOpen()) {
    Date first = FirstDate(handle.binary, entry);
    if (!first.isNull()) entry.firstDate = first;
  }
  // master.dat held open read-write for this directory serves as it is.
  const bool held = masters.opened && masters.directory == directory && masters.master.writable();
  int result = held ? masterdat::WriteBackTo(masters.master, entry) : masterdat::WriteBack(entry, directory);
  if (!handle.close()) result = -1;
  if (result != 0) debug2("finalize failed:", entry.symbol);
  return result;
}

}  // namespace kvqt
