#include "loopback_peer.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

namespace kvqt::testing {
namespace {

using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point end) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

}  // namespace

bool PeerConnection::Send(const std::string& bytes) {
  std::size_t sent = 0;
  Clock::time_point end = Clock::now() + std::chrono::seconds(2);
  while (sent < bytes.size()) {
    int error = 0;
    sent += platform::SendSome(socket_, bytes.data() + sent, bytes.size() - sent, &error);
    if (error != 0 && error != platform::kSocketWouldBlock) return false;
    if (sent < bytes.size()) {
      if (MsLeft(end) == 0) return false;
      platform::PollResult poll;
      platform::PollSocket(socket_, 20, false, true, &poll);
    }
  }
  return true;
}

std::string PeerConnection::Read(std::size_t n, int timeout_ms) {
  std::string bytes;
  Clock::time_point end = Clock::now() + std::chrono::milliseconds(timeout_ms);
  while (bytes.size() < n) {
    char chunk[4096];
    std::size_t got = 0;
    int error = 0;
    std::size_t want = std::min(sizeof chunk, n - bytes.size());
    platform::ReceiveStatus status = platform::ReceiveSome(socket_, chunk, want, &got, &error);
    if (status == platform::ReceiveStatus::kData) {
      bytes.append(chunk, got);
      continue;
    }
    if (status != platform::ReceiveStatus::kNothingWaiting || MsLeft(end) == 0) break;
    platform::PollResult poll;
    platform::PollSocket(socket_, std::min(MsLeft(end), 20), true, false, &poll);
  }
  return bytes;
}

std::string PeerConnection::ReadThrough(char end_byte, int timeout_ms) {
  std::string bytes;
  Clock::time_point end = Clock::now() + std::chrono::milliseconds(timeout_ms);
  while (bytes.empty() || bytes.back() != end_byte) {
    std::string one = Read(1, MsLeft(end));
    if (one.empty()) break;
    bytes += one;
  }
  return bytes;
}

bool PeerConnection::WaitClosed(int timeout_ms) {
  Clock::time_point end = Clock::now() + std::chrono::milliseconds(timeout_ms);
  while (true) {
    char chunk[256];
    std::size_t got = 0;
    int error = 0;
    platform::ReceiveStatus status = platform::ReceiveSome(socket_, chunk, sizeof chunk, &got, &error);
    if (status == platform::ReceiveStatus::kPeerClosed || status == platform::ReceiveStatus::kError) return true;
    if (status == platform::ReceiveStatus::kNothingWaiting) {
      if (MsLeft(end) == 0) return false;
      platform::PollResult poll;
      platform::PollSocket(socket_, std::min(MsLeft(end), 20), true, false, &poll);
    }
  }
}

void PeerConnection::Close() {
  platform::CloseSocket(socket_);
  socket_ = platform::kInvalidSocket;
}

LoopbackPeer::LoopbackPeer(Script script) {
  if (platform::ListenTcp(platform::LoopbackAddress(), 0, &listener_, &port_) != 0) return;
  if (!script) return;
  thread_ = std::thread([this, script = std::move(script)] {
    platform::SocketHandle socket = platform::kInvalidSocket;
    if (platform::AcceptConnection(listener_, 5000, &socket) != 0) return;
    PeerConnection connection(socket);
    script(connection);
    connection.Close();
  });
}

LoopbackPeer::~LoopbackPeer() {
  Join();
  platform::CloseSocket(listener_);
}

void LoopbackPeer::Join() {
  if (thread_.joinable()) thread_.join();
}

int UnusedLoopbackPort() {
  platform::SocketHandle socket = platform::kInvalidSocket;
  int port = 0;
  if (platform::ListenTcp(platform::LoopbackAddress(), 0, &socket, &port) != 0) return 0;
  platform::CloseSocket(socket);
  return port;
}

}  // namespace kvqt::testing
