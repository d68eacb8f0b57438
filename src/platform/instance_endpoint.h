// One running copy per program directory: a Unix-domain socket named after
// the main window's title and the program directory, in the user's runtime
// directory (two program directories are two installations that never share
// data). The first copy holds a lock
// beside it and listens; a later start connects and asks it to raise its
// window, and the release installer "finds the window" by connecting and asks
// it to quit. A refused (or missing) socket means no copy is running.
//
// The release installer has its own copy of the naming rule, since it links
// nothing of the program: keep both alike.
#pragma once

#include <string>

namespace kvqt::platform {

inline constexpr const char* kRaiseRequest = "raise";
inline constexpr const char* kQuitRequest = "quit";

// The endpoint's name for a program directory: the title, a blank, and 16 hex
// digits of the FNV-1a hash of the directory's real path (symbolic links
// resolved, no trailing separator), so every spelling of one directory gives
// one name and the name stays short enough for a socket.
std::string InstanceName(const std::string& title, const std::string& programDirectory);

// $XDG_RUNTIME_DIR/kvqt-<title>.sock, or /tmp/kvqt-<uid>/kvqt-<title>.sock
// when the runtime directory is not set (that directory is created private
// to the user). A '/' or control character in the title becomes '_'. Empty
// when no usable directory exists or the path is too long for a socket.
std::string InstanceSocketPath(const std::string& title);

class InstanceEndpoint {
 public:
  enum class Claim {
    Owner,         // this copy is the one: it listens now
    OtherRunning,  // another copy holds the endpoint
    Failed,        // no endpoint could be made (no runtime directory, ...)
  };

  InstanceEndpoint() = default;
  ~InstanceEndpoint() { close(); }
  InstanceEndpoint(const InstanceEndpoint&) = delete;
  InstanceEndpoint& operator=(const InstanceEndpoint&) = delete;

  Claim claim(const std::string& title);
  bool listening() const { return listen_fd_ >= 0; }
  // The listening socket, to watch for readability; -1 when not listening.
  int fd() const { return listen_fd_; }

  // Takes one waiting connection and reads its one-line request (without the
  // line end). False when no connection was waiting; a connection that sent
  // nothing (a mere look whether the program runs) gives an empty request.
  bool acceptRequest(std::string& request);

  // Stops listening, removes the socket and releases the lock.
  void close();

 private:
  int listen_fd_ = -1;
  int lock_fd_ = -1;
  std::string path_;
};

// Whether a copy with that title listens.
bool InstanceRunning(const std::string& title);
// Sends the one-line request; false when no copy listens.
bool SendInstanceRequest(const std::string& title, const std::string& request);

}  // namespace kvqt::platform
