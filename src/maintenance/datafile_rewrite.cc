#include "maintenance/datafile_rewrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

#include "app/core/logs.h"
#include "formats/driver_table.h"
#include "formats/file_locator.h"
#include "formats/format_driver.h"
#include "formats/storage_registry.h"
#include "platform/path.h"

namespace kvqt {
namespace {

bool Rewritable(int formatId) {
  switch (StorageKindOf(formatId)) {
    case StorageKind::kRingBuffer:
    case StorageKind::kMetaStock:
    case StorageKind::kTextIndex:
    case StorageKind::kTextPlain:
    case StorageKind::kBinaryPerSymbol:
      return true;
    default:
      return false;
  }
}

bool Finite(const PriceRecord& r) {
  return std::isfinite(r.open) && std::isfinite(r.high) && std::isfinite(r.low) && std::isfinite(r.close) &&
         std::isfinite(r.volume);
}

// The existing data file, in whatever case it is spelled; a ring file may be
// named with its file type in decimal or in hexadecimal.
std::string TargetPath(const DatafileEntry& entry, int formatId, const std::string& directory) {
  std::string name;
  if (BuildFileName(entry, name, formatId, directory) != 0) return {};
  std::string path = LocatePath(name);
  if (StorageKindOf(formatId) == StorageKind::kRingBuffer && !platform::FileExists(path)) {
    std::string other;
    if (BuildFileName(entry, other, formatId == 0 ? 8 : 0, directory) == 0 &&
        platform::FileExists(LocatePath(other)))
      return LocatePath(other);
  }
  return path;
}

unsigned ModeOf(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return 0644;
  return static_cast<unsigned>(st.st_mode) & 0777;
}

bool SyncPath(const std::string& path, int flags) {
  int fd = ::open(path.c_str(), flags | O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}

// The one file the driver created in the temporary folder.
std::string OnlyFileIn(const std::string& folder) {
  std::error_code ec;
  std::string found;
  int files = 0;
  for (const auto& item : std::filesystem::directory_iterator(folder, ec)) {
    found = item.path().string();
    ++files;
  }
  return ec || files != 1 ? std::string() : found;
}

// A temporary folder inside the data directory, so the rename stays on one
// file system; removed with what is in it when the object goes.
class TemporaryFolder {
 public:
  explicit TemporaryFolder(const std::string& directory) {
    std::string pattern = directory + "kvqt-save-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (::mkdtemp(buffer.data())) path_ = std::string(buffer.data()) + "/";
  }
  ~TemporaryFolder() {
    if (path_.empty()) return;
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

int WriteNewFile(const Format* format, int formatId, const std::string& folder, const RecordArray& records,
                 const DatafileDates& dates, unsigned mode, DatafileEntry& entry, DatafileHandle& handle) {
  if (OpenDatafile(entry, handle, formatId, OpenMode::kCreate, folder, mode) != 0) return -1;
  entry.firstDate = dates.first;
  entry.firstTime = dates.firstTime;
  entry.lastDate = dates.last;
  entry.lastTime = dates.lastTime;
  for (const PriceRecord& r : records)
    if (WriteRecord(entry, handle, r, formatId, format) != 0) return -1;
  return 0;
}

}  // namespace

int RewriteDatafile(const Format* format, int formatId, const std::string& directory, const std::string& symbol,
                    const RecordArray& records, const DatafileDates& dates, DatafileEntry& written) {
  if (!Rewritable(formatId) || directory.empty()) return -1;
  for (const PriceRecord& r : records)
    if (!Finite(r)) return -1;
  DatafileEntry entry;
  if (FindEntry(symbol, entry, formatId, directory) != 0) return -1;
  const DatafileEntry old = entry;

  std::int32_t max = MaxRecords(formatId, entry);
  if (max >= 0 && records.count() > max - StorageDriverFor(StorageKindOf(formatId)).headerRecords(formatId))
    return -1;
  std::string target = TargetPath(entry, formatId, directory);
  if (target.empty()) return -1;

  DirectoryChange change(directory);
  int result = -1;
  {
    TemporaryFolder folder(directory);
    DatafileHandle handle;
    std::string fresh;
    bool masterWritten = false;
    if (!folder.path().empty() &&
        WriteNewFile(format, formatId, folder.path(), records, dates, ModeOf(target), entry, handle) == 0) {
      // The master is brought up to date while the new file is still aside;
      // should the rename fail, the old entry goes back.
      masterWritten = true;
      if (FinalizeDirectory(entry, handle, formatId, directory) == 0) {
        fresh = OnlyFileIn(folder.path());
        if (!fresh.empty() && SyncPath(fresh, O_RDONLY) && std::rename(fresh.c_str(), target.c_str()) == 0) {
          SyncPath(platform::DirectoryPart(target), O_RDONLY | O_DIRECTORY);
          result = 0;
        }
      }
    }
    handle.close();
    if (result != 0 && masterWritten) {
      DatafileEntry restore = old;
      DatafileHandle none;
      if (FinalizeDirectory(restore, none, formatId, directory) != 0)
        debug2("Cannot restore the master entry of", symbol);
    }
  }
  // The data file is there either way, old or new; the folder has gone.
  change.created(platform::FileNamePart(target));
  if (result == 0) written = entry;
  return result;
}

}  // namespace kvqt
