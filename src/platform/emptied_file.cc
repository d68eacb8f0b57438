#include "platform/emptied_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace kvqt::platform {

int OpenEmptied(const std::string& path, int flags, unsigned mode) {
  int fd = ::open(path.c_str(), (flags & ~O_TRUNC) | O_CLOEXEC, static_cast<mode_t>(mode));
  if (fd < 0) return -1;
  struct stat st;
  if (::fstat(fd, &st) != 0 || (st.st_size != 0 && ::ftruncate(fd, 0) != 0)) {
    const int saved = errno;
    ::close(fd);
    errno = saved;
    return -1;
  }
  return fd;
}

}  // namespace kvqt::platform
