#include "formats/symbol_file_driver.h"

#include <cerrno>
#include <vector>

#include "app/core/logs.h"
#include "app/core/messages.h"
#include "formats/file_locator.h"
#include "formats/file_names.h"
#include "formats/symbol_file_layout.h"
#include "platform/path.h"

namespace kvqt {

using symbolfile::HeaderSize;
using symbolfile::RecordSize;

namespace {

std::int64_t Header(int formatId) { return static_cast<std::int64_t>(HeaderSize(formatId)); }
std::int64_t Record(int formatId) { return static_cast<std::int64_t>(RecordSize(formatId)); }

int Create(DatafileEntry& entry, DatafileHandle& handle, int formatId, const std::string& path,
           unsigned permissions) {
  DirectoryChange change(platform::DirectoryPart(path));
  if (handle.binary.openOrCreate(path, true, permissions) != 0) return -1;
  change.created(platform::FileNamePart(path));
  std::vector<unsigned char> header(HeaderSize(formatId), 0);
  if (!header.empty() && !handle.binary.write(header.data(), header.size())) {
    handle.close();
    return -1;
  }
  entry.recordCount = 0;
  return 0;
}

// Opened for writing after its last whole record; the count is the file's,
// whatever the entry said.
int OpenForWriting(DatafileEntry& entry, DatafileHandle& handle, int formatId, const std::string& path,
                   unsigned permissions) {
  int rc = handle.binary.openExisting(path, true);
  if (rc == -ENOENT) return Create(entry, handle, formatId, path, permissions);
  if (rc != 0) return -1;
  std::int64_t size = handle.binary.size();
  if (size < Header(formatId)) {
    handle.close();
    messageFormat("Datafile corrupt: %.80s", entry.symbol.c_str());
    return -1;
  }
  std::int64_t records = (size - Header(formatId)) / Record(formatId);
  if (formatId == 1 && records > symbolfile::kMaxMmRecords) records = symbolfile::kMaxMmRecords;
  entry.recordCount = static_cast<std::int32_t>(records);
  handle.binary.seek(Header(formatId) + records * Record(formatId));
  return 0;
}

// After bytes that did not reach the disk: the entry follows the records that
// did, and a part of a record is cut off.
void RecoverFromWriteFailure(DatafileEntry& entry, DatafileHandle& handle, int formatId) {
  std::int64_t header = Header(formatId), size = Record(formatId);
  std::int64_t end = handle.binary.failedAt();
  if (end < 0) end = handle.binary.size();
  std::int64_t records = end < header ? 0 : (end - header) / size;
  handle.binary.truncate(header + records * size);
  entry.recordCount = static_cast<std::int32_t>(records);
  entry.lastDate = Date();
  entry.lastTime = Time();
  unsigned char bytes[symbolfile::kMaxRecordSize];
  if (records > 0 && handle.binary.readAt(header + (records - 1) * size, bytes, RecordSize(formatId)) == size) {
    PriceRecord last;
    symbolfile::DecodeRecord(formatId, bytes, last);
    entry.lastDate = last.date;
    if (formatId == 22) entry.lastTime = last.time;
  }
  if (records == 0) {
    entry.firstDate = Date();
    entry.firstTime = Time();
  }
  handle.binary.seek(header + records * size);
}

int WriteMmHeader(const DatafileEntry& entry, DatafileHandle& handle) {
  unsigned char bytes[symbolfile::kMmHeaderSize] = {};
  if (handle.binary.readAt(0, bytes, sizeof bytes) != static_cast<std::int64_t>(sizeof bytes)) return -1;
  symbolfile::MmHeader header;
  header.symbol = entry.symbol;
  header.count = entry.recordCount;
  header.firstDate = entry.firstDate;
  header.lastDate = entry.lastDate;
  header.period = entry.period;
  symbolfile::WriteMmHeader(header, bytes);
  return handle.binary.writeAt(0, bytes, sizeof bytes) ? 0 : -1;
}

}  // namespace

SymbolFileDriver& SymbolFileDriverInstance() {
  static SymbolFileDriver driver;
  return driver;
}

std::string SymbolFilePath(const DatafileEntry& entry, int formatId, const std::string& directory) {
  if (RecordSize(formatId) == 0 || entry.symbol.empty() || entry.symbol.find('/') != std::string::npos) return {};
  if (formatId == 1 && (entry.period == '/' || entry.period == '\0')) return {};
  std::string name;
  if (BuildFileName(entry, name, formatId, directory) != 0) return {};
  return LocatePath(name);
}

std::string SymbolFileDriver::datafilePath(const DatafileEntry& entry, int formatId, const std::string& directory) {
  return SymbolFilePath(entry, formatId, directory);
}

int SymbolFileDriver::openDatafile(DatafileEntry& entry, DatafileHandle& handle, int formatId, OpenMode mode,
                                   const std::string& directory, unsigned permissions) {
  std::string path = SymbolFilePath(entry, formatId, directory);
  if (path.empty()) return -1;
  switch (mode) {
    case OpenMode::kCreate:
      return Create(entry, handle, formatId, path, permissions);
    case OpenMode::kAppend:
    case OpenMode::kUpdate:
    case OpenMode::kUpdateAtEnd:
      return OpenForWriting(entry, handle, formatId, path, permissions);
    case OpenMode::kRead:
      if (handle.binary.openExisting(path, false) != 0) return -1;
      handle.binary.seek(Header(formatId));
      return 0;
  }
  return -1;
}

int SymbolFileDriver::positionAtRecord(DatafileEntry&, DatafileHandle& handle, int formatId, std::int32_t n) {
  if (!handle.binary.isOpen() || Record(formatId) == 0) return -1;
  handle.binary.seek(Header(formatId) + static_cast<std::int64_t>(n) * Record(formatId));
  return 0;
}

int SymbolFileDriver::readRecord(DatafileEntry&, DatafileHandle& handle, PriceRecord& record, int formatId,
                                 const Format*) {
  std::int64_t size = Record(formatId);
  if (!handle.binary.isOpen() || size == 0) return -1;
  unsigned char bytes[symbolfile::kMaxRecordSize];
  if (handle.binary.read(bytes, static_cast<std::size_t>(size)) != size) return -1;
  symbolfile::DecodeRecord(formatId, bytes, record);
  return 0;
}

int SymbolFileDriver::writeRecord(DatafileEntry& entry, DatafileHandle& handle, const PriceRecord& record,
                                  int formatId, const Format*) {
  std::int64_t size = Record(formatId);
  if (!handle.binary.isOpen() || !handle.binary.writable() || size == 0) return -1;
  if (entry.recordCount < 0) entry.recordCount = 0;
  // The id 1 header cannot count further.
  if (formatId == 1 && entry.recordCount >= symbolfile::kMaxMmRecords) return -1;
  unsigned char bytes[symbolfile::kMaxRecordSize];
  symbolfile::EncodeRecord(formatId, record, bytes);
  if (!handle.binary.write(bytes, static_cast<std::size_t>(size))) {
    RecoverFromWriteFailure(entry, handle, formatId);
    return -1;
  }
  if (entry.firstDate.isNull() || entry.recordCount == 0) {
    entry.firstDate = record.date;
    if (formatId == 22) entry.firstTime = record.time;
  }
  entry.lastDate = record.date;
  if (formatId == 22) entry.lastTime = record.time;
  ++entry.recordCount;
  return 0;
}

int SymbolFileDriver::finalize(DatafileEntry& entry, DatafileHandle& handle, int formatId, const std::string&) {
  int result = 0;
  if (handle.binary.isOpen() && !handle.binary.flush()) {
    RecoverFromWriteFailure(entry, handle, formatId);
    result = -1;
  }
  if (formatId == 1 && handle.binary.isOpen() && WriteMmHeader(entry, handle) != 0) result = -1;
  if (!handle.close()) result = -1;
  if (result != 0) debug2("finalize failed:", entry.symbol);
  return result;
}

}  // namespace kvqt
