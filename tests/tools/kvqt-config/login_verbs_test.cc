// kvqt-config user and server: the login record and the destination.
#include "kvqt-config/login_verbs.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "app/datafile/login_record.h"
#include "config_run.h"
#include "platform/clock.h"
#include "service/session/destination.h"
#include "support/hex.h"

namespace kvqt::config {
namespace {

using testing::Hex;
using testing::Le32;
using testing::ToHex;

using LoginVerbsTest = ConfigTest;

TEST_F(LoginVerbsTest, UserOnAnEmptyDirectoryWritesTheLoginFileAndTheBuiltInFormats) {
  platform::ScopedFixedClock clock({2024, 6, 12, 9, 30, 15});
  ConfigRun run = Config({"user", "demo0vqx", "demopass"});
  ASSERT_EQ(0, run.rc) << run.err;
  EXPECT_EQ("", run.err);

  // Five zero bytes, the user number, the password scrambled (+50+i), then the
  // session date and time of this run.
  std::string expected = Hex("00 00 00 00 00") + "demo0vqx" + Hex("00") +
                         Hex("96 98 a1 a4 a6 98 ab ac 00") + std::string(8, '\0') + Le32(20240612) + Le32(93015) +
                         std::string(50, '\0');
  EXPECT_EQ(ToHex(expected), ToHex(home.read("kvqt.prs")));

  SavedData saved;
  ReadSaved(saved);
  EXPECT_EQ(0, saved.rc);
  EXPECT_EQ(16, saved.formats.count());
  EXPECT_NE(nullptr, saved.formats.findBySymbol("MS"));
}

TEST_F(LoginVerbsTest, PasswordFromStandardInputOrRefusedWithoutATerminal) {
  const struct {
    std::vector<std::string> args;
    std::string input;
    int rc;
    std::string err;
  } cases[] = {
      {{"user", "demo0vqx", "--password-stdin"}, "demopass\r\nmore\n", 0, ""},
      {{"user", "--password-stdin", "demo0vqx"}, "demopass", 0, ""},
      {{"user", "demo0vqx", "--password-stdin"}, "", 1, "kvqt-config: no password on standard input\n"},
      {{"user", "demo0vqx"}, "demopass\n", 1,
       "kvqt-config: no password given: type it at the prompt on a terminal, or give it with --password-stdin\n"},
      {{"user", "demo0vqx", "--password-stdin", "demopass"}, "", 2,
       "kvqt-config: usage: kvqt-config [--dir DIR] [--convert] user NUMBER [PASSWORD | --password-stdin]\n"},
      {{"user", "--password-stdin"}, "demopass\n", 2,
       "kvqt-config: usage: kvqt-config user NUMBER [PASSWORD | --password-stdin]\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.back() + "/" + c.input);
    std::vector<std::string> args = c.args;
    args.insert(args.begin(), {"--dir", home.path()});
    std::istringstream in(c.input);
    std::ostringstream out, err;
    EXPECT_EQ(c.rc, RunKvqtConfig(args, in, /*terminal=*/false, out, err));
    EXPECT_EQ(c.err, err.str());
    if (c.rc == 0) {
      EXPECT_EQ("user number demo0vqx, password of 8 characters\n", out.str().substr(0, out.str().find('\n') + 1));
      LoginRecord login;
      ASSERT_EQ(0, ReadLoginFile(home.file("kvqt.prs"), login));
      EXPECT_EQ("demopass", login.password);
      ASSERT_EQ(0, std::remove(home.file("kvqt.prs").c_str()));
    } else {
      EXPECT_FALSE(home.exists("kvqt.prs"));
    }
  }
}

TEST_F(LoginVerbsTest, RefusesCredentialsTheFilesCannotKeep) {
  struct Case {
    const char* number;
    const char* password;
  } cases[] = {
      {"123456789", "password"},  // nine characters
      {"", "password"},
      {"demo0vqx", "passwords"},
      {"demo0vqx", ""},
      {"demo 0vqx", "password"},
      {"demo0vqx", "pass word"},
      {"demo0vqx", "p\xcdsswrd"},  // 0xcd + 50 + 1 is stored as a NUL
      {"demo0vqx", "tab\tpass"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.number) + "/" + c.password);
    ConfigRun run = Config({"user", c.number, c.password});
    EXPECT_EQ(1, run.rc);
    EXPECT_NE(std::string::npos, run.err.find("printable characters")) << run.err;
    EXPECT_FALSE(home.exists("kvqt.prs"));
    EXPECT_FALSE(home.exists("kvqt.dat"));
  }
}

TEST_F(LoginVerbsTest, ALoginTheSessionWouldRefuseIsKeptWithAWarning) {
  ConfigRun run = Config({"user", "1234", "secret"});
  EXPECT_EQ(0, run.rc);
  EXPECT_EQ("kvqt-config: warning: a download session would stop with: Login too short: 1234\n", run.err);
  LoginRecord login;
  ASSERT_EQ(0, ReadLoginFile(home.file("kvqt.prs"), login));
  EXPECT_EQ("1234", login.userNumber);
  EXPECT_EQ("secret", login.password);
}

TEST_F(LoginVerbsTest, DestinationArgumentsBecomeWhatTheSessionReads) {
  struct Case {
    const char* argument;
    const char* destination;
    const char* host;  // as the session parses the destination
    int port;
  } cases[] = {
      {"127.0.0.1:40123", "127.0.0.1 40123", "127.0.0.1", 40123},
      {"quotes.example.org", "quotes.example.org", "quotes.example.org", kDefaultServerPort},
      {"[::1]:8000", "::1 8000", "::1", 8000},
      {"::1", "::1", "::1", kDefaultServerPort},
      {"default", "", kDefaultServerHost, kDefaultServerPort},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.argument);
    std::string destination, problem;
    ASSERT_TRUE(DestinationArgument(c.argument, destination, problem)) << problem;
    EXPECT_EQ(c.destination, destination);
    ServerDestination server = ParseDestination(destination);
    EXPECT_EQ(c.host, server.host);
    EXPECT_EQ(c.port, server.port);
  }
}

TEST_F(LoginVerbsTest, RefusesDestinationsTheSessionCouldNotUse) {
  const char* cases[] = {
      "host:", "host:0", "host:65536", "host:80x", "[::1", "[::1]8000", "", "two words",
      "a-host-name-that-is-far-too-long.example.org:1234",  // more than the 30 characters kept
  };
  for (const char* argument : cases) {
    SCOPED_TRACE(argument);
    ConfigRun run = Config({"server", argument});
    EXPECT_EQ(1, run.rc);
    EXPECT_NE(std::string::npos, run.err.find("kvqt-config: ")) << run.err;
    EXPECT_FALSE(home.exists("kvqt.dat"));
  }
}

TEST_F(LoginVerbsTest, ServerStoresTheDestinationAndTheInternetConnection) {
  // A stored dial-up connection becomes the internet connection, as the dialog sets it.
  UserInfo before;
  before.connection = 2;
  before.lastsessiondate = Date(2024, 1, 5);
  Formats none;
  testing::WriteFileBytes(home.file("kvqt.dat"), EncodeProgramDataFile(before, none));

  ConfigRun run = Config({"server", "127.0.0.1:40123"});
  ASSERT_EQ(0, run.rc) << run.err;
  EXPECT_NE(std::string::npos, run.out.find("destination 127.0.0.1 port 40123\n")) << run.out;

  SavedData saved;
  ReadSaved(saved);
  EXPECT_EQ("127.0.0.1 40123", saved.userInfo.NetworkDestination);
  EXPECT_EQ(4, saved.userInfo.connection);
  EXPECT_EQ(Date(2024, 1, 5), saved.userInfo.lastsessiondate);
  // The login file is written with it, so that the program runs its command line.
  EXPECT_TRUE(home.exists("kvqt.prs"));
}

}  // namespace
}  // namespace kvqt::config
