#include "service/line_protocol.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "fake_progress_host.h"
#include "loopback_peer.h"

namespace kvqt {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;
using testing::FakeProgressHost;
using testing::LoopbackPeer;
using testing::PeerConnection;
using Clock = std::chrono::steady_clock;

long MsSince(Clock::time_point start) {
  return static_cast<long>(std::chrono::duration_cast<milliseconds>(Clock::now() - start).count());
}

// The client end of a connection to a scripted peer. The script's first bytes
// complete the connect.
class Client {
 public:
  explicit Client(LoopbackPeer::Script script) : peer_(std::move(script)), protocol_(network_, buffer_, host_) {
    int error = -1;
    connected_ = network_.Connect("127.0.0.1", peer_.port(), seconds(3), host_, &error);
  }
  ~Client() { network_.Close(); }

  bool connected() const { return connected_; }
  LineProtocol& protocol() { return protocol_; }
  FakeProgressHost& host() { return host_; }
  ReceiveBuffer& buffer() { return buffer_; }
  LoopbackPeer& peer() { return peer_; }

 private:
  LoopbackPeer peer_;
  TNetwork network_;
  ReceiveBuffer buffer_;
  FakeProgressHost host_;
  LineProtocol protocol_;
  bool connected_ = false;
};

// Sends the bytes and keeps the connection open until the client goes.
LoopbackPeer::Script Says(const std::string& bytes) {
  return [bytes](PeerConnection& c) {
    c.Send(bytes);
    c.WaitClosed(3000);
  };
}

TEST(LineProtocolTest, ExpectTextEchoesStrayBytesAndLeavesWhatFollowsInTheBuffer) {
  Client client(Says("xyWelcome back"));
  ASSERT_TRUE(client.connected());
  EXPECT_TRUE(client.protocol().ExpectText("Welcome", seconds(2), true));
  EXPECT_EQ(client.host().terminal, "xyWelcome");
  char rest[5];
  ASSERT_EQ(client.protocol().ReadBytes(rest, 5, seconds(2)), 5u);
  EXPECT_EQ(std::string(rest, 5), " back");
}

TEST(LineProtocolTest, ExpectTextWithoutEchoWritesNoTranscript) {
  Client client(Says("..Start upload"));
  ASSERT_TRUE(client.connected());
  EXPECT_TRUE(client.protocol().ExpectText("Start upload", seconds(2), false));
  EXPECT_EQ(client.host().terminal, "");
  EXPECT_EQ(client.buffer().count(), 0u);
}

TEST(LineProtocolTest, ExpectOneOfCases) {
  const struct {
    const char* sent;
    const char* text1;
    const char* text2;
    int result;
    const char* left;  // what stays in the buffer
  } cases[] = {
      {"Norvale\r\nWelcome\r\n", "Welcome", "no access", 1, "\r\n"},
      {"no access\r\n", "Welcome", "no access", 2, "\r\n"},
      {"no acce", "Welcome", "no access", 2, ""},  // decided on the first seven characters
      {"\r\nCredit:42 units\n", "Credit:", "Service denied", 1, "42 units\n"},
      {"\r\nService denied\r\n", "Credit:", "Service denied", 2, "\r\n"},
      {"Wel", "Welcome", "no access", 0, "Wel"},  // a start of a text waits for the rest
  };
  for (const auto& c : cases) {
    Client client(Says(c.sent));
    ASSERT_TRUE(client.connected());
    // Let everything arrive, so that the result does not depend on how the bytes were cut.
    std::string sent(c.sent);
    for (int i = 0; i < 100 && client.buffer().count() < sent.size(); ++i) {
      client.protocol().FillBuffer();
      std::this_thread::sleep_for(milliseconds(5));
    }
    EXPECT_EQ(client.protocol().ExpectOneOf(c.text1, c.text2, milliseconds(300), true), c.result) << c.sent;
    EXPECT_EQ(std::string(client.buffer().view()), c.left) << c.sent;
  }
}

TEST(LineProtocolTest, NoAccessIsRecognisedWithoutWaitingForTheRest) {
  Client client([](PeerConnection& c) {
    c.Send("no acce");
    c.WaitClosed(3000);
  });
  ASSERT_TRUE(client.connected());
  Clock::time_point start = Clock::now();
  EXPECT_EQ(client.protocol().ExpectOneOf("Welcome", "no access", seconds(5), true), 2);
  EXPECT_LT(MsSince(start), 1000);
  EXPECT_EQ(client.host().terminal, "no access");
}

TEST(LineProtocolTest, ExpectOneOfReportsAnEndedConnectionAtOnce) {
  Client client([](PeerConnection& c) { c.Send("Norvale "); });
  ASSERT_TRUE(client.connected());
  Clock::time_point start = Clock::now();
  EXPECT_EQ(client.protocol().ExpectOneOf("Welcome", "no access", seconds(5), true), -1);
  EXPECT_LT(MsSince(start), 1000);
  EXPECT_EQ(client.host().terminal, "Norvale ");
}

TEST(LineProtocolTest, ExpectTextTimesOutOnSilence) {
  Client client(Says("hi"));
  ASSERT_TRUE(client.connected());
  Clock::time_point start = Clock::now();
  EXPECT_FALSE(client.protocol().ExpectText("Ready for result", milliseconds(300), true));
  EXPECT_GE(MsSince(start), 300);
  EXPECT_LT(MsSince(start), 2000);
  EXPECT_EQ(client.host().terminal, "hi");
}

// Every wait blocks on the socket between pumps instead of spinning, and
// pumps about every 100 ms: the bound allows one pump per 100 ms elapsed and
// one at the start, whatever the machine's speed.
TEST(LineProtocolTest, WaitsPumpAboutEveryTenthOfASecond) {
  Client client([](PeerConnection& c) {
    std::this_thread::sleep_for(milliseconds(350));
    c.Send("Welcome");
    std::this_thread::sleep_for(milliseconds(350));
    c.Send("x\r\n");
    c.WaitClosed(3000);
  });
  ASSERT_TRUE(client.connected());
  const long connectPumps = client.host().pumps;
  Clock::time_point start = Clock::now();
  ASSERT_EQ(client.protocol().ExpectOneOf("Welcome", "no access", seconds(5), false), 1);
  std::string line;
  ASSERT_EQ(client.protocol().ReadLine(&line, 80, seconds(5), false), 2u);
  EXPECT_EQ(line, "x");
  const long pumps = client.host().pumps - connectPumps;
  EXPECT_GE(pumps, 2);
  EXPECT_LE(pumps, 2 + MsSince(start) / 100);
}

TEST(LineProtocolTest, CancelEndsEveryWaitAtOnce) {
  Client client(Says("hi"));
  ASSERT_TRUE(client.connected());
  ASSERT_TRUE(client.protocol().ExpectText("hi", seconds(2), false));
  client.host().on_pump = [](FakeProgressHost& h) {
    if (h.pumps >= 5) h.cancel();
  };
  Clock::time_point start = Clock::now();
  EXPECT_FALSE(client.protocol().ExpectText("Ready for result", seconds(10), true));
  EXPECT_EQ(client.protocol().ExpectOneOf("Welcome", "no access", seconds(10), true), 0);
  std::string line;
  EXPECT_EQ(client.protocol().ReadLine(&line, 80, seconds(10), true), 0u);
  char byte;
  EXPECT_EQ(client.protocol().ReadBytes(&byte, 1, seconds(10)), 0u);
  EXPECT_FALSE(client.protocol().WaitAck());
  EXPECT_LT(MsSince(start), 2000);
}

TEST(LineProtocolTest, ReadLineStopsAtTheMaximumLength) {
  Client client(Says(std::string(100, 'a')));
  ASSERT_TRUE(client.connected());
  std::string line;
  EXPECT_EQ(client.protocol().ReadLine(&line, 80, seconds(2), false), 80u);
  EXPECT_EQ(line, std::string(80, 'a'));
  EXPECT_EQ(client.protocol().ReadLine(&line, 80, milliseconds(300), false), 20u);
  EXPECT_EQ(line, std::string(20, 'a'));
}

TEST(LineProtocolTest, ReadLineEndsAtCarriageReturnOrLineFeed) {
  // A CR LF ends the line at the CR; the LF is read as the next, empty line.
  Client client(Says("name.zip\r\n1500\n"));
  ASSERT_TRUE(client.connected());
  std::string line;
  EXPECT_EQ(client.protocol().ReadLine(&line, 80, seconds(2), true), 9u);
  EXPECT_EQ(line, "name.zip");
  EXPECT_EQ(client.protocol().ReadLine(&line, 80, seconds(2), true), 1u);
  EXPECT_EQ(line, "");
  EXPECT_EQ(client.protocol().ReadLine(&line, 1024, seconds(2), true), 5u);
  EXPECT_EQ(line, "1500");
  EXPECT_EQ(client.host().terminal, "name.zip1500");
}

TEST(LineProtocolTest, ReadLineOnAnEndedConnectionReturnsWithoutWaitingForTheTimeOut) {
  Client client([](PeerConnection& c) { c.Send("partial"); });
  ASSERT_TRUE(client.connected());
  client.peer().Join();
  Clock::time_point start = Clock::now();
  std::string line;
  EXPECT_EQ(client.protocol().ReadLine(&line, 80, seconds(10), false), 7u);
  EXPECT_EQ(line, "partial");
  EXPECT_LT(MsSince(start), 2000);
}

TEST(LineProtocolTest, WaitAckAcceptsOnlyAnAck) {
  Client client(Says(std::string("x\x06\x15", 3)));
  ASSERT_TRUE(client.connected());
  EXPECT_FALSE(client.protocol().WaitAck());  // 'x'
  EXPECT_TRUE(client.protocol().WaitAck());
  EXPECT_FALSE(client.protocol().WaitAck());  // NAK
}

TEST(LineProtocolTest, SendLineAckAndNakArriveAsBytes) {
  std::string received;
  Client client([&received](PeerConnection& c) {
    c.Send("hi");
    received = c.Read(8);
  });
  ASSERT_TRUE(client.connected());
  EXPECT_EQ(client.protocol().SendLine("login\n", true), 6u);
  EXPECT_TRUE(client.protocol().SendAck());
  EXPECT_TRUE(client.protocol().SendNak());
  EXPECT_EQ(client.host().terminal, "login\n");
  client.peer().Join();
  EXPECT_EQ(received, std::string("login\n\x06\x15", 8));
}

// The upload of the request file as the session does it: the name and the
// size each acknowledged, then every full block and a partial last block.
TEST(LineProtocolTest, UploadIsAcknowledgedAfterNameSizeEveryFullBlockAndAPartialEnd) {
  const struct {
    std::size_t size;
    int acks;
  } cases[] = {{2048, 4}, {1500, 4}, {1024, 3}, {3000, 5}};
  for (const auto& c : cases) {
    std::string data(c.size, '\0');
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>('a' + i % 26);
    int acks_sent = 0;
    std::string name, size, body;
    Client client([&](PeerConnection& p) {
      p.Send("Start upload");
      name = p.ReadThrough('\n');
      p.Send("\x06"), ++acks_sent;
      size = p.ReadThrough('\n');
      p.Send("\x06"), ++acks_sent;
      long total = std::stol(size);
      while (static_cast<long>(body.size()) < total) {
        std::string block = p.Read(std::min<std::size_t>(1024, total - body.size()));
        if (block.empty()) return;
        body += block;
        if (body.size() % 1024 == 0 || static_cast<long>(body.size()) == total) p.Send("\x06"), ++acks_sent;
      }
    });
    ASSERT_TRUE(client.connected());
    LineProtocol& protocol = client.protocol();
    ASSERT_TRUE(protocol.ExpectText("Start upload", seconds(2), true));
    int acks_seen = 0;
    protocol.SendLine("query.dat", false);
    protocol.SendLine("\n", false);
    acks_seen += protocol.WaitAck();
    protocol.SendLine(std::to_string(c.size) + "\n", false);
    acks_seen += protocol.WaitAck();
    std::size_t sent = 0;
    while (sent < data.size()) {
      std::size_t n = std::min<std::size_t>(1024, data.size() - sent);
      sent += protocol.WriteAll(data.data() + sent, n, seconds(60));
      if (sent % 1024 == 0) acks_seen += protocol.WaitAck();
    }
    if (sent % 1024 != 0) acks_seen += protocol.WaitAck();
    client.protocol().buffer().clear();
    EXPECT_EQ(acks_seen, c.acks) << c.size;
    client.peer().Join();
    EXPECT_EQ(acks_sent, c.acks) << c.size;
    EXPECT_EQ(name, "query.dat\n");
    EXPECT_EQ(body, data);
  }
}

// The download of the result: the name follows "Ready for result" directly;
// the client acknowledges the name, the size, every full block and a partial end.
TEST(LineProtocolTest, DownloadIsAcknowledgedAfterNameSizeEveryFullBlockAndAPartialEnd) {
  const struct {
    std::size_t size;
    int acks;
  } cases[] = {{2048, 4}, {1500, 4}};
  for (const auto& c : cases) {
    std::string data(c.size, '\0');
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7);
    int acks_received = 0;
    bool extra_bytes = false;
    Client client([&](PeerConnection& p) {
      p.Send("Ready for resultresult.zip\n");
      acks_received += p.Read(1) == "\x06";
      p.Send(std::to_string(c.size) + "\n");
      acks_received += p.Read(1) == "\x06";
      std::size_t sent = 0;
      while (sent < data.size()) {
        std::size_t n = std::min<std::size_t>(1024, data.size() - sent);
        p.Send(data.substr(sent, n));
        sent += n;
        if (sent % 1024 == 0) acks_received += p.Read(1) == "\x06";
      }
      if (sent % 1024 != 0) acks_received += p.Read(1) == "\x06";
      extra_bytes = !p.Read(1, 200).empty();
    });
    ASSERT_TRUE(client.connected());
    LineProtocol& protocol = client.protocol();
    ASSERT_TRUE(protocol.ExpectText("Ready for result", seconds(2), true));
    std::string name, size;
    ASSERT_GT(protocol.ReadLine(&name, 80, seconds(2), false), 0u);
    EXPECT_EQ(name, "result.zip");
    protocol.SendAck();
    ASSERT_GT(protocol.ReadLine(&size, 1024, seconds(2), false), 0u);
    protocol.SendAck();
    std::string body;
    long total = std::stol(size);
    while (static_cast<long>(body.size()) < total) {
      char block[1024];
      std::size_t n = protocol.ReadBytes(block, std::min<std::size_t>(1024, total - body.size()), seconds(2));
      ASSERT_GT(n, 0u);
      body.append(block, n);
      if (body.size() % 1024 == 0) protocol.SendAck();
    }
    if (body.size() % 1024 != 0) protocol.SendAck();
    client.peer().Join();
    EXPECT_EQ(acks_received, c.acks) << c.size;
    EXPECT_FALSE(extra_bytes);
    EXPECT_EQ(body, data);
  }
}

}  // namespace
}  // namespace kvqt
