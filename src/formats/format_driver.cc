#include "formats/format_driver.h"

#include <cstdio>

#include "app/core/messages.h"
#include "formats/driver_table.h"
#include "formats/file_locator.h"
#include "formats/storage_registry.h"

namespace kvqt {
namespace {

StorageDriver* DriverOf(int formatId) {
  if (!IsValidFormatId(formatId)) return nullptr;
  StorageKind kind = StorageKindOf(formatId);
  if (kind == StorageKind::kNone) return nullptr;
  return &StorageDriverFor(kind);
}

// Lines of a text file, for the update-at-end step of the formats that do not
// know their record count.
std::int32_t CountLines(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return 0;
  std::int32_t lines = 0;
  int c, last = '\n';
  while ((c = std::fgetc(f)) != EOF) {
    if (c == '\n') ++lines;
    last = c;
  }
  if (last != '\n') ++lines;
  std::fclose(f);
  return lines;
}

std::string SymbolFilePath(const std::string& symbol, int formatId, const std::string& directory) {
  DatafileEntry entry;
  SetEntrySymbol(entry, symbol);
  std::string path;
  if (BuildFileName(entry, path, formatId, directory) != 0) return std::string();
  return path;
}

int RenameSymbolFile(const std::string& oldSymbol, const std::string& newSymbol, int formatId,
                     const std::string& directory) {
  std::string oldPath = SymbolFilePath(oldSymbol, formatId, directory);
  std::string newPath = SymbolFilePath(newSymbol, formatId, directory);
  if (oldPath.empty() || newPath.empty()) return -1;
  std::string existing = LocatePath(oldPath);
  std::FILE* probe = std::fopen(existing.c_str(), "rb");
  if (!probe) {
    message2("Symbol not found", oldSymbol);
    return -1;
  }
  std::fclose(probe);
  std::string taken = LocatePath(newPath);
  if (taken != existing && (probe = std::fopen(taken.c_str(), "rb")) != nullptr) {
    std::fclose(probe);
    message2("Symbol already used", newSymbol);
    return -1;
  }
  return std::rename(existing.c_str(), newPath.c_str()) == 0 ? 0 : -1;
}

int DeleteSymbolFile(const std::string& symbol, int formatId, const std::string& directory) {
  std::string path = SymbolFilePath(symbol, formatId, directory);
  if (path.empty()) return -1;
  std::string existing = LocatePath(path);
  if (std::remove(existing.c_str()) != 0) {
    message2("Symbol not found", symbol);
    return -1;
  }
  return 0;
}

}  // namespace

std::int32_t PriceRecordCount(const DatafileEntry& entry, int formatId) {
  if (StorageKindOf(formatId) == StorageKind::kMetaStock && entry.recordCount >= 1) return entry.recordCount - 1;
  return entry.recordCount;
}

int OpenDatafile(DatafileEntry& entry, DatafileHandle& handle, int formatId, OpenMode mode,
                 const std::string& directory, unsigned permissions) {
  StorageDriver* driver = DriverOf(formatId);
  if (!IsValidFormatId(formatId)) return -1;
  if (directory.empty()) {
    message("open_datafile: illegal directory");
    return -1;
  }
  handle.close();
  if (!driver) return -1;
  if (mode == OpenMode::kCreate) {
    entry.recordCount = 0;
    entry.ringStart = 0;
  }
  if (driver->openDatafile(entry, handle, formatId, mode, directory, permissions) != 0) {
    handle.close();
    return -1;
  }
  if (mode == OpenMode::kUpdateAtEnd) {
    if (entry.recordCount == -1) {
      std::string path;
      entry.recordCount = formatId == 17 && BuildFileName(entry, path, formatId, directory) == 0
                              ? CountLines(LocatePath(path))
                              : 0;
    }
    // Step back onto the last record, but never onto a header record.
    if (entry.recordCount > driver->headerRecords(formatId)) {
      --entry.recordCount;
      PositionAtRecord(entry, handle, formatId, entry.recordCount);
    }
  }
  return 0;
}

int PositionAtRecord(DatafileEntry& entry, DatafileHandle& handle, int formatId, std::int32_t n) {
  StorageDriver* driver = DriverOf(formatId);
  if (!driver) return -1;
  if (n < 0) return 0;
  return driver->positionAtRecord(entry, handle, formatId, n);
}

int ReadRecord(DatafileEntry& entry, DatafileHandle& handle, PriceRecord& record, int formatId,
               const Format* format) {
  StorageDriver* driver = DriverOf(formatId);
  return driver ? driver->readRecord(entry, handle, record, formatId, format) : -1;
}

int WriteRecord(DatafileEntry& entry, DatafileHandle& handle, const PriceRecord& record, int formatId,
                const Format* format) {
  StorageDriver* driver = DriverOf(formatId);
  return driver ? driver->writeRecord(entry, handle, record, formatId, format) : -1;
}

int CloseDatafile(DatafileHandle& handle) { return handle.close() ? 0 : -1; }

std::int32_t MaxRecords(int formatId, const DatafileEntry& entry) {
  switch (StorageKindOf(formatId)) {
    case StorageKind::kRingBuffer:
      return entry.ringSize > 0 ? entry.ringSize : -1;
    case StorageKind::kMetaStock:
      return entry.ringSize > 0 ? entry.ringSize : 65535;
    default:
      return -1;
  }
}

std::int64_t EmptyDatafileSize(const DatafileEntry& entry, int formatId) {
  StorageDriver* driver = DriverOf(formatId);
  return driver ? driver->emptyDatafileSize(entry, formatId) : 0;
}

int OpenMaster(MasterHandles& masters, int formatId, const std::string& directory) {
  masters.opened = false;
  if (!IsValidFormatId(formatId)) return -1;
  masters.formatId = formatId;
  masters.directory = directory;
  switch (MasterKindOf(formatId)) {
    case MasterKind::kUnsupported:
      return -1;
    case MasterKind::kNoMaster:
      masters.opened = true;
      return 0;
    default:
      break;
  }
  if (directory.empty()) return -1;
  StorageDriver* driver = DriverOf(formatId);
  if (!driver || driver->openMaster(masters, formatId, directory) != 0) return -1;
  masters.opened = true;
  return 0;
}

int CheckMaster(int formatId, const std::string& directory) {
  switch (MasterKindOf(formatId)) {
    case MasterKind::kUnsupported:
      return -1;
    case MasterKind::kNoMaster:
      return 0;
    default:
      break;
  }
  StorageDriver* driver = DriverOf(formatId);
  return driver ? driver->checkMaster(formatId, directory) : -1;
}

void CloseMaster(MasterHandles& masters) {
  if (StorageDriver* driver = DriverOf(masters.formatId))
    driver->closeMaster(masters);
  else
    StorageDriver().closeMaster(masters);
  masters.opened = false;
}

int ScanEntries(MasterHandles& masters, int formatId, DatafileEntry& entry, const std::string& symbol, int flags,
                const std::string& directory) {
  StorageDriver* driver = DriverOf(formatId);
  if (!driver || !masters.opened) return -1;
  return driver->scanEntries(masters, formatId, entry, symbol, flags, directory);
}

int FindEntry(const std::string& symbol, DatafileEntry& entry, int formatId, const std::string& directory,
              int flags) {
  MasterHandles masters;
  if (OpenMaster(masters, formatId, directory) != 0) return -1;
  int rc = ScanEntries(masters, formatId, entry, symbol, flags | kScanMatch, directory);
  CloseMaster(masters);
  return rc == 0 ? 0 : -1;
}

int AddEntry(const std::string& symbol, const std::string& name, char period, DatafileEntry& entry, int formatId,
             const std::string& directory) {
  if (!IsValidFormatId(formatId) || directory.empty()) return -1;
  entry = formatId == 8 ? TopVestEntryTemplate() : DefaultEntryTemplate();
  SetEntrySymbol(entry, symbol);
  SetEntryName(entry, name);
  entry.period = period;
  switch (AddKindOf(formatId)) {
    case AddKind::kUnsupported:
      return -1;
    case AddKind::kNameIsSymbol:
      entry.name = entry.symbol;
      return 0;
    case AddKind::kDriver:
      break;
  }
  StorageDriver* driver = DriverOf(formatId);
  return driver ? driver->addEntry(entry, formatId, directory) : -1;
}

int CreateEntry(const std::string& symbol, const std::string& name, std::uint16_t interval, DatafileEntry& entry,
                int formatId, const std::string& directory, DatafileSink* sink) {
  if (!IsValidFormatId(formatId) || directory.empty()) return -1;
  int check = CheckMaster(formatId, directory);
  if (check == 0) {
    // A master that is there but cannot be read is not replaced by a new one.
    MasterHandles masters;
    if (OpenMaster(masters, formatId, directory) != 0) {
      message("Cannot create entry in masterfile");
      return -1;
    }
    DatafileEntry found;
    int rc = ScanEntries(masters, formatId, found, symbol, kScanMatch, directory);
    CloseMaster(masters);
    if (rc == 0) {
      entry = found;
      return 0;
    }
  } else if (check != -2) {
    message("Cannot create entry in masterfile");
    return -1;
  }

  Date first = entry.firstDate;
  Datafile* datafile = entry.datafile;
  char period = entry.period;
  if (IsIntradayFormatId(formatId))
    period = 'I';
  else if (period != 'D' && period != 'W' && period != 'M')
    period = 'D';
  if (AddEntry(symbol, name, period, entry, formatId, directory) != 0) {
    message("Cannot create entry in masterfile");
    return -1;
  }
  entry.datafile = datafile;
  DatafileHandle handle;
  if (OpenDatafile(entry, handle, formatId, OpenMode::kCreate, directory) != 0) {
    message2("Cannot add datafile", entry.symbol);
    return -1;
  }
  entry.firstDate = first;
  entry.lastDate = first.addDays(-1);
  entry.interval = interval;
  entry.firstTime = Time(0, 0, 0);
  entry.lastTime = Time(0, 0, 0);
  int rc = FinalizeDirectory(entry, handle, formatId, directory, sink);
  handle.close();
  return rc == 0 ? 1 : -1;
}

int FinalizeDirectory(DatafileEntry& entry, DatafileHandle& handle, int formatId, const std::string& directory,
                      DatafileSink* sink) {
  return FinalizeDirectory(entry, handle, formatId, directory, sink, nullptr);
}

int FinalizeDirectory(DatafileEntry& entry, DatafileHandle& handle, int formatId, const std::string& directory,
                      DatafileSink* sink, MasterHandles* openMasters) {
  if (!IsValidFormatId(formatId)) return -1;
  if (directory.empty()) {
    message("finalize: Illegal directory");
    handle.close();
    return -1;
  }
  StorageDriver* driver = DriverOf(formatId);
  if (!driver) {
    handle.close();
    return -1;
  }
  int rc = openMasters ? driver->finalizeIn(*openMasters, entry, handle, formatId, directory)
                       : driver->finalize(entry, handle, formatId, directory);
  handle.close();
  if (rc == 0 && sink) sink->finalized(entry, PriceRecordCount(entry, formatId), IsIntradayFormatId(formatId));
  return rc;
}

int RenameEntry(const std::string& oldSymbol, const std::string& newSymbol, const std::string& newName,
                int formatId, const std::string& directory) {
  if (directory.empty()) return -1;
  switch (RenameKindOf(formatId)) {
    case RenameKind::kUnsupported:
      return -1;
    case RenameKind::kNotPossible:
      message("Can't rename data files for this format");
      return -1;
    case RenameKind::kFilePerSymbol:
      return RenameSymbolFile(oldSymbol, newSymbol, formatId, directory);
    case RenameKind::kDriver:
      break;
  }
  StorageDriver* driver = DriverOf(formatId);
  return driver ? driver->renameEntry(oldSymbol, newSymbol, newName, formatId, directory) : -1;
}

int DeleteEntry(const std::string& symbol, DatafileEntry& entry, int formatId, const std::string& directory) {
  if (directory.empty()) return -1;
  switch (RenameKindOf(formatId)) {
    case RenameKind::kUnsupported:
    case RenameKind::kNotPossible:  // these formats cannot delete an instrument
      return -1;
    case RenameKind::kFilePerSymbol:
      return DeleteSymbolFile(symbol, formatId, directory);
    case RenameKind::kDriver:
      break;
  }
  StorageDriver* driver = DriverOf(formatId);
  return driver ? driver->deleteEntry(symbol, entry, formatId, directory) : -1;
}

int SetEntryNameInMaster(const std::string& symbol, const std::string& name, int formatId,
                         const std::string& directory) {
  if (formatId != 4 || directory.empty()) return -1;
  StorageDriver* driver = DriverOf(formatId);
  return driver ? driver->setName(symbol, name, formatId, directory) : -1;
}

}  // namespace kvqt
