#include "formats/metastock_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "app/core/messages.h"
#include "formats/file_locator.h"
#include "platform/little_endian.h"
#include "platform/path.h"

namespace kvqt::metastock {
namespace {

bool WriteAll(int fd, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t w = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) return false;
    done += static_cast<std::size_t>(w);
  }
  return true;
}

}  // namespace

std::string DopText(bool intraday) {
  std::string text = "\"DATE\",0,0\r\n";
  if (intraday) text += "\"TIME\",0,0\r\n";
  text +=
      "\"OPEN\",3,0\r\n"
      "\"HIGH\",3,0\r\n"
      "\"LOW\",3,0\r\n"
      "\"CLOSE\",3,0\r\n"
      "\"VOL\",0,0\r\n"
      "\"OI\",0,0\r\n";
  return text;
}

std::string DopFileName(int fileNumber) {
  char name[32];
  std::snprintf(name, sizeof name, "f%d.DOP", fileNumber);
  return name;
}

bool WriteDopFile(const std::string& directory, int fileNumber, bool intraday) {
  std::string path = LocateFile(directory, DopFileName(fileNumber));
  DirectoryChange change(directory);
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  change.created(platform::FileNamePart(path));
  bool ok = WriteAll(fd, DopText(intraday));
  ok = ::close(fd) == 0 && ok;
  return ok;
}

int ReadDataHeader(DatafileEntry& entry, const std::string& path) {
  entry.ringSize = 0;
  entry.recordCount = 0;
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return 0;  // not written yet
  std::size_t size = static_cast<std::size_t>(entry.fields) * 4;
  unsigned char header[32] = {};
  std::size_t got = 0;
  while (got < size) {
    ssize_t r = ::read(fd, header + got, size - got);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) break;
    got += static_cast<std::size_t>(r);
  }
  ::close(fd);
  if (size < 4 || size > sizeof header || got < size) {
    messageFormat("Datafile corrupt: %.80s (%d)", entry.symbol.c_str(), static_cast<int>(entry.fileNumber));
    return -1;
  }
  entry.ringSize = platform::GetLe16(header);
  entry.recordCount = platform::GetLe16(header + 2);
  if (entry.recordCount == 0) entry.recordCount = 1;
  return 0;
}

bool CreateNewFile(const std::string& path, std::string_view bytes) {
  DirectoryChange change(platform::DirectoryPart(path));
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  change.created(platform::FileNamePart(path));
  bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  if (!ok) ::unlink(path.c_str());
  return ok;
}

bool WriteTempFile(const std::string& tempPath, std::string_view bytes, const std::string& modeFrom) {
  mode_t mode = 0644;
  struct stat st;
  if (::stat(modeFrom.c_str(), &st) == 0) mode = st.st_mode & 07777;
  int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
  if (fd < 0) return false;
  bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  if (!ok) ::unlink(tempPath.c_str());
  return ok;
}

bool RenameOver(const std::string& tempPath, const std::string& target) {
  if (std::rename(tempPath.c_str(), target.c_str()) == 0) return true;
  ::unlink(tempPath.c_str());
  return false;
}

}  // namespace kvqt::metastock
