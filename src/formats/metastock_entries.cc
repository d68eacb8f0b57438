// Adding, renaming, naming and deleting MetaStock entries.
#include <cstdio>
#include <string>
#include <vector>

#include "app/core/logs.h"
#include "app/core/messages.h"
#include "formats/file_locator.h"
#include "formats/file_names.h"
#include "formats/metastock_codec.h"
#include "formats/metastock_driver.h"
#include "formats/metastock_files.h"
#include "formats/metastock_layout.h"
#include "formats/metastock_masters.h"
#include "platform/little_endian.h"

namespace kvqt {

using namespace metastock;
using platform::GetLe16;
using platform::PutLe16;

namespace {

std::string Bytes(const unsigned char* p, std::size_t n) { return std::string(reinterpret_cast<const char*>(p), n); }

// The first MetaStock entry: new MASTER and EMASTER, file number 1.
int CreateMasters(DatafileEntry& entry, const std::string& directory) {
  entry.fileNumber = 1;
  entry.masterOffset = static_cast<std::int32_t>(MasterOffset(1));
  entry.extendedOffset = 0;
  unsigned char header[kEmasterRecordSize], record[kEmasterRecordSize];
  NewMasterHeader(header);
  MasterTemplate(record);
  FillNewMasterRecord(entry, record);
  std::string masterBytes = Bytes(header, kMasterRecordSize) + Bytes(record, kMasterRecordSize);
  NewEmasterHeader(header);
  EmasterTemplate(record);
  FillNewEmasterRecord(entry, record);
  std::string emasterBytes = Bytes(header, kEmasterRecordSize) + Bytes(record, kEmasterRecordSize);

  std::string masterPath = directory + kMasterName;
  if (!CreateNewFile(masterPath, masterBytes)) {
    message2("Error opening masterfile", masterPath);
    return -1;
  }
  std::string emasterPath = directory + kEmasterName;
  if (!CreateNewFile(emasterPath, emasterBytes)) {
    // The MASTER just made is ours; without its companion it goes again.
    std::remove(masterPath.c_str());
    message2("Error opening masterfile", emasterPath);
    return -1;
  }
  return 0;
}

// The lowest file number from 1 on that no MASTER record uses, and the highest
// number in use afterwards. The header is not trusted for this: a number that
// a record already holds is never given out again.
bool AllocateMasterNumber(MasterHandles& m, int& number, int& highest) {
  bool used[kMaxMasterEntries + 2] = {};
  WalkRecords(m, 0, m.masterCount, [&](const RecordPlace&, const unsigned char* r) {
    used[r[master::kFileNumber]] = true;
    return false;
  });
  number = 0;
  for (int n = 1; n <= kMaxMasterEntries; ++n) {
    if (!used[n]) {
      number = n;
      break;
    }
  }
  if (number == 0) return false;
  used[number] = true;
  highest = 0;
  for (int n = 1; n <= kMaxMasterEntries; ++n)
    if (used[n]) highest = n;
  return true;
}

bool AllocateXmasterNumber(MasterHandles& m, int& number, int& highest) {
  std::vector<bool> used(kLastXmasterNumber + 1, false);
  WalkRecords(m, m.masterCount, RecordTotal(m), [&](const RecordPlace&, const unsigned char* r) {
    int n = GetLe16(r + xmaster::kFileNumber);
    if (n >= kFirstXmasterNumber && n <= kLastXmasterNumber) used[static_cast<std::size_t>(n)] = true;
    return false;
  });
  number = 0;
  for (int n = kFirstXmasterNumber; n <= kLastXmasterNumber; ++n) {
    if (!used[static_cast<std::size_t>(n)]) {
      number = n;
      break;
    }
  }
  if (number == 0) return false;
  used[static_cast<std::size_t>(number)] = true;
  highest = 0;
  for (int n = kFirstXmasterNumber; n <= kLastXmasterNumber; ++n)
    if (used[static_cast<std::size_t>(n)]) highest = n;
  return true;
}

int AddToMaster(MasterHandles& m, DatafileEntry& entry) {
  int number = 0, highest = 0;
  if (!AllocateMasterNumber(m, number, highest)) return -1;
  entry.fileNumber = number;
  int index = m.masterCount + 1;
  entry.masterOffset = static_cast<std::int32_t>(MasterOffset(index));
  entry.extendedOffset = 0;

  unsigned char record[kEmasterRecordSize];
  MasterTemplate(record);
  FillNewMasterRecord(entry, record);
  if (!m.master.writeAt(MasterOffset(index), record, kMasterRecordSize)) return -1;
  unsigned char header[4];
  PutLe16(header, static_cast<std::uint32_t>(index));
  PutLe16(header + 2, static_cast<std::uint32_t>(highest));
  if (m.emasterOpen) {
    EmasterTemplate(record);
    FillNewEmasterRecord(entry, record);
    if (!m.emaster.writeAt(EmasterOffset(index), record, kEmasterRecordSize)) return -1;
    if (!m.emaster.writeAt(0, header, sizeof header)) return -1;
  }
  // The count goes last: until it is written the new record is not an entry.
  return m.master.writeAt(0, header, sizeof header) ? 0 : -1;
}

int AddToXmaster(MasterHandles& m, DatafileEntry& entry, const std::string& directory) {
  entry.masterOffset = static_cast<std::int32_t>(MasterOffset(m.masterCount + 1));
  unsigned char record[kXmasterRecordSize];
  XmasterTemplate(record);
  if (!m.xmasterOpen) {
    entry.fileNumber = kFirstXmasterNumber;
    entry.extendedOffset = static_cast<std::int32_t>(XmasterOffset(1));
    FillNewXmasterRecord(entry, record);
    unsigned char header[kXmasterRecordSize];
    NewXmasterHeader(header);
    std::string path = directory + kXmasterName;
    if (!CreateNewFile(path, Bytes(header, sizeof header) + Bytes(record, sizeof record))) {
      message2("Error opening masterfile", path);
      return -1;
    }
    return 0;
  }
  if (m.xmasterCount >= kMaxXmasterEntries) {
    debugInt("XMASTER full, entries:", m.xmasterCount);
    return -1;
  }
  int number = 0, highest = 0;
  if (!AllocateXmasterNumber(m, number, highest)) return -1;
  entry.fileNumber = number;
  int index = m.xmasterCount + 1;
  entry.extendedOffset = static_cast<std::int32_t>(XmasterOffset(index));
  FillNewXmasterRecord(entry, record);
  if (!m.xmaster.writeAt(XmasterOffset(index), record, sizeof record)) return -1;
  unsigned char value[2];
  PutLe16(value, static_cast<std::uint32_t>(highest - 255));
  if (!m.xmaster.writeAt(xmaster::kHighest, value, 2)) return -1;
  PutLe16(value, static_cast<std::uint32_t>(index));
  return m.xmaster.writeAt(xmaster::kCount, value, 2) ? 0 : -1;
}

// Opens the masters for a change and finds the entry with the symbol.
int OpenAndFind(MasterHandles& m, const std::string& symbol, int formatId, const std::string& directory,
                DatafileEntry& entry, RecordPlace& place) {
  int rc = OpenMasters(m, directory, true);
  if (rc == -2) message2("Error opening masterfile", directory);
  if (rc != 0) return -1;
  std::string wanted = PadAndTrim(symbol, kEntrySymbolSize);
  bool found = false;
  WalkRecords(m, 0, RecordTotal(m), [&](const RecordPlace& p, const unsigned char* r) {
    bool same = p.inXmaster ? TextEquals(r + xmaster::kSymbol, 8, wanted) : TextEquals(r + master::kSymbol, 8, wanted);
    if (!same) return false;
    bool fits = p.inXmaster ? FitsFormat(formatId, static_cast<char>(r[xmaster::kPeriod]),
                                         FieldsFromMask(r[xmaster::kFieldMask]), r[xmaster::kInterval])
                            : FitsFormat(formatId, static_cast<char>(r[master::kPeriod]), r[master::kFields],
                                         r[master::kInterval]);
    if (!fits) return false;
    place = p;
    found = true;
    return true;
  });
  if (!found) return -2;
  return ReadEntry(m, place, entry);
}

int Rename(const std::string& symbol, const std::string* newSymbol, const std::string& newName, int formatId,
           const std::string& directory, bool reportMissing) {
  MasterHandles m;
  DatafileEntry entry;
  RecordPlace place;
  int rc = OpenAndFind(m, symbol, formatId, directory, entry, place);
  if (rc == -2 && reportMissing) message2("Ticker not found", symbol);
  if (rc != 0) {
    CloseMasters(m);
    return -1;
  }
  bool ok;
  if (place.inXmaster) {
    unsigned char record[kXmasterRecordSize];
    std::int64_t at = XmasterOffset(place.index);
    ok = m.xmaster.readAt(at, record, sizeof record) == static_cast<std::int64_t>(sizeof record);
    if (ok) {
      RenameXmasterRecord(record, newSymbol, newName);
      ok = m.xmaster.writeAt(at, record, sizeof record);
    }
  } else {
    unsigned char record[kEmasterRecordSize];
    std::int64_t at = MasterOffset(place.index);
    ok = m.master.readAt(at, record, kMasterRecordSize) == static_cast<std::int64_t>(kMasterRecordSize);
    if (ok) {
      RenameMasterRecord(record, newSymbol, newName);
      ok = m.master.writeAt(at, record, kMasterRecordSize);
    }
    if (ok && m.emasterOpen) {
      at = EmasterOffset(place.index);
      ok = m.emaster.readAt(at, record, kEmasterRecordSize) == static_cast<std::int64_t>(kEmasterRecordSize);
      if (ok) {
        RenameEmasterRecord(record, newSymbol, newName);
        ok = m.emaster.writeAt(at, record, kEmasterRecordSize);
      }
    }
  }
  CloseMasters(m);
  return ok ? 0 : -1;
}

// The file without record `skip`: its header with the count one lower, then
// its other records in order. Records beyond the count are not entries and
// are not carried over.
bool WithoutRecord(BinaryFile& file, std::size_t recordSize, std::size_t countOffset, int count, int skip,
                   std::string& out) {
  std::vector<unsigned char> bytes(recordSize * static_cast<std::size_t>(count + 1));
  if (file.readAt(0, bytes.data(), bytes.size()) != static_cast<std::int64_t>(bytes.size())) return false;
  int oldCount = GetLe16(bytes.data() + countOffset);
  PutLe16(bytes.data() + countOffset, static_cast<std::uint32_t>(oldCount > 0 ? oldCount - 1 : 0));
  out.assign(reinterpret_cast<const char*>(bytes.data()), recordSize * static_cast<std::size_t>(skip));
  out.append(reinterpret_cast<const char*>(bytes.data()) + recordSize * static_cast<std::size_t>(skip + 1),
             recordSize * static_cast<std::size_t>(count - skip));
  return true;
}

}  // namespace

int MetaStockDriver::addEntry(DatafileEntry& entry, int formatId, const std::string& directory) {
  entry.fields = IsIntraday(formatId) ? 8 : 7;
  entry.ringSize = 0;
  MasterPaths paths = FindMasters(directory);
  int rc;
  if (paths.master.empty()) {
    // A directory with EMASTER or XMASTER but no MASTER is damaged; a new
    // MASTER beside them would hide their entries.
    if (!paths.emaster.empty() || !paths.xmaster.empty()) {
      message2("Masterfile missing:", directory + kMasterName);
      return -1;
    }
    rc = CreateMasters(entry, directory);
  } else {
    MasterHandles m;
    if (OpenMasters(m, directory, true) != 0) return -1;
    rc = m.masterCount < kMaxMasterEntries ? AddToMaster(m, entry) : AddToXmaster(m, entry, directory);
    CloseMasters(m);
  }
  if (rc != 0) return -1;
  if (entry.fileNumber <= kMaxMasterEntries && !WriteDopFile(directory, entry.fileNumber, IsIntraday(formatId)))
    debugInt("Cannot write field file of data file", entry.fileNumber);
  return 0;
}

int MetaStockDriver::renameEntry(const std::string& oldSymbol, const std::string& newSymbol,
                                 const std::string& newName, int formatId, const std::string& directory) {
  std::string symbol = PadAndTrim(newSymbol, kEntrySymbolSize);
  return Rename(oldSymbol, &symbol, PadAndTrim(newName, kEntryNameSize), formatId, directory, true);
}

int MetaStockDriver::setName(const std::string& symbol, const std::string& name, int formatId,
                             const std::string& directory) {
  if (formatId != 4) return -1;
  return Rename(symbol, nullptr, PadAndTrim(name, kEntryNameSize), formatId, directory, false);
}

int MetaStockDriver::deleteEntry(const std::string& symbol, DatafileEntry& entry, int formatId,
                                 const std::string& directory) {
  MasterHandles m;
  RecordPlace place;
  int rc = OpenAndFind(m, symbol, formatId, directory, entry, place);
  if (rc == -2) message2("Ticker not found:", symbol);
  if (rc != 0) {
    CloseMasters(m);
    return -1;
  }
  // Only the file that holds the entry is rebuilt, record by record: entries
  // this format id does not show (the other period kind) and the entries of
  // the other master file stay exactly as they were.
  std::string masterBytes, emasterBytes;
  bool ok;
  if (place.inXmaster) {
    ok = WithoutRecord(m.xmaster, kXmasterRecordSize, xmaster::kCount, m.xmasterCount, place.index, masterBytes);
  } else {
    ok = WithoutRecord(m.master, kMasterRecordSize, master::kCount, m.masterCount, place.index, masterBytes) &&
         (!m.emasterOpen ||
          WithoutRecord(m.emaster, kEmasterRecordSize, emaster::kCount, m.masterCount, place.index, emasterBytes));
  }
  std::string masterPath = place.inXmaster ? m.xmaster.path() : m.master.path();
  std::string emasterPath = m.emasterOpen && !place.inXmaster ? m.emaster.path() : std::string();
  CloseMasters(m);
  if (!ok) {
    message2("Error opening masterfile", directory);
    return -1;
  }

  std::string tempMaster = directory + (place.inXmaster ? kXmasterName : kMasterName) + ".tmp";
  std::string tempEmaster = directory + kEmasterName + ".tmp";
  if (!WriteTempFile(tempMaster, masterBytes, masterPath)) {
    message(place.inXmaster ? "opening temporary xmaster failed" : "opening temporary master failed");
    return -1;
  }
  if (!emasterPath.empty() && !WriteTempFile(tempEmaster, emasterBytes, emasterPath)) {
    std::remove(tempMaster.c_str());
    message("opening temporary emaster failed");
    return -1;
  }
  if (!RenameOver(tempMaster, masterPath)) {
    if (!emasterPath.empty()) std::remove(tempEmaster.c_str());
    message2("Error opening masterfile", masterPath);
    return -1;
  }
  if (!emasterPath.empty() && !RenameOver(tempEmaster, emasterPath)) {
    message2("Error opening masterfile", emasterPath);
    return -1;
  }

  if (entry.fileNumber <= kMaxMasterEntries) {
    std::string dop = FindExistingFile(directory, DopFileName(entry.fileNumber));
    if (!dop.empty()) std::remove(dop.c_str());
  }
  std::string name;
  if (BuildFileName(entry, name, formatId, directory) == 0) {
    std::string data = FindExistingFile(directory, name.substr(directory.size()));
    if (!data.empty()) std::remove(data.c_str());
  }
  return 0;
}

}  // namespace kvqt
