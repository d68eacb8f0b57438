#include "connection.h"

#include <algorithm>

namespace kvqt::server {
namespace {

using Clock = std::chrono::steady_clock;

int MsUntil(Clock::time_point deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return static_cast<int>(std::clamp<long long>(left, 0, 100));
}

}  // namespace

Connection::Connection(platform::SocketHandle socket, long close_after) : socket_(socket), close_after_(close_after) {}

Connection::~Connection() { Close(); }

void Connection::Close() {
  platform::CloseSocket(socket_);
  socket_ = platform::kInvalidSocket;
}

bool Connection::Send(std::string_view bytes, std::chrono::milliseconds timeout) {
  if (socket_ == platform::kInvalidSocket) return false;
  bool cut_here = false;
  if (close_after_ >= 0 && sent_ + static_cast<long>(bytes.size()) >= close_after_) {
    bytes = bytes.substr(0, static_cast<std::size_t>(std::max(0L, close_after_ - sent_)));
    cut_here = true;
  }
  const Clock::time_point deadline = Clock::now() + timeout;
  std::size_t done = 0;
  while (done < bytes.size()) {
    int error = 0;
    std::size_t n = platform::SendSome(socket_, bytes.data() + done, bytes.size() - done, &error);
    done += n;
    sent_ += static_cast<long>(n);
    if (error != 0 && error != platform::kSocketWouldBlock) return false;
    if (done < bytes.size()) {
      if (Clock::now() >= deadline) return false;
      platform::PollResult poll;
      platform::PollSocket(socket_, MsUntil(deadline), false, true, &poll);
    }
  }
  if (cut_here) {
    cut_ = true;
    Close();
    return false;
  }
  return true;
}

Connection::Read Connection::Fill(Clock::time_point deadline) {
  while (buffer_.empty()) {
    if (socket_ == platform::kInvalidSocket || peer_closed_) return Read::kClosed;
    char chunk[4096];
    std::size_t received = 0;
    int error = 0;
    switch (platform::ReceiveSome(socket_, chunk, sizeof chunk, &received, &error)) {
      case platform::ReceiveStatus::kData:
        buffer_.append(chunk, received);
        return Read::kOk;
      case platform::ReceiveStatus::kPeerClosed:
      case platform::ReceiveStatus::kError:
        peer_closed_ = true;
        return Read::kClosed;
      case platform::ReceiveStatus::kNothingWaiting:
        break;
    }
    if (Clock::now() >= deadline) return Read::kTimedOut;
    platform::PollResult poll;
    platform::PollSocket(socket_, MsUntil(deadline), true, false, &poll);
  }
  return Read::kOk;
}

Connection::Read Connection::ReadByte(char* byte, std::chrono::milliseconds timeout) {
  Read r = Fill(Clock::now() + timeout);
  if (r != Read::kOk) return r;
  *byte = buffer_[0];
  buffer_.erase(0, 1);
  return Read::kOk;
}

Connection::Read Connection::ReadLine(std::string* line, std::size_t max, std::chrono::milliseconds timeout) {
  line->clear();
  const Clock::time_point deadline = Clock::now() + timeout;
  while (true) {
    Read r = Fill(deadline);
    if (r != Read::kOk) return r;
    std::size_t end = buffer_.find('\n');
    std::size_t take = end == std::string::npos ? buffer_.size() : end;
    if (line->size() + take > max + 1) return Read::kTooLong;  // room for a CR before the LF
    line->append(buffer_, 0, take);
    buffer_.erase(0, end == std::string::npos ? take : take + 1);
    if (end != std::string::npos) break;
  }
  if (!line->empty() && line->back() == '\r') line->pop_back();
  return line->size() > max ? Read::kTooLong : Read::kOk;
}

Connection::Read Connection::ReadBytes(std::string* out, std::size_t n, std::chrono::milliseconds timeout) {
  const Clock::time_point deadline = Clock::now() + timeout;
  while (n > 0) {
    Read r = Fill(deadline);
    if (r != Read::kOk) return r;
    std::size_t take = std::min(n, buffer_.size());
    out->append(buffer_, 0, take);
    buffer_.erase(0, take);
    n -= take;
  }
  return Read::kOk;
}

Connection::Read Connection::WaitUntilClosed(std::chrono::milliseconds timeout) {
  const Clock::time_point deadline = Clock::now() + timeout;
  while (true) {
    Read r = Fill(deadline);
    if (r != Read::kOk) return r;
    buffer_.clear();
  }
}

}  // namespace kvqt::server

