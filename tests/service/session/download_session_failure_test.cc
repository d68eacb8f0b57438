// Every way a download session stops with a message: the checks before the
// request, the connect, and each fault the reference server commits on
// purpose. None of them may change the chart databases.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "app/model/datafile.h"
#include "fake_internet_library.h"
#include "loopback_peer.h"
#include "service/dialup.h"
#include "service/network.h"
#include "service/session/download_session.h"
#include "session.h"
#include "session_fixture.h"

namespace kvqt {
namespace {

using testing::DownloadSessionFixture;
using testing::kMetaStockId;
using testing::Snapshot;

constexpr int kHostNotFound = 11001;

class DownloadSessionFailureTest : public DownloadSessionFixture {
 protected:
  // Runs the session and expects it to stop with the one error and code.
  void ExpectStop(const std::string& message, int code) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Run(), code);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
    ASSERT_EQ(Errors().size(), 1u);
    EXPECT_EQ(Errors().front(), message);
    // Whatever connection there was is closed.
    if (action.network) {
      EXPECT_FALSE(action.network->connected());
    }
  }
};

TEST_F(DownloadSessionFailureTest, ChecksBeforeTheRequest) {
  const struct {
    const char* what;
    void (*change)(ActionInfo&, UserInfo&, LoginRecord&);
    const char* message;
  } cases[] = {
      {"list kind without a list", [](ActionInfo& a, UserInfo&, LoginRecord&) { a.kind = 1; },
       "No list selected"},
      {"directory kind without a directory",
       [](ActionInfo& a, UserInfo&, LoginRecord&) { a.sourceDirectory = nullptr; }, "No directory selected"},
      {"symbol kind without a data file", [](ActionInfo& a, UserInfo&, LoginRecord&) { a.kind = 2; },
       "No symbol selected"},
      {"dial-up without a telephone number",
       [](ActionInfo&, UserInfo& u, LoginRecord&) {
         u.connection = 2;
         u.telno1.clear();
       },
       "Choose configure to enter telephone number"},
      {"no login", [](ActionInfo&, UserInfo&, LoginRecord& l) { l.userNumber.clear(); },
       "Choose configure to enter a login"},
      {"short login", [](ActionInfo&, UserInfo&, LoginRecord& l) { l.userNumber = "demo0vq"; },
       "Login too short: demo0vq"},
      {"login of another kind", [](ActionInfo&, UserInfo&, LoginRecord& l) { l.userNumber = "12345678"; },
       "Invalid login/user number"},
      {"no password", [](ActionInfo&, UserInfo&, LoginRecord& l) { l.password.clear(); },
       "Choose configure to enter a password"},
      {"short password", [](ActionInfo&, UserInfo&, LoginRecord& l) { l.password = "demo"; }, "Password too short"},
  };
  ChartDirectory(kMetaStockId, {"ABC"});
  const ActionInfo prepared = action;
  const UserInfo preparedUser = userInfo;
  const LoginRecord preparedLogin = login;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    action = prepared;
    userInfo = preparedUser;
    login = preparedLogin;
    c.change(action, userInfo, login);
    ExpectStop(c.message, kStepErrorShown);
    EXPECT_FALSE(action.network);  // no connection was tried
    EXPECT_FALSE(std::filesystem::exists(programDir + "query.dat"));
  }
}

TEST_F(DownloadSessionFailureTest, FilesOfAnEarlierSessionAreDeletedFirst) {
  ChartDirectory(kMetaStockId, {"ABC"});
  for (const char* name : {"query.dat", "sksdat.dat", "result.zip", "motd.txt"}) {
    testing::WriteFileBytes(programDir + name, "left over");
  }
  login.password = "short";
  ExpectStop("Password too short", kStepErrorShown);
  for (const char* name : {"query.dat", "sksdat.dat", "result.zip", "motd.txt"}) {
    EXPECT_FALSE(std::filesystem::exists(programDir + name)) << name;
  }
}

