// The small line protocol of the download session over a TNetwork and the
// session's receive buffer: waiting for an expected text or one of two texts,
// reading a line or a number of bytes, writing with a time-out, and the
// one-byte acknowledgements of the file transfer. Every wait pumps the
// progress host's messages and ends at once when it is cancelled. With echo on,
// the bytes read go to the host's terminal output (the session transcript).
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

#include "service/network.h"
#include "service/pump_schedule.h"
#include "service/receive_buffer.h"

namespace kvqt {

class ProgressHost;

class LineProtocol {
 public:
  static constexpr char kAck = 6;
  static constexpr char kNak = 21;
  static constexpr NetworkTimeout kSendTimeout = std::chrono::seconds(60);
  static constexpr NetworkTimeout kAckTimeout = std::chrono::seconds(20);

  LineProtocol(TNetwork& network, ReceiveBuffer& buffer, ProgressHost& progress)
      : network_(network), buffer_(buffer), progress_(progress) {}

  // Receives into the free part of the buffer: the count received, 0 when
  // nothing was waiting or the buffer is full, -1 on a receive error.
  int FillBuffer();
  // True when the text arrived within the time-out. Bytes before it that
  // cannot start it are dropped; bytes after it stay in the buffer.
  bool ExpectText(std::string_view text, NetworkTimeout timeout, bool echo);
  // 1 or 2 for the text that arrived, 0 on time-out or cancel, -1 on a
  // receive error. Once the buffer holds as many bytes as the shorter text, a
  // text whose start is all the buffer holds counts as arrived.
  int ExpectOneOf(std::string_view text1, std::string_view text2, NetworkTimeout timeout, bool echo);
  // Reads up to a carriage return or line feed (consumed, not stored), at most
  // max bytes. Returns the bytes consumed, 0 when nothing arrived.
  std::size_t ReadLine(std::string* text, std::size_t max, NetworkTimeout timeout, bool echo);
  // Waits for count bytes and delivers what is there, at most count.
  std::size_t ReadBytes(char* out, std::size_t count, NetworkTimeout timeout);
  // Sends as much as possible within the time-out; the bytes sent.
  std::size_t WriteAll(const char* bytes, std::size_t length, NetworkTimeout timeout);
  std::size_t SendLine(std::string_view text, bool echo);
  // True when the next byte, arriving within 20 seconds, is an ACK.
  bool WaitAck();
  bool SendAck();
  bool SendNak();

  ReceiveBuffer& buffer() { return buffer_; }

 private:
  bool MatchText(std::string_view text, bool echo);
  int MatchOneOf(std::string_view text1, std::string_view text2, bool echo);
  void DropFirstByte(bool echo);
  void Echo(std::string_view text, bool echo);
  void PumpWhenDue() { pumps_.pumpWhenDue(progress_); }
  // Blocks until bytes can be read, the next pump is due or the time left
  // has passed; false when nothing came.
  bool WaitReadable(NetworkTimeout left) { return network_.WaitReadable(pumps_.sliceMs(left)); }

  TNetwork& network_;
  ReceiveBuffer& buffer_;
  ProgressHost& progress_;
  PumpSchedule pumps_;
};

}  // namespace kvqt
