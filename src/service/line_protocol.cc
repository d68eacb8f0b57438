#include "service/line_protocol.h"

#include <algorithm>

#include "app/runner/progress_host.h"

namespace kvqt {
namespace {

using Clock = std::chrono::steady_clock;

bool StartsWith(std::string_view bytes, std::string_view text, std::size_t n) {
  return bytes.substr(0, n) == text.substr(0, n);
}

class Deadline {
 public:
  explicit Deadline(NetworkTimeout timeout) : end_(Clock::now() + timeout) {}
  bool passed() const { return Clock::now() >= end_; }
  NetworkTimeout left() const {
    auto rest = std::chrono::duration_cast<NetworkTimeout>(end_ - Clock::now());
    return rest.count() > 0 ? rest : NetworkTimeout(0);
  }

 private:
  Clock::time_point end_;
};

}  // namespace

int LineProtocol::FillBuffer() {
  if (buffer_.full()) return 0;
  long n = network_.Receive(buffer_.freeSpace(), buffer_.freeSize());
  if (n > 0) buffer_.added(static_cast<std::size_t>(n));
  return n < 0 ? -1 : static_cast<int>(n);
}

void LineProtocol::Echo(std::string_view text, bool echo) {
  if (echo) progress_.terminalOutput(text);
}

void LineProtocol::DropFirstByte(bool echo) {
  if (echo) progress_.terminalOutput(buffer_.data()[0]);
  buffer_.consume(1);
  PumpWhenDue();
}

bool LineProtocol::MatchText(std::string_view text, bool echo) {
  const std::size_t length = text.size();
  if (length == 0) return true;
  while (buffer_.count() > 0) {
    std::string_view bytes = buffer_.view();
    if (bytes.size() >= length && StartsWith(bytes, text, length)) {
      Echo(text, echo);
      buffer_.consume(length);
      return true;
    }
    if (StartsWith(bytes, text, std::min(bytes.size(), length))) return false;  // wait for the rest
    DropFirstByte(echo);
  }
  return false;
}

int LineProtocol::MatchOneOf(std::string_view text1, std::string_view text2, bool echo) {
  while (buffer_.count() > 0) {
    std::string_view bytes = buffer_.view();
    const std::size_t count = bytes.size();
    const std::size_t n1 = std::min(count, text1.size());
    const std::size_t n2 = std::min(count, text2.size());
    if (count >= text1.size() || count >= text2.size()) {
      if (StartsWith(bytes, text1, n1)) {
        Echo(text1, echo);
        buffer_.consume(n1);
        return 1;
      }
      if (StartsWith(bytes, text2, n2)) {
        Echo(text2, echo);
        buffer_.consume(n2);
        return 2;
      }
    } else if (StartsWith(bytes, text1, n1) || StartsWith(bytes, text2, n2)) {
      return 0;  // wait for more
    }
    DropFirstByte(echo);
  }
  return 0;
}

// The waits pump first and then block in one poll until bytes come, so a
// receive is tried only when there is something to take.
bool LineProtocol::ExpectText(std::string_view text, NetworkTimeout timeout, bool echo) {
  Deadline deadline(timeout);
  while (!progress_.cancelled()) {
    if (MatchText(text, echo)) return true;
    PumpWhenDue();
    if (progress_.cancelled()) break;
    const int received = WaitReadable(deadline.left()) ? FillBuffer() : 0;
    if (received < 0 || deadline.passed()) return false;
  }
  return false;
}

int LineProtocol::ExpectOneOf(std::string_view text1, std::string_view text2, NetworkTimeout timeout, bool echo) {
  Deadline deadline(timeout);
  while (!progress_.cancelled()) {
    int matched = MatchOneOf(text1, text2, echo);
    if (matched != 0) return matched;
    PumpWhenDue();
    if (progress_.cancelled()) break;
    const int received = WaitReadable(deadline.left()) ? FillBuffer() : 0;
    if (received < 0) return -1;
    if (deadline.passed()) return 0;
  }
  return 0;
}

std::size_t LineProtocol::ReadBytes(char* out, std::size_t count, NetworkTimeout timeout) {
  Deadline deadline(timeout);
  while (buffer_.count() < count && !buffer_.full()) {
    PumpWhenDue();
    if (progress_.cancelled()) break;
    if (!WaitReadable(deadline.left())) {
      if (deadline.passed()) break;
      continue;
    }
    if (FillBuffer() < 0 || deadline.passed()) break;
  }
  std::size_t n = std::min(count, buffer_.count());
  std::copy_n(buffer_.data(), n, out);
  buffer_.consume(n);
  return n;
}

std::size_t LineProtocol::ReadLine(std::string* text, std::size_t max, NetworkTimeout timeout, bool echo) {
  text->clear();
  std::size_t consumed = 0;
  Deadline deadline(timeout);
  while (consumed < max && !deadline.passed() && !progress_.cancelled()) {
    char c = 0;
    if (ReadBytes(&c, 1, std::min<NetworkTimeout>(std::chrono::seconds(1), deadline.left())) == 0) {
      // Nothing more can come from a connection that has ended.
      if (network_.broken() && buffer_.count() == 0) break;
      continue;
    }
    ++consumed;
    if (c == '\r' || c == '\n') break;
    text->push_back(c);
    if (echo) progress_.terminalOutput(c);
  }
  return consumed;
}

std::size_t LineProtocol::WriteAll(const char* bytes, std::size_t length, NetworkTimeout timeout) {
  std::size_t sent = 0;
  Deadline deadline(timeout);
  while (!progress_.cancelled()) {
    sent += network_.Send(bytes + sent, length - sent);
    // A broken connection will not take the rest; do not wait for the time-out.
    if (sent >= length || deadline.passed() || network_.broken()) break;
    PumpWhenDue();
    network_.WaitWritable(pumps_.sliceMs(deadline.left()));
  }
  return sent;
}

std::size_t LineProtocol::SendLine(std::string_view text, bool echo) {
  Echo(text, echo);
  return WriteAll(text.data(), text.size(), kSendTimeout);
}

bool LineProtocol::WaitAck() {
  char c = 0;
  return ReadBytes(&c, 1, kAckTimeout) == 1 && c == kAck;
}

bool LineProtocol::SendAck() {
  const char ack = kAck;
  return WriteAll(&ack, 1, kSendTimeout) == 1;
}

bool LineProtocol::SendNak() {
  const char nak = kNak;
  return WriteAll(&nak, 1, kSendTimeout) == 1;
}

}  // namespace kvqt