TEST_F(DownloadSessionFailureTest, ConnectFailures) {
  ChartDirectory(kMetaStockId, {"ABC"});
  options->resolver = [](const std::string& host, platform::Ipv4Address* address) {
    if (host == "localhost") {
      *address = 0x7f000001;
      return 0;
    }
    return kHostNotFound;
  };
  const int unused = testing::UnusedLoopbackPort();
  const struct {
    std::string destination;
    std::string message;
  } cases[] = {
      {"", "Download server not found"},
      {"quotes.invalid 2000", "quotes.invalid not found"},
      {"127.0.0.1 " + std::to_string(unused), "Unable to connect (10061 Connection refused)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.destination);
    userInfo.NetworkDestination = c.destination;
    ExpectStop(c.message, kStepErrorShown);
  }
}

TEST_F(DownloadSessionFailureTest, FailedConnectHangsUpTheLineItDialled) {
  ChartDirectory(kMetaStockId, {"ABC"});
  std::vector<std::string> log;
  testing::FakeInternetLibrary library(&log);
  library.online = false;
  Dialup dialup(library);
  options->dialup = &dialup;
  userInfo.NetworkDestination = "127.0.0.1 " + std::to_string(testing::UnusedLoopbackPort());
  ExpectStop("Unable to connect (10061 Connection refused)", kStepErrorShown);
  const auto dialled = std::find(log.begin(), log.end(), "autodial");
  ASSERT_NE(dialled, log.end());
  EXPECT_NE(std::find(dialled, log.end(), "hangup"), log.end());
  EXPECT_FALSE(library.online);
}

TEST_F(DownloadSessionFailureTest, SilentServerTimesOutTheConnect) {
  ChartDirectory(kMetaStockId, {"ABC"});
  const auto before = Snapshot(chartDir);
  server::Faults faults;
  faults.silent = true;
  StartServer(faults);
  options->timeouts.connect = std::chrono::milliseconds(300);
  ExpectStop("Connection timed out", kStepErrorShown);
  EXPECT_EQ(Snapshot(chartDir), before);
}

TEST_F(DownloadSessionFailureTest, CancelDuringTheConnect) {
  ChartDirectory(kMetaStockId, {"ABC"});
  server::Faults faults;
  faults.silent = true;
  StartServer(faults);
  progress = std::make_unique<HeadlessProgress>();
  // The connect pumps every 100 ms or so; the silent server hangs up after a
  // second, which would complete the connect.
  int pumps = 0;
  progress->setIdle([&](HeadlessProgress& host) {
    if (++pumps == 4) host.cancel();
  });
  EXPECT_EQ(progress->run(DownloadSession, action, kDownloadSessionSteps), kStepErrorShown);
  ASSERT_EQ(progress->errors().size(), 1u);
  EXPECT_EQ(progress->errors().front(), "Connection cancelled");
}

TEST_F(DownloadSessionFailureTest, CancelWhileWaitingForTheResultShowsTheWaitsMessage) {
  ChartDirectory(kMetaStockId, {"ABC"});
  const auto before = Snapshot(chartDir);
  server::Faults faults;
  faults.stall = true;
  StartServer(faults);
  options->timeouts.result = std::chrono::seconds(30);
  progress = std::make_unique<HeadlessProgress>();
  progress->setIdle([](HeadlessProgress& host) {
    const auto& lines = host.statusLines();
    if (!lines.empty() && lines.back() == "Creating datafile\nCredit: Unlimited") host.cancel();
  });
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(progress->run(DownloadSession, action, kDownloadSessionSteps), kStepErrorShown);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  ASSERT_EQ(progress->errors().size(), 1u);
  EXPECT_EQ(progress->errors().front(), "Timeout while waiting for result");
  ASSERT_TRUE(action.network);
  EXPECT_FALSE(action.network->connected());
  EXPECT_EQ(Snapshot(chartDir), before);
}

struct ServerFault {
  const char* what;
  server::Faults faults;
  const char* password;
  const char* message;
  int code;
  const char* status;  // shown before the message, when not null
};

std::vector<ServerFault> ServerFaults() {
  auto with = [](auto set) {
    server::Faults f;
    set(f);
    return f;
  };
  return {
      {"wrong password", {}, "wrongpwd", "Login-id or password incorrect", kStepErrorShown, nullptr},
      {"login refused", with([](server::Faults& f) { f.refuse_login = true; }), "demopass",
       "Login-id or password incorrect", kStepErrorShown, nullptr},
      {"service denied", with([](server::Faults& f) { f.deny_service = true; }), "demopass",
       "Service not available", kStepErrorShown, nullptr},
      {"result never ready", with([](server::Faults& f) { f.stall = true; }), "demopass",
       "Timeout while waiting for result", kStepErrorShown, nullptr},
      {"NAK for the request's name", with([](server::Faults& f) { f.nak_at = 1; }), "demopass",
       "Sending definition file failed", kSessionTransferFailed, nullptr},
      {"NAK for the request's size", with([](server::Faults& f) { f.nak_at = 2; }), "demopass",
       "Sending definition file failed", kSessionTransferFailed, nullptr},
      {"NAK for the request's bytes", with([](server::Faults& f) { f.nak_at = 3; }), "demopass",
       "Sending definition file failed", kSessionTransferFailed, nullptr},
      {"result named outside the directory", with([](server::Faults& f) { f.file_name = "../result.zip"; }),
       "demopass", "Receiving datafile failed", kSessionTransferFailed, "Invalid file name"},
      {"result named in a subdirectory", with([](server::Faults& f) { f.file_name = "sub/result.zip"; }),
       "demopass", "Receiving datafile failed", kSessionTransferFailed, "Invalid file name"},
      {"result named with a backslash", with([](server::Faults& f) { f.file_name = "..\\result.zip"; }),
       "demopass", "Receiving datafile failed", kSessionTransferFailed, "Invalid file name"},
      {"negative size", with([](server::Faults& f) { f.file_size = "-5"; }), "demopass",
       "Receiving datafile failed", kSessionTransferFailed, "Invalid file size specified"},
      {"no size", with([](server::Faults& f) { f.file_size = ""; }), "demopass", "Receiving datafile failed",
       kSessionTransferFailed, "No file size specified"},
      {"size past any sane bound", with([](server::Faults& f) { f.file_size = "99999999999999999999"; }),
       "demopass", "Receiving datafile failed", kSessionTransferFailed, "Invalid file size specified"},
      {"damaged archive", with([](server::Faults& f) { f.corrupt_zip = true; }), "demopass",
       "Decompressing datafile failed 3", kSessionExtractFailed, nullptr},
      // Only the session's own result file is taken, never one of the program's.
      {"result named as the data file", with([](server::Faults& f) { f.file_name = "kvqt.dat"; }), "demopass",
       "Receiving datafile failed", kSessionTransferFailed, "Invalid file name"},
      {"result named as the login file", with([](server::Faults& f) { f.file_name = "kvqt.prs"; }), "demopass",
       "Receiving datafile failed", kSessionTransferFailed, "Invalid file name"},
      {"result named as another archive", with([](server::Faults& f) { f.file_name = "other.zip"; }), "demopass",
       "Receiving datafile failed", kSessionTransferFailed, "Invalid file name"},
      {"result named as an option", with([](server::Faults& f) { f.file_name = "-rf"; }), "demopass",
       "Receiving datafile failed", kSessionTransferFailed, "Invalid file name"},
      {"result named with an escape sequence", with([](server::Faults& f) { f.file_name = "\x1b]0;owned\x07"; }),
       "demopass", "Receiving datafile failed", kSessionTransferFailed, "Invalid file name"},
      {"result named with a tab", with([](server::Faults& f) { f.file_name = "result\t.zip"; }), "demopass",
       "Receiving datafile failed", kSessionTransferFailed, "Invalid file name"},
      {"result named with bytes that are no text", with([](server::Faults& f) { f.file_name = "\xff\xfe.zip"; }),
       "demopass", "Receiving datafile failed", kSessionTransferFailed, "Invalid file name"},
      // 1000:1: refused before anything is unpacked.
      {"archive that unpacks to far more than it holds", with([](server::Faults& f) { f.bomb = 8 * 1024 * 1024; }),
       "demopass", "Decompressing datafile failed 52", kSessionExtractFailed, nullptr},
  };
}

TEST_F(DownloadSessionFailureTest, EveryServerFaultStopsWithItsMessageAndChangesNoDatabase) {
  for (const ServerFault& fault : ServerFaults()) {
    SCOPED_TRACE(fault.what);
    Fresh();
    ChartDirectory(kMetaStockId, {"ABC"});
    const auto before = Snapshot(chartDir);
    StartServer(fault.faults);
    login.password = fault.password;
    testing::WriteFileBytes(programDir + "kvqt.dat", "own data");
    testing::WriteFileBytes(programDir + "kvqt.prs", "own login");
    ExpectStop(fault.message, fault.code);
    if (fault.status != nullptr) {
      EXPECT_TRUE(StatusShown(fault.status)) << fault.status;
      // The cause goes where the error goes in a batch run, not only to the status line.
      EXPECT_EQ(progress->notices(), std::vector<std::string>{fault.status});
    }
    EXPECT_EQ(testing::ReadFileBytes(programDir + "kvqt.dat"), "own data");
    EXPECT_EQ(testing::ReadFileBytes(programDir + "kvqt.prs"), "own login");
    EXPECT_FALSE(std::filesystem::exists(programDir + "motd.txt"));
    for (const auto& entry : std::filesystem::directory_iterator(programDir)) {
      const std::string name = entry.path().filename().string();
      EXPECT_TRUE(name == "kvqt.dat" || name == "kvqt.prs" || name == "query.dat" || name == "result.zip" ||
                  name == "kvqt.rpt")
          << name;
    }
    server->Join();
    EXPECT_EQ(Snapshot(chartDir), before);
    // Nothing of the result arrived in, or next to, the program directory.
    EXPECT_FALSE(std::filesystem::exists(programDir + "sksdat.dat"));
    EXPECT_FALSE(std::filesystem::exists(outer.path() + "result.zip"));
    EXPECT_FALSE(std::filesystem::exists(programDir + "sub"));
    EXPECT_EQ(testing::g_release_checks, 0);
  }
}

TEST_F(DownloadSessionFailureTest, ConnectionCutInTheMiddleOfTheResult) {
  ChartDirectory(kMetaStockId, {"ABC"});
  // A clean session first tells how many bytes lead up to the archive.
  StartServer();
  ASSERT_EQ(Run(), kStepFinished);
  const server::SessionReport clean = server->Join();
  const std::string size_line = std::to_string(clean.archive.size()) + "\n";
  const long before_archive = static_cast<long>(std::string(server::kGreeting).size() +
                                                std::string("Welcome\r\nCredit:Unlimited\r\nStart upload").size() +
                                                static_cast<std::size_t>(clean.acks_sent) +
                                                std::string("Ready for resultresult.zip\n").size() + size_line.size());

  Fresh();
  ChartDirectory(kMetaStockId, {"ABC"});
  const auto before = Snapshot(chartDir);
  server::Faults faults;
  faults.close_after = before_archive + static_cast<long>(clean.archive.size() / 2);
  StartServer(faults);
  ExpectStop("Receiving datafile failed", kSessionTransferFailed);
  EXPECT_TRUE(StatusShown("File transfer failed"));
  server->Join();
  EXPECT_EQ(Snapshot(chartDir), before);
  // What arrived stays for a look until the next session.
  EXPECT_EQ(testing::ReadFileBytes(programDir + "result.zip"), clean.archive.substr(0, clean.archive.size() / 2));
  EXPECT_FALSE(std::filesystem::exists(programDir + "sksdat.dat"));
}

TEST_F(DownloadSessionFailureTest, MembersBesideTheSessionsOwnAreSkipped) {
  ChartDirectory(kMetaStockId, {"ABC"});
  testing::WriteFileBytes(programDir + "kvqt.dat", "own data");
  testing::WriteFileBytes(programDir + "kvqt.prs", "own login");
  testing::WriteFileBytes(programDir + "kvqt.sdb", "own symbols");
  server::Faults faults;
  faults.extra_members = {"kvqt.dat", "kvqt.prs", "kvqt.sdb", "KVQT.DAT", "query.dat", "kvqt.tsk"};
  faults.extra_count = 2000;  // thousands of members: none of them may become a file
  // Packing them takes the server a while in a sanitizer build.
  options->timeouts.result = std::chrono::milliseconds(15000);
  StartServer(faults);
  EXPECT_EQ(Run(), kStepFinished);
  EXPECT_TRUE(Errors().empty()) << ::testing::PrintToString(Errors());
  server->Join();
  EXPECT_EQ(testing::ReadFileBytes(programDir + "kvqt.dat"), "own data");
  EXPECT_EQ(testing::ReadFileBytes(programDir + "kvqt.prs"), "own login");
  EXPECT_NE(testing::ReadFileBytes(programDir + "kvqt.sdb"), "JUNK");
  EXPECT_NE(testing::ReadFileBytes(programDir + "query.dat"), "JUNK");
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(programDir)) {
    ++files;
    EXPECT_NE(entry.path().filename().string().rfind("extra-", 0), 0u) << entry.path();
  }
  EXPECT_FALSE(std::filesystem::exists(programDir + "KVQT.DAT"));
  EXPECT_FALSE(std::filesystem::exists(programDir + "kvqt.tsk"));
  EXPECT_LT(files, 20);
  // The prices still arrived.
  DatafileEntry entry;
  ASSERT_EQ(FindEntry("ABC", entry, kMetaStockId, chartDir, kScanReadHeader), 0);
  EXPECT_GT(entry.recordCount, 0);
}

