#include "formats/merged_records.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <vector>

#include "app/core/messages.h"
#include "formats/driver_table.h"
#include "formats/file_locator.h"
#include "formats/storage_registry.h"
#include "platform/emptied_file.h"
#include "platform/path.h"

namespace kvqt {
namespace {

bool CopyWholeFile(const std::string& from, const std::string& to) {
  int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return false;
  int out = platform::OpenEmptied(to, O_WRONLY | O_CREAT, 0644);
  bool ok = out >= 0;
  constexpr std::size_t kBlock = 64 * 1024;  // below the allocator's threshold for a mapping of its own
  auto block = std::make_unique_for_overwrite<char[]>(kBlock);
  while (ok) {
    ssize_t got = ::read(in, block.get(), kBlock);
    if (got == 0) break;
    if (got < 0) {
      ok = errno == EINTR;
      continue;
    }
    for (ssize_t done = 0; ok && done < got;) {
      ssize_t put = ::write(out, block.get() + done, static_cast<std::size_t>(got - done));
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
                DatafileSink* sink, MasterHandles* masters) {
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
  return FinalizeDirectory(entry, handle, formatId, directory, sink, masters);
}

// Renames `from` to `to`, telling both directories' kept listings.
bool MoveFile(const std::string& from, const std::string& to) {
  DirectoryChange out(platform::DirectoryPart(from));
  DirectoryChange in(platform::DirectoryPart(to));
  if (std::rename(from.c_str(), to.c_str()) != 0) return false;
  out.removed(platform::FileNamePart(from));
  in.created(platform::FileNamePart(to));
  return true;
}

// Every other kind: the new file is made in the merge directory and renamed
// over the data file.
int StoreByRename(DatafileEntry& entry, const std::vector<PriceRecord>& records, std::size_t storedCount,
                  bool extendsStored, int formatId, const Format* format, const std::string& directory,
                  DatafileSink* sink, MergeWorkspace& workspace, MasterHandles* masters) {
  StorageDriver& driver = StorageDriverFor(StorageKindOf(formatId));
  const std::string target = driver.datafilePath(entry, formatId, directory);
  const std::string tempDirectory = target.empty() ? std::string() : workspace.use(directory);
  if (tempDirectory.empty()) {
    message2("Cannot open data file", entry.symbol);
    return -1;
  }
  DatafileEntry working = entry;
  DatafileHandle handle;
  std::string tempPath = driver.datafilePath(working, formatId, tempDirectory);
  struct stat old;
  bool exists = ::lstat(target.c_str(), &old) == 0;
  // A data file that is a link, symbolic or hard, is never written where it
  // is: that would write through the other name.
  const bool alone = exists && S_ISREG(old.st_mode) && old.st_nlink == 1;
  if (exists && S_ISLNK(old.st_mode)) exists = ::stat(target.c_str(), &old) == 0;
  // A data file without records and without a record limit reads as a
  // missing one does. Such a file is moved into the merge directory, written
  // there and moved back: no copy, no file made or removed, and no rename
  // onto an existing file, which makes the filesystem write the new file out
  // at once, at a cost per data file above that of a short history's records.
  const bool fillsEmpty = alone && !tempPath.empty() && storedCount == 0 && entry.ringSize == 0 &&
                          old.st_size <= EmptyDatafileSize(entry, formatId) && MoveFile(target, tempPath);
  std::size_t begin = 0;
  int opened = -1;
  auto copied = [&] {
    // The merge directory's kept listing learns each file made and moved
    // out, so that the next data file's lookup there needs no listing.
    DirectoryChange made(tempDirectory);
    if (!CopyWholeFile(target, tempPath)) return false;
    made.created(platform::FileNamePart(tempPath));
    return true;
  };
  if (!extendsStored) {
    opened = OpenDatafile(working, handle, formatId, OpenMode::kCreate, tempDirectory);
    ClearDates(working);
  } else if (!tempPath.empty() && (fillsEmpty || !exists || copied())) {
    TakeStoredDates(working, records, storedCount, formatId);
    opened = OpenDatafile(working, handle, formatId, OpenMode::kAppend, tempDirectory);
    begin = storedCount;
  }
  auto giveUp = [&](const char* text) {
    handle.close();
    // The empty data file moved out goes back as it was; a new file goes.
    const bool back = fillsEmpty && ::truncate(tempPath.c_str(), old.st_size) == 0 && MoveFile(tempPath, target);
    if (!back && !tempPath.empty()) {
      DirectoryChange gone(tempDirectory);
      if (std::remove(tempPath.c_str()) == 0) gone.removed(platform::FileNamePart(tempPath));
    }
    // Should that fail, a header alone holds what it held.
    if (fillsEmpty && !back) {
      DatafileEntry blank = entry;
      DatafileHandle restored;
      if (OpenDatafile(blank, restored, formatId, OpenMode::kCreate, directory) == 0)
        (void)driver.flushDatafile(blank, restored, formatId);
    }
    message2(text, entry.symbol);
    return -1;
  };
  if (opened != 0) return giveUp("Cannot open data file");
  tempPath = driver.datafilePath(working, formatId, tempDirectory);
  bool written = WriteFrom(working, handle, records, begin, formatId, format) &&
                 driver.flushDatafile(working, handle, formatId) == 0;
  if (written && exists && !fillsEmpty) (void)::chmod(tempPath.c_str(), old.st_mode & 07777);
  if (!written || !MoveFile(tempPath, target)) return giveUp("Cannot write data file");
  // The data file holds the new records now; the master follows.
  entry = working;
  return FinalizeDirectory(entry, handle, formatId, directory, sink, masters);
}

}  // namespace

const std::string& MergeWorkspace::use(const std::string& directory) {
  if (!path_.empty() && directory_ == directory) return path_;
  release();
  const std::string path = directory + kMergeDirectoryName + "/";
  DirectoryChange change(directory);
  if (::mkdir(path.c_str(), 0755) == 0) {
    change.subdirectoryChanged();
  } else {
    struct stat st;
    if (errno != EEXIST || ::stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return path_;
  }
  OwnDirectory(path);
  directory_ = directory;
  path_ = path;
  return path_;
}

void MergeWorkspace::release() {
  if (path_.empty()) return;
  ForgetDirectoryListing(path_);
  DirectoryChange change(directory_);
  if (::rmdir(path_.c_str()) == 0) change.subdirectoryChanged();
  directory_.clear();
  path_.clear();
}

int StoreMergedRecords(DatafileEntry& entry, const std::vector<PriceRecord>& records, std::size_t storedCount,
                       bool extendsStored, int formatId, const Format* format, const std::string& directory,
                       bool& full, DatafileSink* sink, MergeWorkspace* workspace, MasterHandles* masters) {
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
    return StoreInRing(entry, records, storedCount, extendsStored, formatId, format, directory, sink, masters);
  MergeWorkspace own;
  return StoreByRename(entry, records, storedCount, extendsStored, formatId, format, directory, sink,
                       workspace ? *workspace : own, masters);
}

}  // namespace kvqt
