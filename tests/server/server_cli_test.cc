// The kvqt-server program itself, run as a child process.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <regex>
#include <string>

#include "protocol_client.h"
#include "support/temp_dir.h"

namespace kvqt::testing {
namespace {

struct Output {
  int status = -1;
  std::string out;
  std::string err;
};

Output RunServer(const std::string& arguments) {
  Output result;
  TempDir logs;
  std::string command = std::string(KVQT_SERVER_PATH) + " " + arguments + " 2>" + logs.file("err");
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, n);
  int status = ::pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.err = logs.read("err");
  return result;
}

TEST(ServerCliTest, InitDemoIsDeterministicAndWillNotOverwrite) {
  TempDir dir;
  ASSERT_EQ(RunServer("init-demo " + dir.file("a.db") + " --today 20240612").status, 0);
  ASSERT_EQ(RunServer("init-demo " + dir.file("b.db") + " --today 20240612").status, 0);
  Output a = RunServer("info " + dir.file("a.db"));
  Output b = RunServer("info " + dir.file("b.db"));
  EXPECT_EQ(a.status, 0);
  EXPECT_EQ(a.out, b.out);
  EXPECT_NE(a.out.find("instruments 50\n"), std::string::npos);
  EXPECT_NE(a.out.find("today 20240612\n"), std::string::npos);
  EXPECT_EQ(RunServer("init-demo " + dir.file("a.db") + " --today 20240612").status, 1);
}

TEST(ServerCliTest, ServeListensOnAFreePortAndSaysWhich) {
  TempDir dir;
  ASSERT_EQ(RunServer("init-demo " + dir.file("demo.db") + " --today 20240612").status, 0);
  std::string command = std::string(KVQT_SERVER_PATH) + " serve " + dir.file("demo.db") +
                        " --port 0 --sessions 1 --timeout 2 --today 20240612 2>" + dir.file("log.txt");
  FILE* pipe = ::popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  char line[128] = {};
  ASSERT_NE(std::fgets(line, sizeof line, pipe), nullptr);
  std::smatch match;
  std::string text = line;
  ASSERT_TRUE(std::regex_match(text, match, std::regex("listening on 127\\.0\\.0\\.1:([0-9]+)\n"))) << text;
  ClientScript script;
  script.query = "VERSION f3.2.4\r\nBRMT,20240610\r\n";
  ClientRun run = RunClient(std::stoi(match[1]), script);
  EXPECT_TRUE(run.received);
  EXPECT_EQ(WEXITSTATUS(::pclose(pipe)), 0);
  std::string log = dir.read("log.txt");
  EXPECT_NE(log.find("kvqt-server: session 1: request \"BRMT,20240610\": 3 lines"), std::string::npos) << log;
  EXPECT_NE(log.find("kvqt-server: session 1: sent"), std::string::npos) << log;
}

TEST(ServerCliTest, BadCommandLinesAndMissingStores) {
  TempDir dir;
  const struct {
    std::string arguments;
    int status;
  } cases[] = {
      {"", 2},
      {"frobnicate", 2},
      {"serve", 2},
      {"serve " + dir.file("none.db") + " --port 70000", 2},
      {"serve " + dir.file("none.db") + " --timeout 0", 2},
      {"serve " + dir.file("none.db") + " --bogus", 2},
      {"serve " + dir.file("none.db"), 1},
      {"info " + dir.file("none.db"), 1},
      {"init-demo " + dir.file("x.db") + " --today 20240231", 1},
      {"set-release " + dir.file("none.db") + " f3.2.5 /dev/null", 1},
  };
  for (const auto& c : cases) EXPECT_EQ(RunServer(c.arguments).status, c.status) << c.arguments;
}

TEST(ServerCliTest, HelpGoesToStandardOutputAndAMistakeIsNamedBeforeTheUsage) {
  for (const char* help : {"--help", "-h", "help"}) {
    Output run = RunServer(help);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.rfind("usage:\n", 0), 0u) << run.out;
    EXPECT_NE(run.out.find("serve options:"), std::string::npos);
    EXPECT_EQ(run.err, "");
  }
  TempDir dir;
  const struct {
    std::string arguments;
    std::string first_line;
  } cases[] = {
      {"frobnicate", "kvqt-server: unknown command frobnicate"},
      {"--frobnicate", "kvqt-server: unknown option --frobnicate"},
      {"", "kvqt-server: no command given"},
      {"info", "kvqt-server: info: wrong number of arguments"},
      {"init-demo " + dir.file("x.db") + " --bogus", "kvqt-server: init-demo: unknown option --bogus"},
      {"add-user " + dir.file("x.db") + " u p --bogus", "kvqt-server: add-user: unknown option --bogus"},
  };
  for (const auto& c : cases) {
    Output run = RunServer(c.arguments);
    EXPECT_EQ(run.status, 2) << c.arguments;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.substr(0, run.err.find('\n')), c.first_line) << run.err;
    EXPECT_NE(run.err.find("\nusage:\n"), std::string::npos) << run.err;
  }
  EXPECT_EQ(RunServer("serve " + dir.file("x.db") + " --bogus").err.rfind("kvqt-server: unknown option or missing value: --bogus\n", 0), 0u);
}

}  // namespace
}  // namespace kvqt::testing
