#include "service/dialup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_internet_library.h"
#include "fake_progress_host.h"
#include "loopback_peer.h"
#include "service/network.h"

namespace kvqt {
namespace {

using testing::FakeInternetLibrary;
using Log = std::vector<std::string>;

TEST(DialupTest, WithoutTheLibraryNothingDialsAndTheComputerCountsAsOnline) {
  EXPECT_TRUE(ProcessDialup().IsOnline());
  EXPECT_FALSE(ProcessDialup().available());

  Log log;
  FakeInternetLibrary library(&log);
  library.present = false;
  library.online = false;
  Dialup dialup(library);
  EXPECT_TRUE(dialup.IsOnline());
  dialup.AutoConnect();
  dialup.HangUpIfDialled();
  EXPECT_FALSE(dialup.dialled());
  EXPECT_TRUE(log.empty());
}

TEST(DialupTest, OnlineBeforeTheSessionNeitherDialsNorHangsUpAndReleasesTheLibrary) {
  Log log;
  FakeInternetLibrary library(&log);
  Dialup dialup(library);
  dialup.AutoConnect();
  dialup.HangUpIfDialled();
  EXPECT_FALSE(dialup.dialled());
  EXPECT_EQ(log, (Log{"load", "free"}));
  EXPECT_FALSE(dialup.available());
}

TEST(DialupTest, OfflineBeforeTheSessionDialsAndHangsUpWhatItDialled) {
  Log log;
  FakeInternetLibrary library(&log);
  library.online = false;
  Dialup dialup(library);
  dialup.AutoConnect();
  EXPECT_TRUE(dialup.dialled());
  EXPECT_EQ(log, (Log{"load", "autodial", "free"}));
  log.clear();
  dialup.HangUpIfDialled();
  EXPECT_EQ(log, (Log{"load", "hangup", "free"}));
  EXPECT_EQ(library.loads, library.frees);
}

TEST(DialupTest, ALineThatWentDownByItselfIsNotHungUp) {
  Log log;
  FakeInternetLibrary library(&log);
  library.online = false;
  Dialup dialup(library);
  dialup.AutoConnect();
  library.online = false;
  log.clear();
  dialup.HangUpIfDialled();
  EXPECT_EQ(log, (Log{"load", "free"}));
}

TEST(DialupTest, AMissingConnectedStateFunctionCountsAsOnline) {
  Log log;
  FakeInternetLibrary library(&log);
  library.online = false;
  library.has_state_function = false;
  Dialup dialup(library);
  EXPECT_TRUE(dialup.IsOnline());
  dialup.ReleaseLibrary();
  dialup.AutoConnect();
  EXPECT_FALSE(dialup.dialled());
  EXPECT_EQ(log, (Log{"load", "free", "load", "free"}));
}

TEST(DialupTest, ALibraryTheProcessAlreadyHeldIsNeverFreed) {
  Log log;
  FakeInternetLibrary library(&log);
  library.in_process = true;
  library.online = false;
  Dialup dialup(library);
  dialup.AutoConnect();
  dialup.HangUpIfDialled();
  EXPECT_EQ(log, (Log{"autodial", "hangup"}));
  EXPECT_TRUE(dialup.available());
  EXPECT_EQ(library.frees, 0);
}

TEST(DialupTest, TheConnectionDialsBeforeTheNameLookUpAndHangsUpOnClose) {
  Log log;
  FakeInternetLibrary library(&log);
  library.online = false;
  Dialup dialup(library);
  testing::LoopbackPeer peer([](testing::PeerConnection& c) {
    c.Send("hello");
    c.WaitClosed();
  });
  TNetwork network(&dialup);
  network.setResolver([&log](const std::string& host, platform::Ipv4Address* address) {
    log.push_back("resolve " + host);
    *address = platform::LoopbackAddress();
    return 0;
  });
  testing::FakeProgressHost host;
  int error = -1;
  ASSERT_TRUE(network.Connect("quotes.test", peer.port(), std::chrono::seconds(2), host, &error));
  EXPECT_EQ(log, (Log{"load", "autodial", "free", "resolve quotes.test"}));
  log.clear();
  network.Close();
  EXPECT_EQ(log, (Log{"load", "hangup", "free"}));
}

}  // namespace
}  // namespace kvqt