TEST_F(DownloadSessionFailureTest, MemberWithAnUnsafeNameRefusesTheArchive) {
  for (const char* name : {"-rf", "--help", "a\tb"}) {
    SCOPED_TRACE(name);
    Fresh();
    ChartDirectory(kMetaStockId, {"ABC"});
    const auto before = Snapshot(chartDir);
    server::Faults faults;
    faults.extra_members = {name};
    StartServer(faults);
    ExpectStop("Decompressing datafile failed 2", kSessionExtractFailed);
    server->Join();
    EXPECT_EQ(Snapshot(chartDir), before);
    EXPECT_FALSE(std::filesystem::exists(programDir + name));
    EXPECT_FALSE(std::filesystem::exists(programDir + "sksdat.dat"));
  }
}

TEST_F(DownloadSessionFailureTest, ControlCharactersOfTheServersTextsAreNeitherShownNorLogged) {
  ChartDirectory(kMetaStockId, {"ABC"});
  server::Faults faults;
  faults.credit = "\x1b]0;owned\x07\x1b[2J\x9b" "31m red\tplain \xc2\x9b" "1m";
  StartServer(faults);
  EXPECT_EQ(Run(), kStepFinished);
  server->Join();
  EXPECT_TRUE(StatusShown("Credit: ?]0;owned??[2J?31m red\tplain ?1m")) << ::testing::PrintToString(Statuses());
  for (const std::string& line : Statuses()) {
    for (char c : line) EXPECT_TRUE(static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n') << line;
  }
  const std::string report = testing::ReadFileBytes(programDir + "kvqt.rpt");
  EXPECT_NE(report.find("Credit: ?]0;owned"), std::string::npos) << report;
  EXPECT_EQ(report.find('\x1b'), std::string::npos);
  EXPECT_EQ(report.find('\x07'), std::string::npos);
  EXPECT_EQ(report.find('\x9b'), std::string::npos);
}

}  // namespace
}  // namespace kvqt
