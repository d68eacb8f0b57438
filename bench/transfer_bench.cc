// Times a large result coming down from kvqt-server on 127.0.0.1: the
// download session's own steps (connect, login, upload, receive), run by the
// headless step runner that looks at the single-instance endpoint as a batch
// run does, beside a minimal blocking stop-and-wait client of the same
// protocol, in pairs. The result is a release of random bytes, so the archive
// is as large as the release.
//   transfer_bench [--only ours|minimal] [MiB] [pairs] [kvqt-server]
// The ratio printed is the receive time of ours over the minimal client's
// (from the file name line to the last acknowledgement), pair by pair.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "app/core/action_info.h"
#include "app/core/logs.h"
#include "app/core/messages.h"
#include "app/core/personal_profile.h"
#include "app/datafile/login_record.h"
#include "app/datafile/user_info.h"
#include "app/runner/headless_progress.h"
#include "bench_timing.h"
#include "platform/instance_endpoint.h"
#include "service/session/download_session.h"
#include "store.h"

namespace {

using kvqt::bench::Seconds;
using Clock = std::chrono::steady_clock;

constexpr char kAck = 6;
constexpr const char* kLogin = "demo0vqx";
constexpr const char* kPassword = "demopass";
constexpr const char* kRequest = "NEWKVQT f0.0.1\r\n";

struct Timing {
  double receive = -1;  // from the file name line to the last acknowledgement
  double total = -1;    // from the connect to the end of the receive
  long long bytes = 0;
};

// ---- the server -------------------------------------------------------------

bool MakeStore(const std::string& path, std::size_t bytes) {
  std::string error;
  auto store = kvqt::server::Store::Open(path, true, &error);
  if (!store) {
    std::fprintf(stderr, "store: %s\n", error.c_str());
    return false;
  }
  kvqt::server::User user;
  user.login = kLogin;
  user.password = kPassword;
  user.credit = "bench";
  kvqt::server::Release release;
  release.version = 990000;
  release.data.resize(bytes);
  std::mt19937_64 random(20240112);
  for (std::size_t i = 0; i < bytes; i += 8) {
    const std::uint64_t r = random();
    for (std::size_t k = 0; k < 8 && i + k < bytes; ++k) release.data[i + k] = static_cast<char>(r >> (8 * k));
  }
  return store->PutUser(user) == 0 && store->SetRelease(release) == 0;
}

struct ServerProcess {
  pid_t pid = -1;
  int port = 0;
};

// Starts "kvqt-server serve DB --port 0" and reads the port it prints.
ServerProcess StartServer(const std::string& program, const std::string& db, int sessions) {
  ServerProcess server;
  int out[2];
  if (::pipe(out) != 0) return server;
  const std::string count = std::to_string(sessions);
  server.pid = ::fork();
  if (server.pid == 0) {
    ::dup2(out[1], 1);
    ::close(out[0]);
    ::close(out[1]);
    std::freopen("/dev/null", "w", stderr);
    ::execl(program.c_str(), program.c_str(), "serve", db.c_str(), "--port", "0", "--sessions", count.c_str(),
            static_cast<char*>(nullptr));
    std::_Exit(127);
  }
  ::close(out[1]);
  std::string line;
  char c;
  while (::read(out[0], &c, 1) == 1 && c != '\n') line.push_back(c);
  ::close(out[0]);
  const std::size_t colon = line.rfind(':');
  if (colon != std::string::npos) server.port = std::atoi(line.c_str() + colon + 1);
  return server;
}

void StopServer(ServerProcess& server) {
  if (server.pid <= 0) return;
  ::kill(server.pid, SIGTERM);
  int status = 0;
  ::waitpid(server.pid, &status, 0);
  server.pid = -1;
}

// ---- the session's own steps -------------------------------------------------

Clock::time_point g_receive_start;
double g_receive = -1;

// The download session from its connect step to the received archive; the
// bench has written the request itself.
int SessionUntilReceived(kvqt::StepRunner& runner, kvqt::ActionInfo& action, int& counter) {
  if (counter == kvqt::kSessionCheck) counter = kvqt::kSessionConnect;
  if (counter == kvqt::kSessionExtract) return kvqt::kStepFinished;
  const bool receiving = counter == kvqt::kSessionReceive;
  if (receiving) g_receive_start = Clock::now();
  const int result = kvqt::DownloadSession(runner, action, counter);
  if (receiving) g_receive = Seconds(g_receive_start);
  return result;
}

Timing Ours(int port, kvqt::platform::InstanceEndpoint& endpoint) {
  kvqt::UserInfo userInfo;
  userInfo.NetworkDestination = "127.0.0.1 " + std::to_string(port);
  kvqt::LoginRecord login;
  login.userNumber = kLogin;
  login.password = kPassword;
  kvqt::ActionInfo action;
  action.userInfo = &userInfo;
  action.login = &login;
  kvqt::HeadlessProgress host;
  // As a batch run does: requests from outside are taken whenever the run pumps.
  host.setIdle([&endpoint](kvqt::HeadlessProgress& h) {
    std::string request;
    while (endpoint.acceptRequest(request)) {
      if (request == kvqt::platform::kQuitRequest) h.cancel();
    }
  });
  Timing timing;
  g_receive = -1;
  const auto start = Clock::now();
  const int result = host.run(SessionUntilReceived, action, kvqt::kDownloadSessionSteps);
  timing.total = Seconds(start);
  if (result != kvqt::kStepFinished) {
    for (const std::string& e : host.errors()) std::fprintf(stderr, "ours: %s\n", e.c_str());
    return Timing{};
  }
  timing.receive = g_receive;
  std::error_code error;
  timing.bytes = static_cast<long long>(std::filesystem::file_size("result.zip", error));
  return timing;
}

// ---- the minimal client ----------------------------------------------------

class Minimal {
 public:
  explicit Minimal(int fd) : fd_(fd) {}
  bool Byte(char* c) { return ::recv(fd_, c, 1, 0) == 1; }
  bool Send(const std::string& s) { return ::send(fd_, s.data(), s.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(s.size()); }
  bool Ack() { return Send(std::string(1, kAck)); }
  bool WaitAck() {
    char c = 0;
    return Byte(&c) && c == kAck;
  }
  // Reads until the text has arrived.
  bool Expect(const std::string& text) {
    std::string seen;
    for (char c; Byte(&c);) {
      seen.push_back(c);
      if (seen.size() >= text.size() && seen.compare(seen.size() - text.size(), text.size(), text) == 0) return true;
    }
    return false;
  }
  bool Line(std::string* line) {
    line->clear();
    for (char c; Byte(&c);) {
      if (c == '\n' || c == '\r') return true;
      line->push_back(c);
    }
    return false;
  }
  int fd() const { return fd_; }

 private:
  int fd_;
};

Timing MinimalClient(int port) {
  Timing timing;
  const auto start = Clock::now();
  int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    ::close(fd);
    return timing;
  }
  Minimal m(fd);
  bool ok = m.Expect("\n") && m.Send(std::string(kLogin) + "\n") && m.Send(std::string(kPassword) + "\n") &&
            m.Expect("Welcome") && m.Expect("Credit:");
  std::string line;
  ok = ok && m.Line(&line) && m.Expect("Start upload");
  const std::string request = kRequest;
  ok = ok && m.Send("query.dat\n") && m.WaitAck() && m.Send(std::to_string(request.size()) + "\n") && m.WaitAck();
  for (std::size_t sent = 0; ok && sent < request.size();) {
    const std::size_t n = std::min<std::size_t>(1024, request.size() - sent);
    ok = m.Send(request.substr(sent, n));
    sent += n;
    if (ok && (sent % 1024 == 0 || sent == request.size())) ok = m.WaitAck();
  }
  ok = ok && m.Expect("Ready for result");
  const auto receive = Clock::now();
  std::string name, size_text;
  ok = ok && m.Line(&name) && m.Ack() && m.Line(&size_text) && m.Ack();
  std::FILE* file = ok ? std::fopen("minimal.zip", "wb") : nullptr;
  const long long size = std::atoll(size_text.c_str());
  long long total = 0;
  char block[1024];
  while (file != nullptr && total < size) {
    const std::size_t want = static_cast<std::size_t>(std::min<long long>(1024 - total % 1024, size - total));
    const ssize_t n = ::recv(fd, block, want, 0);
    if (n <= 0) break;
    std::fwrite(block, 1, static_cast<std::size_t>(n), file);
    total += n;
    if (total % 1024 == 0 && !m.Ack()) break;
  }
  if (file != nullptr) std::fclose(file);
  if (total == size && total % 1024 != 0) m.Ack();
  timing.receive = Seconds(receive);
  ::shutdown(fd, SHUT_WR);
  ::close(fd);
  timing.total = Seconds(start);
  if (total != size || size == 0) return Timing{};
  timing.bytes = total;
  return timing;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  if (v.empty()) return 0;
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

std::string DefaultServer(const char* argv0) {
  std::error_code error;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) self = argv0;
  return (self.parent_path().parent_path() / "server" / "kvqt-server").string();
}

}  // namespace

