// kvqt-config set and show, and the refusal to change the data while the
// program runs.
#include <gtest/gtest.h>

#include "config_run.h"
#include "platform/ini_profile.h"
#include "platform/instance_endpoint.h"
#include "support/hex.h"

namespace kvqt::config {
namespace {

using SetShowTest = ConfigTest;

TEST_F(SetShowTest, SetWritesTheSettingsFileThroughTheProfileCode) {
  settings.write("kvqt.ini", "; kept\r\n[configure]\r\nsinchanges=yes\r\n");
  ConfigRun run = Config({"set", "Configure", "DebugMode", "1"});
  ASSERT_EQ(0, run.rc) << run.err;
  ASSERT_EQ(0, Config({"set", "other", "key", "\"quoted\""}).rc);

  EXPECT_EQ(1, profile().getInt("debugmode", 0));
  EXPECT_TRUE(profile().isYes("sinchanges", "no"));
  EXPECT_EQ("; kept\r\n[configure]\r\nsinchanges=yes\r\nDebugMode=1\r\n[other]\r\nkey=\"quoted\"\r\n",
            settings.read("kvqt.ini"));
  // The settings file is all `set` touches.
  EXPECT_FALSE(home.exists("kvqt.dat"));
  EXPECT_FALSE(home.exists("kvqt.prs"));
}

TEST_F(SetShowTest, SetSaysWhatTheProgramWillRead) {
  ConfigRun run = Config({"set", "configure", "outputformat", "\"ASC\""});
  ASSERT_EQ(0, run.rc);
  EXPECT_EQ("set [configure] outputformat=\"ASC\" in " + settings.file("kvqt.ini") +
                "\nthe program reads it as \"ASC\"\n",
            run.out);
}

TEST_F(SetShowTest, SetRefusesAKeyOfTheProgramsSectionThatItDoesNotKnow) {
  ConfigRun run = Config({"set", "configure", "debugmod", "1"});
  EXPECT_EQ(1, run.rc);
  EXPECT_EQ(0u, run.err.find("kvqt-config: the program knows no key debugmod in section configure; its keys are: "
                             "programdatafile debugmode "))
      << run.err;
  EXPECT_NE(std::string::npos, run.err.find(" uploadprotocol\n(--force writes it all the same)\n")) << run.err;
  EXPECT_FALSE(settings.exists("kvqt.ini"));

  // Forced, or in a section of its own, it is written.
  EXPECT_EQ(0, RunConfig({"--dir", home.path(), "--force", "set", "configure", "debugmod", "1"}).rc);
  EXPECT_EQ(0, Config({"set", "mine", "debugmod", "2"}).rc);
  EXPECT_EQ("[configure]\r\ndebugmod=1\r\n[mine]\r\ndebugmod=2\r\n", settings.read("kvqt.ini"));
}

TEST_F(SetShowTest, SetRefusesWhatTheFileCannotHold) {
  const std::vector<std::string> cases[] = {
      {"set", "", "key", "v"},           {"set", "con]figure", "key", "v"}, {"set", "configure", "", "v"},
      {"set", "configure", "a=b", "v"},  {"set", "configure", "[x", "v"},   {"set", "configure", ";x", "v"},
      {"set", "configure", "key", "a\nb"}, {"set", "configure", "k\rey", "v"},
  };
  for (const auto& args : cases) {
    SCOPED_TRACE(args[1] + "/" + args[2] + "/" + args[3]);
    ConfigRun run = Config(args);
    EXPECT_EQ(1, run.rc);
    EXPECT_NE("", run.err);
  }
  EXPECT_FALSE(settings.exists("kvqt.ini"));
}

TEST_F(SetShowTest, ShowListsWhatIsConfigured) {
  const std::string dir = data.path() + "asc/";
  ASSERT_EQ(0, Config({"user", "demo0vqx", "demopass"}).rc);
  ASSERT_EQ(0, Config({"server", "127.0.0.1:40123"}).rc);
  ASSERT_EQ(0, Config({"add-list", "ASC", "My list", dir}).rc);
  ASSERT_EQ(0, Config({"select", "ASC", "My list", dir, "none"}).rc);
  const std::string before = home.read("kvqt.dat");

  ConfigRun run = Config({"show"});
  ASSERT_EQ(0, run.rc) << run.err;
  const std::string expected[] = {
      "programdirectory path=" + home.path() + "\n",
      "datafile path=" + home.file("kvqt.dat") + " exists=yes\n",
      "loginfile path=" + home.file("kvqt.prs") + " exists=yes\n",
      "settings path=" + settings.file("kvqt.ini") + " exists=no\n",
      "login usernumber=demo0vqx password=set\n",
      "destination NetworkDestination=\"127.0.0.1 40123\" host=127.0.0.1 port=40123 connection=4\n",
      "format symbol=ASC FormatId=5 name=\"Ascii: Comma Delimited\" directories=1 lists=1 current=yes\n"
      "directory format=ASC DirectoryName=" + dir + " current=yes\n"
      "list format=ASC ListName=\"My list\" directories=1 current=yes\n"
      "directory format=ASC list=\"My list\" DirectoryName=" + dir + " selection=none current=yes\n",
      "format symbol=PEL FormatId=18 name=Pelto directories=0 lists=0 output=only\n",
  };
  for (const std::string& line : expected) EXPECT_NE(std::string::npos, run.out.find(line)) << line << run.out;
  // Looking changes nothing.
  EXPECT_EQ(before, home.read("kvqt.dat"));
}

TEST_F(SetShowTest, ShowOnAnEmptyDirectoryWritesNothing) {
  ConfigRun run = Config({"show"});
  ASSERT_EQ(0, run.rc) << run.err;
  EXPECT_NE(std::string::npos, run.out.find("login usernumber=\"\" password=none\n")) << run.out;
  EXPECT_NE(std::string::npos, run.out.find("format symbol=MS FormatId=4 name=Metastock directories=0 lists=0\n"));
  EXPECT_FALSE(home.exists("kvqt.dat"));
  EXPECT_FALSE(home.exists("kvqt.prs"));
}

TEST_F(SetShowTest, ChangesAreRefusedWhileTheProgramRunsOnTheSameDirectory) {
  platform::InstanceEndpoint program;
  ASSERT_EQ(platform::InstanceEndpoint::Claim::Owner,
            program.claim(platform::InstanceName(kProgramTitle, home.path())));
  ConfigRun run = Config({"user", "demo0vqx", "demopass"});
  EXPECT_EQ(1, run.rc);
  EXPECT_EQ("kvqt-config: Kvqt is running in " + home.path() +
                " and saves its data when it exits; close it first\n",
            run.err);
  EXPECT_FALSE(home.exists("kvqt.prs"));
  EXPECT_EQ(0, Config({"show"}).rc);
  EXPECT_EQ(0, Config({"set", "configure", "debugmode", "0"}).rc);

  // A copy on another program directory is another installation.
  program.close();
  testing::TempDir other;
  platform::InstanceEndpoint elsewhere;
  ASSERT_EQ(platform::InstanceEndpoint::Claim::Owner,
            elsewhere.claim(platform::InstanceName(kProgramTitle, other.path())));
  EXPECT_EQ(0, Config({"user", "demo0vqx", "demopass"}).rc);
}

TEST_F(SetShowTest, AFileThatCannotBeReadIsNotReplaced) {
  // More formats than the program keeps: it would not write the file back either.
  std::string bytes = ":" + testing::Le32(257) + testing::Le32(30204) + std::string(UserInfo::kSize, '\0') +
                      testing::Le32(4) + testing::Le32(24);
  home.write("kvqt.dat", bytes);
  ConfigRun run = Config({"server", "127.0.0.1:1"});
  EXPECT_EQ(1, run.rc);
  EXPECT_EQ("kvqt-config: ERROR: Too many formats in " + home.file("kvqt.dat") + "; nothing was changed\n",
            run.err);
  EXPECT_EQ(bytes, home.read("kvqt.dat"));
  EXPECT_FALSE(home.exists("kvqt.prs"));
}

TEST_F(SetShowTest, UsageErrors) {
  const std::vector<std::string> cases[] = {
      {}, {"--dir"}, {"--bogus", "show"}, {"frobnicate"}, {"user"}, {"user", "a", "b", "c"}, {"server"}, {"show", "x"},
      {"select", "ASC", "L", "/d"}, {"set", "a", "b"},
  };
  for (const auto& args : cases) {
    ConfigRun run = RunConfig(args);
    EXPECT_EQ(2, run.rc);
    EXPECT_NE(std::string::npos, run.err.find("kvqt-config: usage: kvqt-config")) << run.err;
  }
  ConfigRun help = RunConfig({"--help"});
  EXPECT_EQ(0, help.rc);
  EXPECT_EQ(0u, help.out.find("Usage: kvqt-config [--dir DIR] [--convert] [--force] VERB ARGUMENTS...\n"));
}

}  // namespace
}  // namespace kvqt::config
