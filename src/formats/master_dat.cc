#include "formats/master_dat.h"

#include <sys/stat.h>

#include <limits>
#include <string_view>
#include <vector>

#include "app/core/messages.h"
#include "formats/file_locator.h"
#include "formats/master_dat_layout.h"
#include "platform/atomic_file.h"
#include "platform/path.h"

namespace kvqt::masterdat {
namespace {

constexpr std::int64_t kRecord = static_cast<std::int64_t>(kRecordSize);

int Corrupt(const std::string& path) {
  message2("Masterfile corrupt:", path);
  return -1;
}

std::string_view View(const unsigned char* bytes, std::size_t n) {
  return std::string_view(reinterpret_cast<const char*>(bytes), n);
}

// The whole file replaced by `bytes`; the old one stays until the new one is complete.
int Replace(const std::string& path, std::string_view bytes) {
  unsigned mode = 0644;
  struct stat st;
  if (::stat(path.c_str(), &st) == 0) mode = st.st_mode & 07777;
  DirectoryChange change(platform::DirectoryPart(path));
  if (!platform::WriteFileAtomically(path, bytes, mode)) {
    message2("Error opening masterfile", path);
    return -1;
  }
  change.created(platform::FileNamePart(path));
  return 0;
}

int CreateWith(DatafileEntry& entry, const std::string& directory) {
  unsigned char bytes[2 * kRecordSize];
  NewHeader(bytes);
  entry.masterOffset = static_cast<std::int32_t>(kRecord);
  NewRecord(entry, bytes + kRecordSize);
  return Replace(directory + kFileName, View(bytes, sizeof bytes));
}

// The record that holds the symbol (from record 1 on), or -1.
std::int64_t FindSymbol(BinaryFile& file, const std::string& symbol, std::int64_t records, std::int64_t* firstFree) {
  unsigned char record[kRecordSize];
  file.seek(kRecord);
  for (std::int64_t i = 1; i < records; ++i) {
    if (file.read(record, kRecordSize) != kRecord) break;
    if (firstFree && *firstFree < 0 && IsFree(record)) *firstFree = i;
    if (!IsFree(record) && HoldsSymbol(record, symbol)) return i;
  }
  return -1;
}

}  // namespace

int Open(BinaryFile& file, const std::string& directory, bool forWriting) {
  file.close();
  std::string path = FindExistingFile(directory, kFileName);
  if (path.empty()) return -2;
  int rc = file.openExisting(path, true);
  if (rc != 0 && !forWriting) rc = file.openExisting(path, false);
  if (rc != 0) {
    message2("Error opening masterfile", path);
    return -1;
  }
  unsigned char header[kRecordSize];
  if (file.size() < kRecord || file.readAt(0, header, kRecordSize) != kRecord || !IsHeader(header)) {
    file.close();
    return Corrupt(path);
  }
  return 0;
}

std::int64_t WholeRecords(BinaryFile& file) {
  std::int64_t size = file.size();
  return size < 0 ? 0 : size / kRecord;
}

int Add(DatafileEntry& entry, const std::string& directory) {
  BinaryFile file;
  int rc = Open(file, directory, true);
  if (rc == -2) return CreateWith(entry, directory);
  if (rc != 0) return -1;
  std::string path = file.path();
  std::int64_t size = file.size();
  if (size % kRecord != 0) {
    file.close();
    return Corrupt(path);
  }
  std::int64_t records = size / kRecord;
  std::int64_t firstFree = -1;
  std::int64_t index = FindSymbol(file, entry.symbol, records, &firstFree);
  if (index < 0) index = firstFree;
  unsigned char record[kRecordSize];
  if (index > 0) {
    entry.masterOffset = static_cast<std::int32_t>(index * kRecord);
    NewRecord(entry, record);
    bool ok = file.writeAt(index * kRecord, record, kRecordSize);
    ok = file.close() && ok;
    if (!ok) message2("Error writing masterfile", path);
    return ok ? 0 : -1;
  }
  // A new record at the end: the file is rewritten whole, so a failure never
  // leaves a part of a record behind.
  if (records + 1 > std::numeric_limits<std::int32_t>::max() / kRecord) {
    file.close();
    return -1;
  }
  std::vector<unsigned char> bytes(static_cast<std::size_t>(size + kRecord));
  bool ok = file.readAt(0, bytes.data(), static_cast<std::size_t>(size)) == size;
  file.close();
  if (!ok) return Corrupt(path);
  entry.masterOffset = static_cast<std::int32_t>(size);
  NewRecord(entry, bytes.data() + size);
  return Replace(path, View(bytes.data(), bytes.size()));
}

int WriteBackTo(BinaryFile& file, const DatafileEntry& entry) {
  std::int64_t records = WholeRecords(file);
  unsigned char record[kRecordSize];
  std::int64_t at = entry.masterOffset;
  bool atOffset = at >= kRecord && at % kRecord == 0 && at / kRecord < records &&
                  file.readAt(at, record, kRecordSize) == kRecord && !IsFree(record) &&
                  HoldsSymbol(record, entry.symbol);
  if (!atOffset) {
    std::int64_t index = FindSymbol(file, entry.symbol, records, nullptr);
    if (index < 0 || file.readAt(index * kRecord, record, kRecordSize) != kRecord) {
      message2("Ticker not found", entry.symbol);
      return -1;
    }
    at = index * kRecord;
  }
  FinalizeRecord(entry, record);
  if (file.writeAt(at, record, kRecordSize)) return 0;
  message2("Error writing masterfile", file.path());
  return -1;
}

int WriteBack(const DatafileEntry& entry, const std::string& directory) {
  BinaryFile file;
  int rc = Open(file, directory, true);
  if (rc == -2) message2("Error opening masterfile", directory + kFileName);
  if (rc != 0) return -1;
  const std::string path = file.path();
  if (WriteBackTo(file, entry) != 0) return -1;
  if (file.close()) return 0;
  message2("Error writing masterfile", path);
  return -1;
}

}  // namespace kvqt::masterdat
