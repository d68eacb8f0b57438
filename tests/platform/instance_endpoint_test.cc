#include "platform/instance_endpoint.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>

#include "support/temp_dir.h"

namespace kvqt::platform {
namespace {

using kvqt::testing::TempDir;

// Every test gets a runtime directory of its own, so nothing meets a copy of
// the program the user is running.
class InstanceEndpointTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* old = std::getenv("XDG_RUNTIME_DIR")) old_ = old, had_ = true;
    ::setenv("XDG_RUNTIME_DIR", dir_.path().c_str(), 1);
  }
  void TearDown() override {
    if (had_) ::setenv("XDG_RUNTIME_DIR", old_.c_str(), 1);
    else ::unsetenv("XDG_RUNTIME_DIR");
  }
  TempDir dir_;
  std::string old_;
  bool had_ = false;
};

TEST_F(InstanceEndpointTest, SocketIsNamedAfterTheTitle) {
  EXPECT_EQ(InstanceSocketPath("Norvale Korvane"), dir_.path() + "kvqt-Norvale Korvane.sock");
  EXPECT_EQ(InstanceSocketPath("a/b\tc"), dir_.path() + "kvqt-a_b_c.sock");
  EXPECT_EQ(InstanceSocketPath(std::string(200, 'x')), "");
}

TEST_F(InstanceEndpointTest, NameHoldsTheHashOfTheProgramDirectorysRealPath) {
  // FNV-1a 64 of "/": the root has no trailing separator to drop.
  EXPECT_EQ(InstanceName("Norvale Korvane", "/"), "Norvale Korvane af63a24c860189fe");
  // Every spelling of one directory is one name; another directory another.
  const std::string real = dir_.file("home");
  ASSERT_EQ(::mkdir(real.c_str(), 0700), 0);
  ASSERT_EQ(::symlink(real.c_str(), dir_.file("link").c_str()), 0);
  const std::string name = InstanceName("T", real);
  EXPECT_EQ(InstanceName("T", real + "/"), name);
  EXPECT_EQ(InstanceName("T", dir_.file("link/")), name);
  EXPECT_EQ(InstanceName("T", dir_.path() + "home/../home"), name);
  EXPECT_NE(InstanceName("T", dir_.path()), name);
  EXPECT_EQ(name.size(), 2u + 16u);
  EXPECT_FALSE(InstanceSocketPath(name).empty());
}

TEST_F(InstanceEndpointTest, WithoutARuntimeDirectoryAPrivateOneUnderTmpServes) {
  ::unsetenv("XDG_RUNTIME_DIR");
  EXPECT_EQ(InstanceSocketPath("Norvale Korvane"),
            "/tmp/kvqt-" + std::to_string(::getuid()) + "/kvqt-Norvale Korvane.sock");
}

TEST_F(InstanceEndpointTest, FirstCopyOwnsTheEndpointAndASecondFindsIt) {
  InstanceEndpoint first;
  ASSERT_EQ(first.claim("Norvale Korvane"), InstanceEndpoint::Claim::Owner);
  EXPECT_TRUE(InstanceRunning("Norvale Korvane"));
  EXPECT_FALSE(InstanceRunning("Norvale Korvane 2"));

  InstanceEndpoint second;
  EXPECT_EQ(second.claim("Norvale Korvane"), InstanceEndpoint::Claim::OtherRunning);
  EXPECT_FALSE(second.listening());
}

TEST_F(InstanceEndpointTest, RequestsArriveOneLineEach) {
  InstanceEndpoint endpoint;
  ASSERT_EQ(endpoint.claim("Norvale Korvane"), InstanceEndpoint::Claim::Owner);
  std::string request;
  EXPECT_FALSE(endpoint.acceptRequest(request));  // nobody waiting

  ASSERT_TRUE(SendInstanceRequest("Norvale Korvane", kRaiseRequest));
  ASSERT_TRUE(SendInstanceRequest("Norvale Korvane", kQuitRequest));
  ASSERT_TRUE(InstanceRunning("Norvale Korvane"));  // a look that says nothing
  EXPECT_TRUE(endpoint.acceptRequest(request));
  EXPECT_EQ(request, "raise");
  EXPECT_TRUE(endpoint.acceptRequest(request));
  EXPECT_EQ(request, "quit");
  EXPECT_TRUE(endpoint.acceptRequest(request));
  EXPECT_EQ(request, "");
  EXPECT_FALSE(endpoint.acceptRequest(request));
}

TEST_F(InstanceEndpointTest, ClosedEndpointIsGoneAndCanBeClaimedAgain) {
  InstanceEndpoint endpoint;
  ASSERT_EQ(endpoint.claim("Norvale Korvane"), InstanceEndpoint::Claim::Owner);
  endpoint.close();
  EXPECT_FALSE(InstanceRunning("Norvale Korvane"));
  EXPECT_FALSE(SendInstanceRequest("Norvale Korvane", kQuitRequest));
  EXPECT_FALSE(dir_.exists("kvqt-Norvale Korvane.sock"));
  InstanceEndpoint next;
  EXPECT_EQ(next.claim("Norvale Korvane"), InstanceEndpoint::Claim::Owner);
}

TEST_F(InstanceEndpointTest, SocketLeftByACrashedCopyDoesNotBlockTheStart) {
  // A bound socket whose owner is gone refuses connections.
  int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string path = InstanceSocketPath("Norvale Korvane");
  std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ::close(fd);
  EXPECT_FALSE(InstanceRunning("Norvale Korvane"));

  InstanceEndpoint endpoint;
  EXPECT_EQ(endpoint.claim("Norvale Korvane"), InstanceEndpoint::Claim::Owner);
  EXPECT_TRUE(InstanceRunning("Norvale Korvane"));
}

TEST_F(InstanceEndpointTest, UnusableRuntimeDirectoryFailsTheClaim) {
  const std::string deep = dir_.path() + std::string(110, 'd');
  ASSERT_EQ(::mkdir(deep.c_str(), 0700), 0);
  ::setenv("XDG_RUNTIME_DIR", deep.c_str(), 1);
  InstanceEndpoint endpoint;
  EXPECT_EQ(endpoint.claim("Norvale Korvane"), InstanceEndpoint::Claim::Failed);
}

}  // namespace
}  // namespace kvqt::platform
