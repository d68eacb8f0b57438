#include "platform/instance_endpoint.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
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

namespace kvqt::platform {
namespace {

constexpr int kRequestWaitMs = 500;
constexpr std::size_t kMaxRequest = 64;

// A directory only this user can use: created when missing, refused when it
// is a link, someone else's, or open to others.
bool PrivateDirectory(const std::string& dir) {
  if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) return false;
  struct stat st;
  if (::lstat(dir.c_str(), &st) != 0) return false;
  return S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 077) == 0;
}

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
  std::string dir = "/tmp/kvqt-" + std::to_string(::getuid());
  if (!PrivateDirectory(dir)) return "";
  return dir + "/";
}

bool FillAddress(const std::string& path, sockaddr_un& address) {
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return true;
}

// A connected socket to the endpoint, or -1. Never blocks: with the
// listener's queue full, `busy` is set and -1 returned.
int Connect(const std::string& title, bool* busy = nullptr) {
  if (busy != nullptr) *busy = false;
  sockaddr_un address;
  if (!FillAddress(InstanceSocketPath(title), address)) return -1;
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return -1;
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    if (busy != nullptr) *busy = (errno == EAGAIN);
    ::close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

std::string InstanceName(const std::string& title, const std::string& programDirectory) {
  char real[PATH_MAX];
  std::string directory = ::realpath(programDirectory.c_str(), real) != nullptr ? real : programDirectory;
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

std::string InstanceSocketPath(const std::string& title) {
  std::string dir = RuntimeDirectory();
  if (dir.empty()) return "";
  std::string name = "kvqt-";
  for (char c : title) {
    const unsigned char u = static_cast<unsigned char>(c);
    name.push_back(c == '/' || u < 0x20 || u == 0x7f ? '_' : c);
  }
  std::string path = dir + name + ".sock";
  if (path.size() >= sizeof(sockaddr_un{}.sun_path)) return "";
  return path;
}

InstanceEndpoint::Claim InstanceEndpoint::claim(const std::string& title) {
  close();
  const std::string path = InstanceSocketPath(title);
  sockaddr_un address;
  if (!FillAddress(path, address)) return Claim::Failed;

  // The lock stands for the named mutex: the kernel releases it when the
  // process ends, however it ends, so a stale socket file never blocks a start.
  const std::string lock_path = path + ".lock";
  lock_fd_ = ::open(lock_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (lock_fd_ < 0) return Claim::Failed;
  if (::flock(lock_fd_, LOCK_EX | LOCK_NB) != 0) {
    const bool held = (errno == EWOULDBLOCK);
    ::close(lock_fd_);
    lock_fd_ = -1;
    return held ? Claim::OtherRunning : Claim::Failed;
  }

  ::unlink(path.c_str());
  listen_fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (listen_fd_ < 0 || ::bind(listen_fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listen_fd_, 16) != 0) {
    close();
    return Claim::Failed;
  }
  path_ = path;
  return Claim::Owner;
}

bool InstanceEndpoint::acceptRequest(std::string& request) {
  request.clear();
  if (listen_fd_ < 0) return false;
  int fd = ::accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
  if (fd < 0) return false;
  char buffer[kMaxRequest];
  std::size_t used = 0;
  while (used < sizeof buffer) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, kRequestWaitMs) <= 0) break;
    ssize_t n = ::read(fd, buffer + used, sizeof buffer - used);
    if (n <= 0) break;
    used += static_cast<std::size_t>(n);
    if (std::memchr(buffer, '\n', used) != nullptr) break;
  }
  ::close(fd);
  request.assign(buffer, used);
  const std::size_t end = request.find_first_of("\r\n");
  if (end != std::string::npos) request.resize(end);
  return true;
}

void InstanceEndpoint::close() {
  if (listen_fd_ >= 0) {
    ::close(listen_fd_);
    listen_fd_ = -1;
  }
  if (!path_.empty()) {
    ::unlink(path_.c_str());
    path_.clear();
  }
  if (lock_fd_ >= 0) {
    ::close(lock_fd_);
    lock_fd_ = -1;
  }
}

bool InstanceRunning(const std::string& title) {
  bool busy = false;
  int fd = Connect(title, &busy);
  if (fd < 0) return busy;
  ::close(fd);
  return true;
}

bool SendInstanceRequest(const std::string& title, const std::string& request) {
  int fd = Connect(title);
  if (fd < 0) return false;
  const std::string line = request + "\n";
  bool sent = ::send(fd, line.data(), line.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(line.size());
  ::close(fd);
  return sent;
}

}  // namespace kvqt::platform
