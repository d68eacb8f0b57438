#include "service/session/file_transfer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "fake_progress_host.h"
#include "loopback_peer.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;
using testing::FakeProgressHost;
using testing::LoopbackPeer;
using testing::PeerConnection;
using testing::TempDir;

constexpr char kAck = 6;
constexpr char kNak = 21;

SessionTimeouts ShortTimeouts() {
  SessionTimeouts t;
  t.fileName = milliseconds(500);
  t.fileSize = milliseconds(500);
  t.ack = milliseconds(1500);
  t.block = milliseconds(500);
  t.send = seconds(2);
  return t;
}

// The client end of a connection to a scripted peer; the peer's first bytes
// complete the connect.
class Client {
 public:
  Client(LoopbackPeer::Script script, std::string directory)
      : peer_(std::move(script)),
        protocol_(network_, buffer_, host_),
        timeouts_(ShortTimeouts()),
        transfer_(protocol_, host_, timeouts_, std::move(directory)) {
    int error = -1;
    connected_ = network_.Connect("127.0.0.1", peer_.port(), seconds(3), host_, &error);
  }
  ~Client() { network_.Close(); }

  bool connected() const { return connected_; }
  LineProtocol& protocol() { return protocol_; }
  FakeProgressHost& host() { return host_; }
  FileTransfer& transfer() { return transfer_; }
  void Finish() {
    network_.Close();
    peer_.Join();
  }

 private:
  LoopbackPeer peer_;
  TNetwork network_;
  ReceiveBuffer buffer_;
  FakeProgressHost host_;
  LineProtocol protocol_;
  SessionTimeouts timeouts_;
  FileTransfer transfer_;
  bool connected_ = false;
};

std::string Pattern(std::size_t n) {
  std::string bytes(n, '\0');
  for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xff);
  return bytes;
}

TEST(FileTransferTest, ReceiveAcknowledgesNameSizeEveryFullBlockAndAPartialEnd) {
  const struct {
    std::size_t size;
    int acks;
  } cases[] = {
      {2048, 4},  // name, size, 1024, 2048; none at the end
      {1500, 4},  // name, size, 1024, the end
      {1024, 3},
      {1, 3},
      {3000, 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.size);
    TempDir dir;
    const std::string data = Pattern(c.size);
    std::string acks;
    Client client(
        [&](PeerConnection& peer) {
          peer.Send("result.zip\n");
          acks += peer.Read(1);
          peer.Send(std::to_string(c.size) + "\n");
          acks += peer.Read(1);
          for (std::size_t sent = 0; sent < data.size(); sent += 1024) {
            const std::string block = data.substr(sent, 1024);
            peer.Send(block);
            // The sender goes on only once the block is acknowledged.
            if (block.size() == 1024 || sent + block.size() == data.size()) acks += peer.Read(1);
          }
          acks += peer.Read(1, 300);  // nothing more may come
          peer.WaitClosed(3000);
        },
        dir.path());
    ASSERT_TRUE(client.connected());
    EXPECT_TRUE(client.transfer().ReceiveFile());
    client.Finish();
    EXPECT_EQ(acks, std::string(static_cast<std::size_t>(c.acks), kAck));
    EXPECT_EQ(dir.read("result.zip"), data);
    EXPECT_EQ(client.transfer().receivedName(), "result.zip");
    EXPECT_TRUE(client.host().errors.empty());
  }
}

// The percentage after each full block, as shown; each text only once.
std::vector<std::string> PercentTexts(const char* prefix, std::size_t size) {
  std::vector<std::string> texts;
  for (std::size_t total = 1024; total <= size; total += 1024) {
    char text[32];
    std::snprintf(text, sizeof text, "%s%.0f%%", prefix, static_cast<double>(total) * 100.0 / static_cast<double>(size));
    if (texts.empty() || texts.back() != text) texts.emplace_back(text);
  }
  return texts;
}

// A long transfer shows each percentage once, and the window's messages (and
// with them the single-instance endpoint) are looked at about every 100 ms,
// not once per block: at most one pump per 100 ms elapsed and one at the start.
TEST(FileTransferTest, ALongReceiveShowsEachPercentageOnceAndPumpsRarely) {
  TempDir dir;
  const std::string data = Pattern(400 * 1024 + 77);
  Client client(
      [&](PeerConnection& peer) {
        peer.Send("result.zip\n");
        peer.Read(1);
        peer.Send(std::to_string(data.size()) + "\n");
        peer.Read(1);
        for (std::size_t sent = 0; sent < data.size(); sent += 1024) {
          peer.Send(data.substr(sent, 1024));
          peer.Read(1);
        }
        peer.WaitClosed(3000);
      },
      dir.path());
  ASSERT_TRUE(client.connected());
  const long connectPumps = client.host().pumps;
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(client.transfer().ReceiveFile());
  const long elapsedMs = static_cast<long>(
      std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - start).count());
  client.Finish();
  EXPECT_EQ(dir.read("result.zip"), data);
  const std::vector<std::string> expected = PercentTexts("Received: ", data.size());
  EXPECT_EQ(expected.size(), 101u);  // 0 % to 100 %, each once
  EXPECT_EQ(client.host().statuses, expected);
  EXPECT_LE(client.host().pumps - connectPumps, 1 + elapsedMs / 100);
}

