#include "formats/metastock_driver.h"

#include <cerrno>
#include <cstring>

#include "app/core/logs.h"
#include "app/core/messages.h"
#include "formats/file_locator.h"
#include "formats/file_names.h"
#include "formats/metastock_codec.h"
#include "formats/metastock_files.h"
#include "formats/metastock_layout.h"
#include "formats/metastock_masters.h"
#include "platform/little_endian.h"
#include "platform/path.h"

namespace kvqt {

using namespace metastock;

namespace {

std::size_t RecordSize(const DatafileEntry& entry) { return static_cast<std::size_t>(entry.fields) * 4; }

std::string DataFilePath(const DatafileEntry& entry, int formatId, const std::string& directory) {
  std::string name;
  if (BuildFileName(entry, name, formatId, directory) != 0) return std::string();
  return LocatePath(name);
}

int DataCorrupt(const DatafileEntry& entry) {
  messageFormat("Datafile corrupt: %.80s (%d)", entry.symbol.c_str(), static_cast<int>(entry.fileNumber));
  return -1;
}

int CreateDataFile(DatafileEntry& entry, DatafileHandle& handle, const std::string& path, unsigned permissions) {
  DirectoryChange change(platform::DirectoryPart(path));
  if (handle.binary.openOrCreate(path, false, permissions) != 0) return -1;
  change.created(platform::FileNamePart(path));
  const std::int64_t size = handle.binary.size();
  // A record limit found in the file being replaced is kept.
  if (entry.ringSize == 0 && size >= 2) {
    unsigned char limit[2];
    if (handle.binary.readAt(0, limit, 2) == 2) entry.ringSize = platform::GetLe16(limit);
  }
  std::vector<unsigned char> header(RecordSize(entry), 0);
  // A file no longer than the header is overwritten by it, not truncated:
  // truncating makes the filesystem write the file out when it is closed,
  // which a file being made anew has no need of.
  if (size < 0 || (size > static_cast<std::int64_t>(header.size()) && !handle.binary.truncate(0)) ||
      !handle.binary.write(header.data(), header.size())) {
    handle.close();
    return -1;
  }
  entry.recordCount = 1;
  return 0;
}

// Opens for writing after the last record. The count comes from the entry, or
// from the file's header when the entry has none; it is never taken beyond
// the records the file really holds.
int OpenForWriting(DatafileEntry& entry, DatafileHandle& handle, const std::string& path, unsigned permissions) {
  int rc = handle.binary.openExisting(path, true);
  if (rc == -ENOENT) return CreateDataFile(entry, handle, path, permissions);
  if (rc != 0) return -1;
  std::size_t size = RecordSize(entry);
  std::vector<unsigned char> header(size);
  if (handle.binary.readAt(0, header.data(), size) != static_cast<std::int64_t>(size)) {
    handle.close();
    return DataCorrupt(entry);
  }
  entry.ringSize = platform::GetLe16(header.data());
  if (entry.recordCount < 1) {
    entry.recordCount = platform::GetLe16(header.data() + 2);
    if (entry.recordCount == 0) entry.recordCount = 1;
  }
  std::int64_t whole = handle.binary.size() / static_cast<std::int64_t>(size);
  if (entry.recordCount > whole) entry.recordCount = static_cast<std::int32_t>(whole < 1 ? 1 : whole);
  handle.binary.seek(static_cast<std::int64_t>(entry.recordCount) * static_cast<std::int64_t>(size));
  return 0;
}

// After a write that did not reach the disk: the entry follows the records
// that did, and a partly written record is cut off.
void RecoverFromWriteFailure(DatafileEntry& entry, DatafileHandle& handle, int formatId) {
  std::int64_t size = static_cast<std::int64_t>(RecordSize(entry));
  std::int64_t end = handle.binary.failedAt();
  if (end < 0) end = handle.binary.size();
  std::int64_t records = end / size;
  if (records < 1) records = 1;
  handle.binary.truncate(records * size);
  entry.recordCount = static_cast<std::int32_t>(records);
  entry.lastDate = Date();
  entry.lastTime = Time();
  if (records >= 2) {
    std::vector<unsigned char> last(static_cast<std::size_t>(size));
    if (handle.binary.readAt((records - 1) * size, last.data(), last.size()) == size) {
      PriceRecord record;
      DecodeRecord(last.data(), entry.fields, IsIntraday(formatId), record);
      entry.lastDate = record.date;
      entry.lastTime = record.time;
    }
  } else {
    entry.firstDate = Date();
    entry.firstTime = Time();
  }
  handle.binary.seek(records * size);
}

bool WriteDataHeader(DatafileEntry& entry, DatafileHandle& handle) {
  unsigned char header[4];
  platform::PutLe16(header, static_cast<std::uint32_t>(entry.ringSize));
  platform::PutLe16(header + 2, static_cast<std::uint32_t>(entry.recordCount < 1 ? 1 : entry.recordCount));
  const std::int64_t written = platform::GetLe32(header);
  if (handle.writtenHeader == written) return true;
  if (!handle.binary.writeAt(0, header, sizeof header)) return false;
  handle.writtenHeader = written;
  return true;
}

int WriteToMasters(MasterHandles& m, const DatafileEntry& entry) {
  RecordPlace place;
  unsigned char record[kXmasterRecordSize];
  if (!LocateEntry(m, entry, place, record)) {
    message2("Ticker not found", entry.symbol);
    return -1;
  }
  if (place.inXmaster) {
    FinalizeXmasterRecord(entry, record);
    return m.xmaster.writeAt(XmasterOffset(place.index), record, kXmasterRecordSize) ? 0 : -1;
  }
  FinalizeMasterRecord(entry, record);
  if (!m.master.writeAt(MasterOffset(place.index), record, kMasterRecordSize)) return -1;
  if (m.emasterOpen) {
    unsigned char extra[kEmasterRecordSize];
    std::int64_t eat = EmasterOffset(place.index);
    if (m.emaster.readAt(eat, extra, sizeof extra) != static_cast<std::int64_t>(sizeof extra)) return -1;
    FinalizeEmasterRecord(entry, extra);
    if (!m.emaster.writeAt(eat, extra, sizeof extra)) return -1;
  }
  return 0;
}

// ScanPosition <-> linear record position (MASTER records, then XMASTER's).
std::int64_t LinearPosition(const MasterHandles& m, const ScanPosition& scan) {
  std::int64_t end = MasterOffset(m.masterCount + 1);
  if (scan.master <= 0) return 0;
  if (scan.master < end) return scan.master / static_cast<std::int64_t>(kMasterRecordSize) - 1;
  std::int64_t x = scan.extended / static_cast<std::int64_t>(kXmasterRecordSize) - 1;
  return m.masterCount + (x < 0 ? 0 : x);
}

ScanPosition ToScanPosition(const MasterHandles& m, std::int64_t pos) {
  if (pos < m.masterCount) return ScanPosition{MasterOffset(pos + 1), static_cast<std::int64_t>(kXmasterRecordSize)};
  return ScanPosition{MasterOffset(m.masterCount + 1), XmasterOffset(static_cast<int>(pos - m.masterCount + 1))};
}

}  // namespace

int MetaStockDriver::openDatafile(DatafileEntry& entry, DatafileHandle& handle, int formatId, OpenMode mode,
                                  const std::string& directory, unsigned permissions) {
  if (!IsValidFieldCount(formatId, entry.fields) || entry.fileNumber < 1 || entry.fileNumber > kLastXmasterNumber)
    return -1;
  std::string path = DataFilePath(entry, formatId, directory);
  if (path.empty()) return -1;
  switch (mode) {
    case OpenMode::kCreate:
      return CreateDataFile(entry, handle, path, permissions);
    case OpenMode::kAppend:
    case OpenMode::kUpdate:
    case OpenMode::kUpdateAtEnd:
      return OpenForWriting(entry, handle, path, permissions);
    case OpenMode::kRead:
      if (handle.binary.openExisting(path, true) != 0 && handle.binary.openExisting(path, false) != 0) return -1;
      handle.binary.seek(static_cast<std::int64_t>(RecordSize(entry)));
      return 0;
  }
  return -1;
}

int MetaStockDriver::positionAtRecord(DatafileEntry& entry, DatafileHandle& handle, int, std::int32_t n) {
  if (!handle.binary.isOpen()) return -1;
  handle.binary.seek(static_cast<std::int64_t>(n) * static_cast<std::int64_t>(RecordSize(entry)));
  return 0;
}

int MetaStockDriver::readRecord(DatafileEntry& entry, DatafileHandle& handle, PriceRecord& record, int formatId,
                                const Format*) {
  if (!handle.binary.isOpen() || !IsValidFieldCount(formatId, entry.fields)) return -1;
  unsigned char buffer[32];
  std::size_t size = RecordSize(entry);
  if (handle.binary.read(buffer, size) != static_cast<std::int64_t>(size)) return -1;
  DecodeRecord(buffer, entry.fields, IsIntraday(formatId), record);
  return 0;
}

int MetaStockDriver::writeRecord(DatafileEntry& entry, DatafileHandle& handle, const PriceRecord& record,
                                 int formatId, const Format*) {
  if (!handle.binary.isOpen() || !IsValidFieldCount(formatId, entry.fields)) return -1;
  if (entry.recordCount >= kMaxRecordCount) return -1;
  unsigned char buffer[32];
  bool intraday = IsIntraday(formatId);
  EncodeRecord(record, entry.fields, intraday, buffer);
  if (!handle.binary.write(buffer, RecordSize(entry))) {
    RecoverFromWriteFailure(entry, handle, formatId);
    return -1;
  }
  if (entry.firstDate.isNull() || entry.recordCount == 1) {
    entry.firstDate = record.date;
    if (intraday) entry.firstTime = record.time;
  }
  entry.lastDate = record.date;
  entry.lastTime = record.time;
  ++entry.recordCount;
  return 0;
}

std::int32_t MetaStockDriver::headerRecords(int) const { return 1; }

std::int64_t MetaStockDriver::emptyDatafileSize(const DatafileEntry& entry, int formatId) const {
  return static_cast<std::int64_t>(headerRecords(formatId)) * static_cast<std::int64_t>(RecordSize(entry));
}

int MetaStockDriver::flushDatafile(DatafileEntry& entry, DatafileHandle& handle, int formatId) {
  if (!handle.binary.isOpen()) return -1;
  if (!handle.binary.flush()) {
    RecoverFromWriteFailure(entry, handle, formatId);
    return -1;
  }
  return WriteDataHeader(entry, handle) ? 0 : -1;
}

int MetaStockDriver::openMaster(MasterHandles& masters, int, const std::string& directory) {
  return OpenMasters(masters, directory, false) == 0 ? 0 : -1;
}

int MetaStockDriver::checkMaster(int, const std::string& directory) {
  return FindExistingFile(directory, kMasterName).empty() ? -2 : 0;
}

int MetaStockDriver::scanEntries(MasterHandles& m, int formatId, DatafileEntry& entry, const std::string& symbol,
                                 int flags, const std::string& directory) {
  if (!m.opened || !m.master.isOpen()) return -1;
  bool match = (flags & kScanMatch) != 0;
  std::string wanted = PadAndTrim(symbol, kEntrySymbolSize);
  std::int64_t total = RecordTotal(m);
  std::int64_t start = (flags & kScanContinue) ? LinearPosition(m, m.scan) : 0;
  if (start > total) start = total;

  auto accept = [&](const RecordPlace& place, const unsigned char* r) {
    if (place.inXmaster)
      return (!match || TextEquals(r + xmaster::kSymbol, 8, wanted)) &&
             FitsFormat(formatId, static_cast<char>(r[xmaster::kPeriod]), FieldsFromMask(r[xmaster::kFieldMask]),
                        r[xmaster::kInterval]);
    return (!match || TextEquals(r + master::kSymbol, master::kSymbolSize, wanted)) &&
           FitsFormat(formatId, static_cast<char>(r[master::kPeriod]), r[master::kFields], r[master::kInterval]);
  };

  RecordPlace found;
  unsigned char record[kXmasterRecordSize];
  auto visit = [&](const RecordPlace& place, const unsigned char* r) {
    if (!accept(place, r)) return false;
    found = place;
    std::memcpy(record, r, place.inXmaster ? kXmasterRecordSize : kMasterRecordSize);
    return true;
  };
  std::int64_t next = WalkRecords(m, start, total, visit);
  // A lookup that started further on also looks at the records before its start.
  if (next < 0 && match && start > 0) next = WalkRecords(m, 0, start, visit);
  if (next < 0) {
    m.scan = ToScanPosition(m, total);
    return -1;
  }
  m.scan = ToScanPosition(m, next);
  if (ReadEntry(m, found, entry, record) != 0) return -1;
  if (flags & kScanReadHeader) {
    std::string path = DataFilePath(entry, formatId, directory.empty() ? m.directory : directory);
    if (path.empty() || ReadDataHeader(entry, path) != 0) return -1;
  }
  return 0;
}

int MetaStockDriver::finalize(DatafileEntry& entry, DatafileHandle& handle, int formatId,
                              const std::string& directory) {
  MasterHandles none;
  return finalizeIn(none, entry, handle, formatId, directory);
}

int MetaStockDriver::finalizeIn(MasterHandles& open, DatafileEntry& entry, DatafileHandle& handle, int formatId,
                                const std::string& directory) {
  int result = 0;
  if (handle.binary.isOpen() && !handle.binary.flush()) {
    RecoverFromWriteFailure(entry, handle, formatId);
    result = -1;
  }
  // Masters held open for this directory, read-write with every file there
  // is, serve as they are; else only the files that hold the entry's records.
  const bool usable = open.opened && open.directory == directory && open.master.writable() &&
                      (!open.emasterOpen || open.emaster.writable()) && (!open.xmasterOpen || open.xmaster.writable());
  MasterHandles own;
  MasterHandles& m = usable ? open : own;
  unsigned files = entry.fileNumber >= kFirstXmasterNumber ? kWithXmaster : kWithEmaster;
  if (!usable && OpenMasters(own, directory, true, files) != 0) {
    result = -1;
  } else {
    // The files an own opening would leave closed stay out of it.
    const bool emaster = m.emasterOpen, xmaster = m.xmasterOpen;
    if (!(files & kWithEmaster)) m.emasterOpen = false;
    if (!(files & kWithXmaster)) m.xmasterOpen = false;
    if (WriteToMasters(m, entry) != 0) result = -1;
    m.emasterOpen = emaster;
    m.xmasterOpen = xmaster;
  }
  if (!usable) CloseMasters(own);
  if (handle.binary.isOpen() && !WriteDataHeader(entry, handle)) result = -1;
  if (!handle.close()) result = -1;
  if (result != 0) debug2("finalize failed:", entry.symbol);
  return result;
}

}  // namespace kvqt
