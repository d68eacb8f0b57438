#include "session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>

#include "platform/socket.h"
#include "protocol_client.h"
#include "server_thread.h"
#include "service/loopback_peer.h"
#include "small_store.h"
#include "support/temp_dir.h"
#include "zip_archive.h"

namespace kvqt::server {
namespace {

using kvqt::testing::ClientRun;
using kvqt::testing::ClientScript;
using kvqt::testing::RunClient;
using kvqt::testing::ServerThread;
using kvqt::testing::TempDir;
using kvqt::testing::TestOptions;

const char* const kQuery =
    "VERSION f3.2.4\r\n"
    "NEWKVQT f3.2.4\r\n"
    "REQUEST 3|17\r\nREQUEST 3|18\r\nREQUEST 3|23\r\nREQUEST 1|2\r\nFIREREQUEST\r\n"
    "CD /charts/daily\r\n"
    "ABC,20240111\r\n"
    "X.Y,0\r\n";

class SessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    store_ = kvqt::testing::MakeSmallStore(dir_.file("store.db"));
    ASSERT_NE(store_, nullptr);
  }

  TempDir dir_;
  std::unique_ptr<Store> store_;
};

std::string Member(const std::string& archive, const std::string& name) {
  std::vector<ZipMember> members;
  std::string error;
  if (ReadZip(archive, &members, &error) != 0) return "(no archive: " + error + ")";
  for (const ZipMember& m : members) {
    if (m.name == name) return m.data;
  }
  return "(no " + name + ")";
}

TEST_F(SessionTest, AWholeSessionDeliversTheAnsweredRequestAsAZip) {
  ServerThread server(*store_, TestOptions());
  ASSERT_TRUE(server.listening());
  ClientScript script;
  script.query = kQuery;
  ClientRun run = RunClient(server.port(), script);
  const SessionReport& report = server.Join();

  EXPECT_EQ(run.authorization, 1);
  EXPECT_EQ(run.credit_answer, 1);
  EXPECT_EQ(run.credit, "Unlimited");
  EXPECT_EQ(run.transcript,
            "Norvale group download server\r\nWelcome\r\nCredit:Unlimited\nStart upload"
            "Ready for result");
  EXPECT_EQ(run.upload_acks, 3);  // name, size and the one partial block
  ASSERT_TRUE(run.received);
  EXPECT_EQ(run.file_name, "result.zip");
  EXPECT_EQ(run.size_text, std::to_string(run.archive.size()));
  EXPECT_EQ(report.outcome, "sent");
  EXPECT_EQ(report.login, "demo0vqx");
  EXPECT_EQ(report.upload, kQuery);
  EXPECT_EQ(report.acks_received, run.acks_sent);
  EXPECT_EQ(run.archive, report.archive);

  EXPECT_EQ(Member(run.archive, "sksdat.dat"),
            "CD /charts/daily\r\n"
            "ABC,20240111,1011,17,18.5,16.5,17.5\r\n"
            "ABC,20240112,1012,18,19.5,17.5,18.5\r\n");
  std::string feed = Member(run.archive, "sintab.fd");
  EXPECT_EQ(static_cast<unsigned char>(feed[0]), 0xFF);
  EXPECT_EQ(Member(run.archive, "motd.txt"), "(no motd.txt)");

  // Each request line is logged with its answer.
  bool logged = false;
  for (const std::string& line : server.log()) logged |= line == "session 1: request \"ABC,20240111\": 2 lines";
  EXPECT_TRUE(logged);
}

TEST_F(SessionTest, TransfersAreAcknowledgedPerFullBlockAndOnceForAPartialEnd) {
  const struct {
    std::size_t query_size;
    int upload_acks;
  } cases[] = {{2048, 4}, {1500, 4}, {1024, 3}};
  for (const auto& c : cases) {
    ServerThread server(*store_, TestOptions());
    ClientScript script;
    script.query = std::string(c.query_size - 14, 'x') + "\r\nABC,20240112";
    ASSERT_EQ(script.query.size(), c.query_size);
    ClientRun run = RunClient(server.port(), script);
    const SessionReport& report = server.Join();
    EXPECT_EQ(run.upload_acks, c.upload_acks) << c.query_size;
    EXPECT_EQ(report.acks_sent, c.upload_acks) << c.query_size;
    EXPECT_TRUE(run.received) << c.query_size;
    long size = static_cast<long>(run.archive.size());
    EXPECT_EQ(run.acks_sent, 2 + size / 1024 + (size % 1024 != 0 ? 1 : 0)) << c.query_size;
    EXPECT_EQ(report.acks_received, run.acks_sent);
  }
}

