#include "formats/text_data_driver.h"

#include <fcntl.h>
#include <unistd.h>

#include <climits>
#include <vector>

#include "app/core/logs.h"
#include "formats/file_locator.h"
#include "formats/file_names.h"
#include "formats/text_line_codec.h"
#include "platform/emptied_file.h"
#include "platform/path.h"

namespace kvqt {
namespace {

constexpr std::size_t kStreamBuffer = 64 * 1024;

std::FILE* OpenStream(const std::string& path, int flags, unsigned permissions, const char* mode) {
  int fd = (flags & O_TRUNC) ? platform::OpenEmptied(path, flags, permissions)
                             : ::open(path.c_str(), flags | O_CLOEXEC, permissions);
  if (fd < 0) return nullptr;
  std::FILE* f = ::fdopen(fd, mode);
  if (!f) {
    ::close(fd);
    return nullptr;
  }
  return f;
}

bool OpenedForRewriting(std::FILE* f) {
  int flags = ::fcntl(::fileno(f), F_GETFL);
  return flags >= 0 && (flags & O_ACCMODE) == O_RDWR && (flags & O_APPEND) == 0;
}

}  // namespace

std::int32_t CountStreamLines(std::FILE* file) {
  if (!file) return 0;
  std::fflush(file);
  int fd = ::fileno(file);
  std::vector<char> buffer(kStreamBuffer);
  std::int64_t lines = 0;
  off_t at = 0;
  char last = '\n';
  for (;;) {
    ssize_t got = ::pread(fd, buffer.data(), buffer.size(), at);
    if (got <= 0) break;
    for (ssize_t i = 0; i < got; ++i)
      if (buffer[static_cast<std::size_t>(i)] == '\n') ++lines;
    last = buffer[static_cast<std::size_t>(got - 1)];
    at += got;
  }
  if (last != '\n') ++lines;
  return lines > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(lines);
}

int TextDataDriver::openDatafile(DatafileEntry& entry, DatafileHandle& handle, int formatId, OpenMode mode,
                                 const std::string& directory, unsigned permissions) {
  std::string name;
  if (BuildFileName(entry, name, formatId, directory) != 0) return -1;
  std::string path = LocatePath(name);
  std::FILE* f = nullptr;
  switch (mode) {
    case OpenMode::kCreate: {
      DirectoryChange change(directory);
      f = OpenStream(path, O_WRONLY | O_CREAT | O_TRUNC, permissions, "wb");
      if (f) change.created(platform::FileNamePart(path));
      break;
    }
    case OpenMode::kAppend: {
      debug2("open_datafile:", path);
      DirectoryChange change(directory);
      f = OpenStream(path, O_RDWR | O_CREAT | O_APPEND, permissions, "ab+");
      if (f) change.created(platform::FileNamePart(path));
      break;
    }
    case OpenMode::kUpdate:
    case OpenMode::kUpdateAtEnd:
      debug2("open_datafile:", path);
      f = OpenStream(path, O_RDWR, permissions, "rb+");
      if (f && std::fseek(f, 0, SEEK_END) != 0) {
        std::fclose(f);
        f = nullptr;
      }
      break;
    case OpenMode::kRead:
      f = std::fopen(path.c_str(), "rbe");
      break;
  }
  if (!f) return -1;
  std::setvbuf(f, nullptr, _IOFBF, kStreamBuffer);
  handle.text = f;
  return 0;
}

int TextDataDriver::positionAtRecord(DatafileEntry&, DatafileHandle& handle, int, std::int32_t n) {
  std::FILE* f = handle.text;
  if (!f) return -1;
  if (std::fflush(f) != 0 || std::fseek(f, 0, SEEK_SET) != 0) return -1;
  std::string line;
  for (std::int32_t i = 0; i < n && ReadTextLine(f, line) == 1; ++i) {
  }
  long at = std::ftell(f);
  if (at < 0 || std::fseek(f, at, SEEK_SET) != 0) return -1;
  if (OpenedForRewriting(f) && ::ftruncate(::fileno(f), at) != 0) return -1;
  return 0;
}

int TextDataDriver::readRecord(DatafileEntry&, DatafileHandle& handle, PriceRecord& record, int formatId,
                               const Format* format) {
  if (!handle.text) return -1;
  return ReadPriceLine(handle.text, TextLineLayoutFor(formatId, format), record);
}

int TextDataDriver::writeRecord(DatafileEntry& entry, DatafileHandle& handle, const PriceRecord& record,
                                int formatId, const Format* format) {
  if (!handle.text) return -1;
  if (WritePriceLine(handle.text, TextLineLayoutFor(formatId, format), record) != 0) return -1;
  // An unknown count is taken from the file, which now holds this line too.
  if (entry.recordCount < 0)
    entry.recordCount = CountStreamLines(handle.text);
  else
    ++entry.recordCount;
  bool withTime = formatId == 21;
  if (entry.firstDate.isNull() || entry.recordCount == 1) {
    entry.firstDate = record.date;
    if (withTime) entry.firstTime = record.time;
  }
  entry.lastDate = record.date;
  if (withTime) entry.lastTime = record.time;
  return 0;
}

}  // namespace kvqt
