#include "formats/merged_records.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "app/core/messages.h"
#include "formats/driver_table.h"
#include "formats/file_locator.h"
#include "formats/storage_registry.h"
#include "platform/path.h"

namespace kvqt {
namespace {

// The subdirectory, made for one rewrite and removed after it. One left
// behind by an interrupted run is used again.
class MergeDirectory {
 public:
  explicit MergeDirectory(const std::string& directory)
      : directory_(directory), path_(directory + kMergeDirectoryName + "/") {}
  ~MergeDirectory() {
    if (!made_) return;
    DirectoryChange change(directory_);
    if (::rmdir(path_.c_str()) == 0) change.subdirectoryChanged();
  }
  bool make() {
    DirectoryChange change(directory_);
    if (::mkdir(path_.c_str(), 0755) == 0) {
      change.subdirectoryChanged();
    } else {
      struct stat st;
      if (errno != EEXIST || ::stat(path_.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
    }
    made_ = true;
    return true;
  }
  const std::string& path() const { return path_; }

 private:
  std::string directory_;
  std::string path_;
  bool made_ = false;
};

bool CopyWholeFile(const std::string& from, const std::string& to) {
  int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return false;
  int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  bool ok = out >= 0;
  std::vector<char> block(256 * 1024);
  while (ok) {
    ssize_t got = ::read(in, block.data(), block.size());
    if (got == 0) break;
    if (got < 0) {
      ok = errno == EINTR;
      continue;
    }
    for (ssize_t done = 0; ok && done < got;) {
      ssize_t put = ::write(out, block.data() + done, static_cast<std::size_t>(got - done));
      if (put > 0) done += put;
      ok = put > 0 || (put < 0 && errno == EINTR);
    }
  }
  ::close(in);
  if (out >= 0 && ::close(out) != 0) ok = false;
  return ok;
}

void ClearDates(DatafileEntry& entry) {
  entry.firstDate = Date();
  entry.lastDate = Date();
  entry.firstTime = Time();
  entry.lastTime = Time();
}

// After the stored records that stay as they are: the entry's first record is
// the data file's first.
void TakeStoredDates(DatafileEntry& entry, const std::vector<PriceRecord>& records, std::size_t storedCount,
                     int formatId) {
  ClearDates(entry);
  if (storedCount == 0) return;
  entry.firstDate = records.front().date;
  if (IsIntradayFormatId(formatId)) entry.firstTime = records.front().time;
}

bool WriteFrom(DatafileEntry& entry, DatafileHandle& handle, const std::vector<PriceRecord>& records,
               std::size_t begin, int formatId, const Format* format) {
  for (std::size_t i = begin; i < records.size(); ++i)
    if (WriteRecord(entry, handle, records[i], formatId, format) != 0) return false;
  return true;
}

// Ring-buffer files in place: after the stored records when they stay, else
// into the slots after them, which the old master does not use. The master
// then switches to the new records in one write.
int StoreInRing(DatafileEntry& entry, const std::vector<PriceRecord>& records, std::size_t storedCount,
                bool extendsStored, int formatId, const Format* format, const std::string& directory,
                DatafileSink* sink) {
  DatafileEntry working = entry;
  DatafileHandle handle;
  if (OpenDatafile(working, handle, formatId, OpenMode::kUpdate, directory) != 0) {
    message2("Cannot open data file", entry.symbol);
    return -1;
  }
  std::size_t begin = 0;
  if (extendsStored) {
    TakeStoredDates(working, records, storedCount, formatId);
    begin = storedCount;
  } else {
    working.ringStart = (working.ringStart + working.recordCount) % working.ringSize;
    working.recordCount = 0;
    ClearDates(working);
  }
  if (!WriteFrom(working, handle, records, begin, formatId, format) ||
      StorageDriverFor(StorageKind::kRingBuffer).flushDatafile(working, handle, formatId) != 0) {
    handle.close();
    message2("Cannot write data file", entry.symbol);
    return -1;
  }
  entry = working;
  return FinalizeDirectory(entry, handle, formatId, directory, sink);
}

// Every other kind: the new file is made in the merge directory and renamed
// over the data file.
int StoreByRename(DatafileEntry& entry, const std::vector<PriceRecord>& records, std::size_t storedCount,
                  bool extendsStored, int formatId, const Format* format, const std::string& directory,
                  DatafileSink* sink) {
  StorageDriver& driver = StorageDriverFor(StorageKindOf(formatId));
  const std::string target = driver.datafilePath(entry, formatId, directory);
  MergeDirectory temp(directory);
  if (target.empty() || !temp.make()) {
    message2("Cannot open data file", entry.symbol);
    return -1;
  }
  DatafileEntry working = entry;
  DatafileHandle handle;
  std::string tempPath = driver.datafilePath(working, formatId, temp.path());
  struct stat old;
  const bool exists = ::stat(target.c_str(), &old) == 0;
  std::size_t begin = 0;
  int opened = -1;
  if (extendsStored && !tempPath.empty() && (!exists || CopyWholeFile(target, tempPath))) {
    TakeStoredDates(working, records, storedCount, formatId);
    opened = OpenDatafile(working, handle, formatId, OpenMode::kAppend, temp.path());
    begin = storedCount;
  } else if (!extendsStored) {
    opened = OpenDatafile(working, handle, formatId, OpenMode::kCreate, temp.path());
    ClearDates(working);
  }
  if (opened != 0) {
    if (!tempPath.empty()) std::remove(tempPath.c_str());
    message2("Cannot open data file", entry.symbol);
    return -1;
  }
  tempPath = driver.datafilePath(working, formatId, temp.path());
  bool written = WriteFrom(working, handle, records, begin, formatId, format) &&
                 driver.flushDatafile(working, handle, formatId) == 0;
  if (written && exists) (void)::chmod(tempPath.c_str(), old.st_mode & 07777);
  DirectoryChange change(directory);
  if (!written || std::rename(tempPath.c_str(), target.c_str()) != 0) {
    handle.close();
    std::remove(tempPath.c_str());
    message2("Cannot write data file", entry.symbol);
    return -1;
  }
  change.created(platform::FileNamePart(target));
  // The data file holds the new records now; the master follows.
  entry = working;
  return FinalizeDirectory(entry, handle, formatId, directory, sink);
}

}  // namespace

int StoreMergedRecords(DatafileEntry& entry, const std::vector<PriceRecord>& records, std::size_t storedCount,
                       bool extendsStored, int formatId, const Format* format, const std::string& directory,
                       bool& full, DatafileSink* sink) {
  if (!IsValidFormatId(formatId) || directory.empty()) return -1;
  const StorageKind kind = StorageKindOf(formatId);
  std::int32_t max = MaxRecords(formatId, entry);
  if (max >= 0) {
    std::int64_t capacity = max - StorageDriverFor(kind).headerRecords(formatId);
    if (static_cast<std::int64_t>(records.size()) > capacity) {
      full = true;
      message2("Warning: Data file full", entry.symbol);
      return 0;
    }
  }
  if (kind == StorageKind::kRingBuffer && entry.ringSize > 0 && entry.recordCount >= 0 &&
      entry.ringStart >= 0 && entry.ringStart < entry.ringSize &&
      (extendsStored || static_cast<std::int64_t>(entry.recordCount) + static_cast<std::int64_t>(records.size()) <=
                            entry.ringSize))
    return StoreInRing(entry, records, storedCount, extendsStored, formatId, format, directory, sink);
  return StoreByRename(entry, records, storedCount, extendsStored, formatId, format, directory, sink);
}

}  // namespace kvqt
