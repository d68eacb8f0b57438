// The server's end of one session's connection: reads with time-outs through
// a small buffer, whole writes, and the fault of cutting the connection after
// a given number of bytes sent.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/socket.h"

namespace kvqt::server {

class Connection {
 public:
  // Takes over the socket; close_after: the bytes to send before cutting the
  // connection (negative: never).
  Connection(platform::SocketHandle socket, long close_after = -1);
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // Sends everything within the time-out; false when the connection failed,
  // timed out, or was cut on purpose (then the socket is already closed).
  bool Send(std::string_view bytes, std::chrono::milliseconds timeout);

  enum class Read { kOk, kTimedOut, kClosed, kTooLong };
  // A line up to LF (a CR before it is dropped), of at most max bytes.
  Read ReadLine(std::string* line, std::size_t max, std::chrono::milliseconds timeout);
  Read ReadByte(char* byte, std::chrono::milliseconds timeout);
  // Exactly n bytes, appended to *out.
  Read ReadBytes(std::string* out, std::size_t n, std::chrono::milliseconds timeout);
  // Waits until the client goes (or the time-out passes), dropping what it sends.
  Read WaitUntilClosed(std::chrono::milliseconds timeout);

  void Close();
  bool cut() const { return cut_; }
  long bytesSent() const { return sent_; }

 private:
  // Moves what has arrived into the buffer, waiting up to the deadline for
  // something; kOk when the buffer holds bytes.
  Read Fill(std::chrono::steady_clock::time_point deadline);

  platform::SocketHandle socket_;
  long close_after_;
  long sent_ = 0;
  bool cut_ = false;
  bool peer_closed_ = false;
  std::string buffer_;
};

}  // namespace kvqt::server
