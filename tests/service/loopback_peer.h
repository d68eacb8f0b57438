// The other end of a test connection: a listener on 127.0.0.1 (a free port)
// whose script runs on its own thread against the first connection accepted.
// Every read is bounded by a time-out so a failing test cannot hang.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "platform/socket.h"

namespace kvqt::testing {

class PeerConnection {
 public:
  explicit PeerConnection(platform::SocketHandle socket) : socket_(socket) {}
  // Sends everything (bounded by two seconds); false when the connection failed.
  bool Send(const std::string& bytes);
  // Reads exactly n bytes, or less when the time-out passes or the peer closes.
  std::string Read(std::size_t n, int timeout_ms = 2000);
  // Reads up to and including the byte; what arrived when it did not come.
  std::string ReadThrough(char end, int timeout_ms = 2000);
  // Waits until the other side closes (or the time-out passes); true when it closed.
  bool WaitClosed(int timeout_ms = 2000);
  void Close();

 private:
  platform::SocketHandle socket_;
};

class LoopbackPeer {
 public:
  using Script = std::function<void(PeerConnection&)>;

  // With a script: accepts one connection (within five seconds) and runs it.
  // Without: only listens and never accepts.
  explicit LoopbackPeer(Script script = nullptr);
  ~LoopbackPeer();
  LoopbackPeer(const LoopbackPeer&) = delete;
  LoopbackPeer& operator=(const LoopbackPeer&) = delete;

  int port() const { return port_; }
  // Waits for the script to end.
  void Join();

 private:
  platform::SocketHandle listener_ = platform::kInvalidSocket;
  int port_ = 0;
  std::thread thread_;
};

// A port on 127.0.0.1 where nothing listens (bound once, then released).
int UnusedLoopbackPort();

}  // namespace kvqt::testing