int main(int argc, char** argv) {
  // --only ours|minimal: one side alone, for a profiler or a system-call count.
  std::string only;
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() >= 2 && args[0] == "--only") {
    only = args[1];
    args.erase(args.begin(), args.begin() + 2);
  }
  const int mib = args.size() > 0 ? std::atoi(args[0].c_str()) : 20;
  const int pairs = args.size() > 1 ? std::atoi(args[1].c_str()) : 5;
  const std::string program = args.size() > 2 ? args[2] : DefaultServer(argv[0]);
  if (mib <= 0 || pairs <= 0 || (!only.empty() && only != "ours" && only != "minimal")) {
    std::fprintf(stderr, "usage: transfer_bench [--only ours|minimal] [MiB] [pairs] [kvqt-server]\n");
    return 2;
  }

  char dir_template[] = "/tmp/kvqt-transfer-bench-XXXXXX";
  if (!mkdtemp(dir_template)) return 1;
  const std::string dir = std::string(dir_template) + "/";
  if (::chdir(dir.c_str()) != 0) return 1;
  ::setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
  kvqt::setProfilePath(dir + "kvqt.ini");
  kvqt::Logs::SetDirectory(dir);
  kvqt::ScopedMessages quiet;
  {
    std::FILE* f = std::fopen("query.dat", "wb");
    if (f == nullptr) return 1;
    std::fputs(kRequest, f);
    std::fclose(f);
  }
  if (!MakeStore(dir + "store.db", static_cast<std::size_t>(mib) << 20)) return 1;

  kvqt::platform::InstanceEndpoint endpoint;
  if (endpoint.claim("Kvqt transfer bench") != kvqt::platform::InstanceEndpoint::Claim::Owner) {
    std::fprintf(stderr, "no single-instance endpoint could be made\n");
  }

  ServerProcess server = StartServer(program, dir + "store.db", 2 * (pairs + 1));
  if (server.port <= 0) {
    std::fprintf(stderr, "kvqt-server did not start: %s\n", program.c_str());
    StopServer(server);
    return 1;
  }

  bool failed = false;
  if (!only.empty()) {
    for (int run = 0; run <= pairs && !failed; ++run) {
      const Timing t = only == "ours" ? Ours(server.port, endpoint) : MinimalClient(server.port);
      failed = t.receive < 0;
      if (!failed) std::printf("%s receive %.3f s, all %.3f s, %lld bytes\n", only.c_str(), t.receive, t.total, t.bytes);
    }
    StopServer(server);
    endpoint.close();
    std::filesystem::remove_all(dir);
    return failed ? 1 : 0;
  }

  std::printf("%d MiB result from kvqt-server on 127.0.0.1, %d pairs after one warm-up pair, in turn first\n", mib,
              pairs);
  std::printf("%-5s %12s %12s %8s %12s %12s\n", "pair", "ours s", "minimal s", "ratio", "ours all s", "min. all s");
  std::vector<double> ratios, ours_receive, minimal_receive, ours_total, minimal_total;
  for (int pair = 0; pair <= pairs && !failed; ++pair) {
    // Each side goes first in every other pair, so neither always meets a server just done with the other.
    Timing a, b;
    if (pair % 2 == 0) {
      a = Ours(server.port, endpoint);
      b = MinimalClient(server.port);
    } else {
      b = MinimalClient(server.port);
      a = Ours(server.port, endpoint);
    }
    if (a.receive < 0 || b.receive < 0 || a.bytes != b.bytes) {
      std::fprintf(stderr, "pair %d failed (ours %lld bytes, minimal %lld bytes)\n", pair, a.bytes, b.bytes);
      failed = true;
      break;
    }
    const double ratio = a.receive / b.receive;
    std::printf("%-5s %12.3f %12.3f %8.2f %12.3f %12.3f\n", pair == 0 ? "warm" : std::to_string(pair).c_str(),
                a.receive, b.receive, ratio, a.total, b.total);
    if (pair == 0) continue;
    ratios.push_back(ratio);
    ours_receive.push_back(a.receive);
    minimal_receive.push_back(b.receive);
    ours_total.push_back(a.total);
    minimal_total.push_back(b.total);
  }
  StopServer(server);
  endpoint.close();
  std::filesystem::remove_all(dir);
  if (failed) return 1;
  std::printf("median %10.3f %12.3f %8.2f %12.3f %12.3f\n", Median(ours_receive), Median(minimal_receive),
              Median(ratios), Median(ours_total), Median(minimal_total));
  std::printf("receive time of ours / minimal client, median of the pair ratios: %.2f\n", Median(ratios));
  return 0;
}