TEST(FileTransferTest, RefusedNamesAndSizesAreAnsweredWithNak) {
  const struct {
    const char* name_line;
    const char* size_line;
    const char* answers;  // what the client sends back
    const char* status;
  } cases[] = {
      {"../.profile\n", "10\n", "\x15", "Invalid file name"},
      {"../result.zip\n", "10\n", "\x15", "Invalid file name"},
      {"sub/result.zip\n", "10\n", "\x15", "Invalid file name"},
      {"/tmp/result.zip\n", "10\n", "\x15", "Invalid file name"},
      {"..\\result.zip\n", "10\n", "\x15", "Invalid file name"},
      {"res*.zip\n", "10\n", "\x15", "Invalid file name"},
      {"..\n", "10\n", "\x15", "Invalid file name"},
      {"\n", "10\n", "\x15", "No file name specified"},
      {"result.zip\n", "\n", "\x06\x15", "No file size specified"},
      {"result.zip\n", "-5\n", "\x06\x15", "Invalid file size specified"},
      {"result.zip\n", "0\n", "\x06\x15", "Invalid file size specified"},
      {"result.zip\n", "abc\n", "\x06\x15", "Invalid file size specified"},
      {"result.zip\n", "99999999999999999999\n", "\x06\x15", "Invalid file size specified"},
      {"result.zip\n", "2147483649\n", "\x06\x15", "Invalid file size specified"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name_line);
    SCOPED_TRACE(c.size_line);
    TempDir outer;
    const std::string dir = outer.path() + "work/";
    ASSERT_TRUE(std::filesystem::create_directory(dir));
    std::string answers;
    Client client(
        [&](PeerConnection& peer) {
          peer.Send(c.name_line);
          answers += peer.Read(1);
          if (answers == std::string(1, kAck)) {
            peer.Send(c.size_line);
            answers += peer.Read(1);
          }
          answers += peer.Read(1, 200);
          peer.WaitClosed(3000);
        },
        dir);
    ASSERT_TRUE(client.connected());
    EXPECT_FALSE(client.transfer().ReceiveFile());
    client.Finish();
    EXPECT_EQ(answers, c.answers);
    ASSERT_FALSE(client.host().statuses.empty());
    EXPECT_EQ(client.host().statuses.back(), c.status);
    // Nothing was written outside the working directory.
    EXPECT_FALSE(std::filesystem::exists(outer.path() + "result.zip"));
    EXPECT_FALSE(std::filesystem::exists(outer.path() + ".profile"));
    EXPECT_FALSE(std::filesystem::exists(dir + "sub"));
  }
}

TEST(FileTransferTest, NameThatCannotBeWrittenIsAnsweredWithNak) {
  TempDir dir;
  // A directory stands where the file would go.
  ASSERT_TRUE(std::filesystem::create_directory(dir.file("result.zip")));
  std::string answers;
  Client client(
      [&](PeerConnection& peer) {
        peer.Send("result.zip\n");
        answers += peer.Read(1);
        answers += peer.Read(1, 200);
        peer.WaitClosed(3000);
      },
      dir.path());
  ASSERT_TRUE(client.connected());
  EXPECT_FALSE(client.transfer().ReceiveFile());
  client.Finish();
  EXPECT_EQ(answers, std::string(1, kNak));
  EXPECT_EQ(client.host().statuses.back(), "Error opening result.zip for writing (21)");
}

TEST(FileTransferTest, NameThatNeverComesTimesOutWithNak) {
  TempDir dir;
  std::string answers;
  Client client(
      [&](PeerConnection& peer) {
        peer.Send("Ready for result");
        answers += peer.Read(1, 2000);
        peer.WaitClosed(3000);
      },
      dir.path());
  ASSERT_TRUE(client.connected());
  ASSERT_TRUE(client.protocol().ExpectText("Ready for result", seconds(2), false));
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(client.transfer().ReceiveFile());
  EXPECT_LT(std::chrono::steady_clock::now() - start, seconds(2));
  client.Finish();
  EXPECT_EQ(answers, std::string(1, kNak));
  EXPECT_EQ(client.host().statuses.back(), "Timeout while waiting for file name");
}

