#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/clock.h"

namespace kvqt::platform {

bool WriteFileAtomically(const std::string& path, std::string_view bytes, unsigned mode) {
  std::string temp = path + ".XXXXXX";
  int fd = ::mkstemp(temp.data());
  if (fd < 0) return false;
  bool ok = ::fchmod(fd, static_cast<mode_t>(mode)) == 0;
  for (std::size_t done = 0; ok && done < bytes.size();) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) ok = false;
    else done += static_cast<std::size_t>(n);
  }
  ok = ok && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  ok = ok && std::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

bool SetFileTimeNow(const std::string& path) {
  struct timespec times[2];
  times[0].tv_sec = times[1].tv_sec = Now();
  times[0].tv_nsec = times[1].tv_nsec = 0;
  return ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  bytes.clear();
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  char buffer[65536];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
  bool ok = !std::ferror(f);
  std::fclose(f);
  return ok;
}

}  // namespace kvqt::platform