TEST_F(SessionTest, LargeResultsAndTheMessageOfTheDayAndARelease) {
  ASSERT_EQ(store_->SetMotd("Line one\nLine two\n"), 0);
  std::string release;
  std::uint32_t x = 12345;
  for (int i = 0; i < 3000; ++i) {  // xorshift: bytes that do not compress
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    release.push_back(static_cast<char>(x >> 24));
  }
  ASSERT_EQ(store_->SetRelease({30205, release}), 0);
  ServerThread server(*store_, TestOptions());
  ClientScript script;
  script.query = "NEWKVQT f3.2.4\r\n";
  for (int i = 0; i < 400; ++i) script.query += "ABC,0\r\n";
  ClientRun run = RunClient(server.port(), script);
  server.Join();
  ASSERT_TRUE(run.received);
  EXPECT_GT(run.archive.size(), 2048u);
  EXPECT_EQ(Member(run.archive, "motd.txt"), "Line one\r\nLine two\r\n");
  EXPECT_EQ(Member(run.archive, "_kvqt.exe"), release);
  std::string sksdat = Member(run.archive, "sksdat.dat");
  EXPECT_EQ(std::count(sksdat.begin(), sksdat.end(), '\n'), 400 * 9);
}

TEST_F(SessionTest, BytesOnTheWireAreExactlyWhatTheClientReadingNeeds) {
  ServerThread server(*store_, TestOptions());
  platform::SocketHandle socket = platform::kInvalidSocket;
  ASSERT_EQ(platform::OpenStreamSocket(&socket), 0);
  int code = platform::StartConnect(socket, platform::LoopbackAddress(), server.port());
  ASSERT_TRUE(code == 0 || code == platform::kSocketWouldBlock);
  platform::PollResult poll;
  platform::PollSocket(socket, 2000, false, true, &poll);
  kvqt::testing::PeerConnection c(socket);
  EXPECT_EQ(c.Read(31), "Norvale group download server\r\n");
  c.Send("demo0vqx\n");
  c.Send("demopass\n");
  EXPECT_EQ(c.Read(39), "Welcome\r\nCredit:Unlimited\r\nStart upload");
  EXPECT_EQ(c.Read(1, 200), "");  // nothing after the prompt
  c.Send("query.dat\n");
  EXPECT_EQ(c.Read(1), "\x06");
  c.Send("14\n");
  EXPECT_EQ(c.Read(1), "\x06");
  c.Send("ABC,20240112\r\n");
  EXPECT_EQ(c.Read(1), "\x06");
  EXPECT_EQ(c.Read(27), "Ready for resultresult.zip\n");
  c.Send("\x06");
  std::string size = c.ReadThrough('\n');
  ASSERT_GE(size.size(), 2u);
  EXPECT_EQ(size.find('\r'), std::string::npos);  // a single LF
  long n = std::stol(size);
  c.Send("\x06");
  std::string zip = c.Read(n);
  EXPECT_EQ(c.Read(1, 200), "");  // waits for the last acknowledgement
  c.Send("\x06");
  EXPECT_TRUE(c.WaitClosed());
  EXPECT_EQ(Member(zip, "sksdat.dat"), "ABC,20240112,1012,18,19.5,17.5,18.5\r\n");
  EXPECT_EQ(server.Join().outcome, "sent");
}

TEST_F(SessionTest, WrongLoginsAndEndedSubscriptions) {
  const struct {
    const char* login;
    const char* password;
    int authorization;
    int credit_answer;
    const char* outcome;
  } cases[] = {
      {"demo0vqx", "wrongpwd", 2, -2, "no access"},
      {"nobodyxx", "demopass", 2, -2, "no access"},
      {"gone0vqx", "gonepass", 1, 2, "service denied"},
  };
  for (const auto& c : cases) {
    ServerThread server(*store_, TestOptions());
    ClientScript script;
    script.login = c.login;
    script.password = c.password;
    ClientRun run = RunClient(server.port(), script);
    EXPECT_EQ(run.authorization, c.authorization) << c.login;
    EXPECT_EQ(run.credit_answer, c.credit_answer) << c.login;
    EXPECT_EQ(server.Join().outcome, c.outcome) << c.login;
  }
}

TEST_F(SessionTest, BadUploadsAreRefusedWithANak) {
  const struct {
    const char* name;
    const char* size;
    int acks;
    const char* outcome;
  } cases[] = {
      {"", "10", 0, "empty upload name"},
      {"query.dat", "abc", 1, "bad upload size \"abc\""},
      {"query.dat", "-5", 1, "bad upload size \"-5\""},
      {"query.dat", "99999999", 1, "bad upload size \"99999999\""},
      {"query.dat", "123456789012345678901234", 1, "upload size too long"},
  };
  for (const auto& c : cases) {
    ServerThread server(*store_, TestOptions());
    ClientScript script;
    script.upload_name = c.name;
    script.upload_size = c.size;
    ClientRun run = RunClient(server.port(), script);
    EXPECT_EQ(run.upload_acks, c.acks) << c.size;
    EXPECT_FALSE(run.uploaded);
    EXPECT_EQ(server.Join().outcome, c.outcome) << c.size;
  }
}

TEST_F(SessionTest, SessionsFollowOneAnother) {
  ServerOptions options = TestOptions();
  options.sessions = 2;
  ServerThread server(*store_, options);
  ClientScript script;
  script.query = "ABC,20240112\r\n";
  EXPECT_TRUE(RunClient(server.port(), script).received);
  EXPECT_TRUE(RunClient(server.port(), script).received);
  EXPECT_EQ(server.Join().outcome, "sent");
}

