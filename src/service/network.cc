#include "service/network.h"

#include <cctype>

#include "app/runner/progress_host.h"
#include "service/dialup.h"
#include "service/pump_schedule.h"
#include "service/socket_error_text.h"

namespace kvqt {
namespace {

using Clock = std::chrono::steady_clock;

bool LooksDotted(const std::string& host) {
  return !host.empty() && std::isdigit(static_cast<unsigned char>(host[0])) && host.find('.') != std::string::npos;
}

}  // namespace

TNetwork::TNetwork(Dialup* dialup) : dialup_(dialup != nullptr ? *dialup : ProcessDialup()), resolver_(platform::ResolveHost) {}

TNetwork::~TNetwork() { Release(); }

void TNetwork::Release() {
  platform::CloseSocket(socket_);
  socket_ = platform::kInvalidSocket;
  connected_ = false;
}

bool TNetwork::Connect(const std::string& host, int port, NetworkTimeout timeout, ProgressHost& progress,
                       int* error) {
  *error = 0;
  Release();
  broken_ = false;
  last_error_ = 0;
  if (port <= 0 || port > 65535) {
    *error = 10049;  // the Winsock code for an address that cannot be used
    return false;
  }

  platform::Ipv4Address address = 0;
  bool known = LooksDotted(host) && platform::ParseDottedAddress(host, &address);
  dialup_.AutoConnect();
  if (!known) {
    int code = resolver_(host, &address);
    if (code != 0) {
      *error = code;
      return false;
    }
  }

  int code = platform::OpenStreamSocket(&socket_);
  if (code != 0) {
    *error = code;
    return false;
  }
  code = platform::StartConnect(socket_, address, port);
  if (code == 0) {
    connected_ = true;
    return true;
  }
  if (code != platform::kSocketWouldBlock) {
    *error = code;
    Release();
    return false;
  }

  const Clock::time_point start = Clock::now();
  PumpSchedule pumps;
  // Until the connect completes the poll waits for writability (or a failure)
  // as well; from then on only for the greeting. Either way it blocks until
  // that comes or the next pump is due, instead of spinning.
  bool writable = false;
  while (true) {
    if (progress.cancelled() || Clock::now() - start >= timeout) break;
    pumps.pumpWhenDue(progress);
    if (progress.cancelled()) break;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(timeout - (Clock::now() - start));
    platform::PollResult poll;
    code = platform::PollSocket(socket_, pumps.sliceMs(left), true, !writable, &poll);
    if (code != 0) {
      *error = code;
      break;
    }
    if (poll.writable || poll.failed) {
      // A refused or unreachable connect shows as a pending error; waiting on
      // would only turn it into a time-out.
      code = platform::PendingSocketError(socket_);
      if (code != 0) {
        *error = code;
        break;
      }
    }
    writable = writable || poll.writable;
    if (poll.readable && writable) {
      connected_ = true;
      return true;
    }
  }
  Release();
  return false;
}

std::size_t TNetwork::Send(const char* bytes, std::size_t length) {
  if (socket_ == platform::kInvalidSocket) return 0;
  int code = 0;
  std::size_t sent = platform::SendSome(socket_, bytes, length, &code);
  if (code != 0 && code != platform::kSocketWouldBlock) {
    broken_ = true;
    last_error_ = code;
  }
  return sent;
}

long TNetwork::Receive(char* buffer, std::size_t size) {
  if (socket_ == platform::kInvalidSocket) {
    last_error_ = platform::kSocketNotConnected;
    return -1;
  }
  std::size_t received = 0;
  int code = 0;
  switch (platform::ReceiveSome(socket_, buffer, size, &received, &code)) {
    case platform::ReceiveStatus::kData:
      return static_cast<long>(received);
    case platform::ReceiveStatus::kNothingWaiting:
      return 0;
    case platform::ReceiveStatus::kPeerClosed:
      broken_ = true;
      last_error_ = platform::kSocketConnectionReset;
      return -1;
    case platform::ReceiveStatus::kError:
      break;
  }
  broken_ = true;
  last_error_ = code;
  return -1;
}

bool TNetwork::WaitReadable(int timeout_ms) {
  // A socket that is gone has nothing more to wait for: the receive tells.
  if (socket_ == platform::kInvalidSocket) return true;
  platform::PollResult poll;
  if (platform::PollSocket(socket_, timeout_ms < 0 ? 0 : timeout_ms, true, false, &poll) != 0) return true;
  return poll.readable || poll.failed;
}

void TNetwork::WaitWritable(int timeout_ms) {
  if (socket_ == platform::kInvalidSocket || timeout_ms <= 0) return;
  platform::PollResult poll;
  platform::PollSocket(socket_, timeout_ms, false, true, &poll);
}

void TNetwork::Close() {
  if (connected_) platform::ShutdownSending(socket_);
  Release();
  dialup_.HangUpIfDialled();
}

const char* TNetwork::ErrorText(int code) { return SocketErrorText(code); }

}  // namespace kvqt