TEST(FileTransferTest, ConnectionCutMidwayFailsAndKeepsWhatArrived) {
  TempDir dir;
  const std::string data = Pattern(2048);
  Client client(
      [&](PeerConnection& peer) {
        peer.Send("result.zip\n");
        peer.Read(1);
        peer.Send("2048\n");
        peer.Read(1);
        peer.Send(data.substr(0, 1024));
        peer.Read(1);
        peer.Send(data.substr(1024, 500));
        peer.Close();
      },
      dir.path());
  ASSERT_TRUE(client.connected());
  EXPECT_FALSE(client.transfer().ReceiveFile());
  client.Finish();
  EXPECT_EQ(client.host().statuses.back(), "File transfer failed");
  EXPECT_EQ(dir.read("result.zip"), data.substr(0, 1524));
}

// The other side of an upload: reads the name and size lines and the bytes,
// answering each with the given byte (ACK unless told otherwise).
struct Receiver {
  std::string name_line;
  std::string size_line;
  std::string bytes;
  int answers = 0;
  int nak_at = 0;  // this answer is a NAK and the receiver stops

  bool Answer(PeerConnection& peer) {
    ++answers;
    if (answers == nak_at) {
      peer.Send(std::string(1, kNak));
      return false;
    }
    peer.Send(std::string(1, kAck));
    return true;
  }
  void Run(PeerConnection& peer) {
    peer.Send("Start upload");
    name_line = peer.ReadThrough('\n');
    if (!Answer(peer)) return;
    size_line = peer.ReadThrough('\n');
    if (!Answer(peer)) return;
    const std::size_t size = std::stoul(size_line);
    while (bytes.size() < size) {
      std::string block = peer.Read(std::min<std::size_t>(1024, size - bytes.size()));
      if (block.empty()) return;
      bytes += block;
      if (!Answer(peer)) return;
    }
    peer.WaitClosed(3000);
  }
};

TEST(FileTransferTest, SendWaitsForEachAcknowledgement) {
  for (std::size_t size : {std::size_t{2048}, std::size_t{1500}, std::size_t{10}}) {
    SCOPED_TRACE(size);
    TempDir dir;
    const std::string data = Pattern(size);
    dir.write("query.dat", data);
    Receiver receiver;
    Client client([&](PeerConnection& peer) { receiver.Run(peer); }, dir.path());
    ASSERT_TRUE(client.connected());
    ASSERT_TRUE(client.protocol().ExpectText("Start upload", seconds(2), false));
    EXPECT_TRUE(client.transfer().SendFile(dir.file("query.dat")));
    client.Finish();
    EXPECT_EQ(receiver.name_line, dir.file("query.dat") + "\n");
    EXPECT_EQ(receiver.size_line, std::to_string(size) + "\n");
    EXPECT_EQ(receiver.bytes, data);
    EXPECT_EQ(receiver.answers, 2 + static_cast<int>((size + 1023) / 1024));
  }
}

TEST(FileTransferTest, ALongSendShowsEachPercentageOnce) {
  TempDir dir;
  const std::string data = Pattern(250 * 1024);
  dir.write("query.dat", data);
  Receiver receiver;
  Client client([&](PeerConnection& peer) { receiver.Run(peer); }, dir.path());
  ASSERT_TRUE(client.connected());
  ASSERT_TRUE(client.protocol().ExpectText("Start upload", seconds(2), false));
  EXPECT_TRUE(client.transfer().SendFile(dir.file("query.dat")));
  client.Finish();
  EXPECT_EQ(receiver.bytes, data);
  EXPECT_EQ(client.host().statuses, PercentTexts("Sent: ", data.size()));
}

TEST(FileTransferTest, SendStopsAtANak) {
  for (int nak_at : {1, 2, 3, 4}) {
    SCOPED_TRACE(nak_at);
    TempDir dir;
    dir.write("query.dat", Pattern(2048));
    Receiver receiver;
    receiver.nak_at = nak_at;
    Client client([&](PeerConnection& peer) { receiver.Run(peer); }, dir.path());
    ASSERT_TRUE(client.connected());
    ASSERT_TRUE(client.protocol().ExpectText("Start upload", seconds(2), false));
    EXPECT_FALSE(client.transfer().SendFile(dir.file("query.dat")));
    client.Finish();
    EXPECT_EQ(receiver.answers, nak_at);
  }
}

TEST(FileTransferTest, SendOfAMissingFileSaysSo) {
  TempDir dir;
  Client client([](PeerConnection& peer) {
    peer.Send("Start upload");
    peer.WaitClosed(3000);
  }, dir.path());
  ASSERT_TRUE(client.connected());
  EXPECT_FALSE(client.transfer().SendFile("no-such-query.dat"));
  client.Finish();
  EXPECT_EQ(client.host().statuses.back(), "Unable to determine file size of no-such-query.dat");
}

}  // namespace
}  // namespace kvqt