// Each fault switch, as the client sees it and as the server reports it.
TEST_F(SessionTest, FaultSwitches) {
  struct Case {
    const char* what;
    void (*set)(Faults&);
    void (*check)(const ClientRun&);
    const char* outcome;
  };
  const Case cases[] = {
      {"refuse login", [](Faults& f) { f.refuse_login = true; },
       [](const ClientRun& r) { EXPECT_EQ(r.authorization, 2); }, "no access"},
      {"deny service", [](Faults& f) { f.deny_service = true; },
       [](const ClientRun& r) {
         EXPECT_EQ(r.authorization, 1);
         EXPECT_EQ(r.credit_answer, 2);
       },
       "service denied"},
      {"silent", [](Faults& f) { f.silent = true; },
       [](const ClientRun& r) {
         EXPECT_FALSE(r.connected);
         EXPECT_EQ(r.connect_error, 0);
       },
       "silent"},
      {"stall", [](Faults& f) { f.stall = true; },
       [](const ClientRun& r) {
         EXPECT_TRUE(r.uploaded);
         EXPECT_FALSE(r.result_ready);
       },
       "stalled"},
      {"cut in the greeting's wake", [](Faults& f) { f.close_after = 34; },
       [](const ClientRun& r) {
         EXPECT_EQ(r.authorization, -1);
         // The start of "Welcome" waits in the buffer for a rest that never comes.
         EXPECT_EQ(r.transcript, "Norvale group download server\r\n");
       },
       "credit not sent"},
      {"cut in the transfer", [](Faults& f) { f.close_after = 250; },
       [](const ClientRun& r) {
         EXPECT_TRUE(r.result_ready);
         EXPECT_FALSE(r.received);
         EXPECT_GT(r.archive.size(), 0u);
       },
       "cut in the transfer"},
      {"NAK for the upload's name", [](Faults& f) { f.nak_at = 1; },
       [](const ClientRun& r) {
         EXPECT_EQ(r.upload_acks, 0);
         EXPECT_FALSE(r.uploaded);
       },
       "upload refused"},
      {"NAK for the upload's block", [](Faults& f) { f.nak_at = 3; },
       [](const ClientRun& r) {
         EXPECT_EQ(r.upload_acks, 2);
         EXPECT_FALSE(r.uploaded);
       },
       "upload refused"},
      {"name with ..", [](Faults& f) { f.file_name = "../result.zip"; },
       [](const ClientRun& r) {
         EXPECT_EQ(r.file_name, "../result.zip");
         EXPECT_FALSE(r.received);
       },
       "NAK after the file name"},
      {"name with /", [](Faults& f) { f.file_name = "sub/result.zip"; },
       [](const ClientRun& r) { EXPECT_EQ(r.file_name, "sub/result.zip"); }, "NAK after the file name"},
      {"empty size", [](Faults& f) { f.file_size = ""; },
       [](const ClientRun& r) {
         EXPECT_EQ(r.file_name, "result.zip");
         EXPECT_EQ(r.size_text, "");
       },
       "NAK after the file size"},
      {"negative size", [](Faults& f) { f.file_size = "-1024"; },
       [](const ClientRun& r) { EXPECT_EQ(r.size_text, "-1024"); }, "NAK after the file size"},
      {"absurd size", [](Faults& f) { f.file_size = "99999999999999999999"; },
       [](const ClientRun& r) { EXPECT_EQ(r.size_text, "99999999999999999999"); }, "NAK after the file size"},
      {"corrupt zip", [](Faults& f) { f.corrupt_zip = true; },
       [](const ClientRun& r) {
         ASSERT_TRUE(r.received);
         std::vector<ZipMember> members;
         std::string error;
         EXPECT_EQ(ReadZip(r.archive, &members, &error), -1);
       },
       "sent"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ServerOptions options = TestOptions();
    c.set(options.faults);
    ServerThread server(*store_, options);
    ClientScript script;
    script.query = std::string(1200, ' ') + "\r\nREQUEST 3|23\r\nABC,0\r\n";
    script.connect_timeout = std::chrono::milliseconds(300);
    script.wait = std::chrono::milliseconds(500);
    const auto start = std::chrono::steady_clock::now();
    ClientRun run = RunClient(server.port(), script);
    c.check(run);
    EXPECT_EQ(server.Join().outcome, c.outcome);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
  }
}

TEST(PrintableTest, ControlBytesAndQuotesAreWrittenAsHex) {
  EXPECT_EQ(Printable("ABC,0"), "ABC,0");
  EXPECT_EQ(Printable(std::string("a\r\n\"\x06\xff", 6)), "a\\x0d\\x0a\\x22\\x06\\xff");
  EXPECT_EQ(Printable(std::string(200, 'x'), 5), "xxxxx...");
}

}  // namespace
}  // namespace kvqt::server
