// The connection to the download server: name look-up, a connect with
// time-out and cancel, non-blocking send and receive, close, and the texts of
// socket error codes. Runs on the GUI thread; its waits pump the window's
// messages through the progress host.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>

#include "platform/socket.h"

namespace kvqt {

class Dialup;
class ProgressHost;

// Time-outs of the network waits, measured on a monotonic clock.
using NetworkTimeout = std::chrono::milliseconds;

class TNetwork {
 public:
  // Looks a host name up; 0 with the address, or a Winsock code.
  using Resolver = std::function<int(const std::string& host, platform::Ipv4Address* address)>;

  // dialup: the dial-up state to use; nullptr for the process's.
  explicit TNetwork(Dialup* dialup = nullptr);
  ~TNetwork();
  TNetwork(const TNetwork&) = delete;
  TNetwork& operator=(const TNetwork&) = delete;

  // POSIX sockets need no library start-up, so this is always true; it stands
  // where the session checks that the socket library could be started.
  bool libraryStarted() const { return true; }

  // True when connected. *error is 0 when the attempt timed out or was
  // cancelled, otherwise the Winsock code of the failure. The connection
  // counts as made only once the server has sent its first bytes.
  bool Connect(const std::string& host, int port, NetworkTimeout timeout, ProgressHost& progress, int* error);
  // One send; the bytes accepted, 0 on any error (including a full send buffer).
  std::size_t Send(const char* bytes, std::size_t length);
  std::size_t SendText(const std::string& text) { return Send(text.data(), text.size()); }
  // One receive: the bytes received, 0 when none are waiting, -1 on an error.
  // A peer that has closed the connection counts as an error, so that waits
  // end at once instead of by time-out.
  long Receive(char* buffer, std::size_t size);
  // Waits up to timeout_ms for bytes to arrive (or the connection to end);
  // false when none came.
  bool WaitReadable(int timeout_ms);
  // Waits up to timeout_ms for room in the send buffer.
  void WaitWritable(int timeout_ms);
  // Shuts down and closes a connection, then hangs up a line dialled for it.
  void Close();

  static const char* ErrorText(int code);

  bool connected() const { return connected_; }
  // Set once the peer closed the connection or a send or receive failed.
  bool broken() const { return broken_; }
  // The Winsock code of the last failed send or receive (10054 for a peer that closed).
  int lastError() const { return last_error_; }

  // Name look-up to use instead of the system's (tests).
  void setResolver(Resolver resolver) { resolver_ = std::move(resolver); }

 private:
  void Release();

  Dialup& dialup_;
  platform::SocketHandle socket_ = platform::kInvalidSocket;
  bool connected_ = false;
  bool broken_ = false;
  int last_error_ = 0;
  Resolver resolver_;
};

}  // namespace kvqt
