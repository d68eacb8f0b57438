#include "updater/tarnswap/window_endpoint.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace tarnswap {
namespace {

std::string RuntimeDirectory() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && runtime[0] == '/') {
    struct stat st;
    if (::stat(runtime, &st) == 0 && S_ISDIR(st.st_mode)) {
      std::string dir = runtime;
      if (dir.back() != '/') dir += '/';
      return dir;
    }
  }
  // The program creates this directory; Tarnswap only looks.
  return "/tmp/kvqt-" + std::to_string(::getuid()) + "/";
}

// -1 when no window: refused, missing or any other failure. A listener whose
// queue is full is there all the same.
int Connect(const std::string& title, bool& busy) {
  busy = false;
  const std::string path = EndpointPath(title);
  sockaddr_un address;
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof address.sun_path) return -1;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return -1;
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    busy = (errno == EAGAIN);
    ::close(fd);
    return -1;
  }
  return fd;
}

// The title and the hash of the current directory's real path.
std::string InstanceName(const std::string& title) {
  char real[PATH_MAX];
  std::string directory = ::getcwd(real, sizeof real) != nullptr ? real : "";
  while (directory.size() > 1 && directory.back() == '/') directory.pop_back();
  std::uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : directory) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  char digits[17];
  std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(hash));
  return title + " " + digits;
}

}  // namespace

std::string EndpointPath(const std::string& title) {
  std::string name = "kvqt-";
  for (char c : InstanceName(title)) {
    const unsigned char u = static_cast<unsigned char>(c);
    name.push_back(c == '/' || u < 0x20 || u == 0x7f ? '_' : c);
  }
  return RuntimeDirectory() + name + ".sock";
}

bool WindowFound(const std::string& title) {
  bool busy = false;
  int fd = Connect(title, busy);
  if (fd < 0) return busy;
  ::close(fd);
  return true;
}

void PostQuit(const std::string& title) {
  bool busy = false;
  int fd = Connect(title, busy);
  if (fd < 0) return;
  static const char kQuit[] = "quit\n";
  (void)!::send(fd, kQuit, sizeof kQuit - 1, MSG_NOSIGNAL);
  ::close(fd);
}

}  // namespace tarnswap
