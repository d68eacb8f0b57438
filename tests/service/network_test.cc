#include "service/network.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "fake_progress_host.h"
#include "loopback_peer.h"

namespace kvqt {
namespace {

using std::chrono::milliseconds;
using testing::FakeProgressHost;
using testing::LoopbackPeer;
using testing::PeerConnection;
using Clock = std::chrono::steady_clock;

long MsSince(Clock::time_point start) {
  return static_cast<long>(std::chrono::duration_cast<milliseconds>(Clock::now() - start).count());
}

// A peer that greets and then waits for the client to go.
LoopbackPeer::Script Greeter(const std::string& greeting = "hello\r\n") {
  return [greeting](PeerConnection& c) {
    c.Send(greeting);
    c.WaitClosed();
  };
}

TEST(NetworkTest, ConnectsOnceTheServerHasSpoken) {
  LoopbackPeer peer(Greeter());
  TNetwork network;
  FakeProgressHost host;
  int error = -1;
  ASSERT_TRUE(network.Connect("127.0.0.1", peer.port(), std::chrono::seconds(2), host, &error));
  EXPECT_EQ(error, 0);
  EXPECT_TRUE(network.connected());
  char bytes[16];
  long n = 0;
  for (int i = 0; i < 100 && n == 0; ++i) {
    network.WaitReadable(20);
    n = network.Receive(bytes, sizeof bytes);
  }
  EXPECT_EQ(std::string(bytes, n > 0 ? n : 0), "hello\r\n");
  network.Close();
  EXPECT_FALSE(network.connected());
}

TEST(NetworkTest, AServerThatAcceptsButNeverSpeaksTimesOutWithErrorZero) {
  LoopbackPeer peer;  // listens; the system completes the connect, nobody speaks
  TNetwork network;
  FakeProgressHost host;
  int error = -1;
  Clock::time_point start = Clock::now();
  EXPECT_FALSE(network.Connect("127.0.0.1", peer.port(), milliseconds(300), host, &error));
  EXPECT_EQ(error, 0);
  EXPECT_GE(MsSince(start), 300);
  EXPECT_LT(MsSince(start), 2000);
  EXPECT_GT(host.pumps, 0);
  EXPECT_FALSE(network.connected());
}

// Waiting for the greeting blocks on the socket between pumps, which come
// about every 100 ms: at most one per 100 ms elapsed and one at the start.
TEST(NetworkTest, ConnectWaitsForTheGreetingWithoutSpinning) {
  LoopbackPeer peer([](PeerConnection& c) {
    std::this_thread::sleep_for(milliseconds(350));
    c.Send("hello\r\n");
    c.WaitClosed();
  });
  TNetwork network;
  FakeProgressHost host;
  int error = -1;
  Clock::time_point start = Clock::now();
  ASSERT_TRUE(network.Connect("127.0.0.1", peer.port(), std::chrono::seconds(5), host, &error));
  EXPECT_GE(host.pumps, 2);
  EXPECT_LE(host.pumps, 1 + MsSince(start) / 100);
  network.Close();
}

TEST(NetworkTest, ARefusedConnectionGivesItsCodeAtOnce) {
  TNetwork network;
  FakeProgressHost host;
  int error = 0;
  Clock::time_point start = Clock::now();
  EXPECT_FALSE(network.Connect("127.0.0.1", testing::UnusedLoopbackPort(), std::chrono::seconds(5), host, &error));
  EXPECT_EQ(error, 10061);
  EXPECT_STREQ(TNetwork::ErrorText(error), "Connection refused");
  EXPECT_LT(MsSince(start), 2000);
}

TEST(NetworkTest, CancelEndsTheConnectWithErrorZero) {
  LoopbackPeer peer;
  TNetwork network;
  FakeProgressHost host;
  host.on_pump = [](FakeProgressHost& h) {
    if (h.pumps == 3) h.cancel();
  };
  int error = -1;
  Clock::time_point start = Clock::now();
  EXPECT_FALSE(network.Connect("127.0.0.1", peer.port(), std::chrono::seconds(10), host, &error));
  EXPECT_EQ(error, 0);
  EXPECT_EQ(host.pumps, 3);
  EXPECT_LT(MsSince(start), 2000);
}

TEST(NetworkTest, OnlyHostsThatStartWithADigitAndHoldADotSkipTheNameLookUp) {
  const struct {
    const char* host;
    bool looked_up;
  } cases[] = {
      {"127.0.0.1", false},
      {"127.1", false},
      {"4hosts", true},
      {"localhost", true},
      {"127.0.0.1.test", true},  // not a dotted address after all
  };
  for (const auto& c : cases) {
    LoopbackPeer peer(Greeter());
    TNetwork network;
    std::vector<std::string> lookups;
    network.setResolver([&lookups](const std::string& host, platform::Ipv4Address* address) {
      lookups.push_back(host);
      *address = platform::LoopbackAddress();
      return 0;
    });
    FakeProgressHost host;
    int error = -1;
    EXPECT_TRUE(network.Connect(c.host, peer.port(), std::chrono::seconds(2), host, &error)) << c.host;
    EXPECT_EQ(lookups.size(), c.looked_up ? 1u : 0u) << c.host;
    network.Close();
  }
}

TEST(NetworkTest, AFailedLookUpReportsItsCode) {
  TNetwork network;
  network.setResolver([](const std::string&, platform::Ipv4Address*) { return platform::kSocketHostNotFound; });
  FakeProgressHost host;
  int error = 0;
  EXPECT_FALSE(network.Connect("quotes.test", 17318, std::chrono::seconds(1), host, &error));
  EXPECT_EQ(error, 11001);
  EXPECT_STREQ(TNetwork::ErrorText(error), "Host not found");
}

TEST(NetworkTest, APeerThatClosedMakesReceiveFailInsteadOfLookingIdle) {
  LoopbackPeer peer([](PeerConnection& c) { c.Send("bye"); });
  TNetwork network;
  FakeProgressHost host;
  int error = -1;
  ASSERT_TRUE(network.Connect("127.0.0.1", peer.port(), std::chrono::seconds(2), host, &error));
  peer.Join();
  std::string got;
  long n = 0;
  for (int i = 0; i < 100; ++i) {
    char bytes[16];
    network.WaitReadable(20);
    n = network.Receive(bytes, sizeof bytes);
    if (n < 0) break;
    got.append(bytes, n);
  }
  EXPECT_EQ(got, "bye");
  EXPECT_EQ(n, -1);
  EXPECT_TRUE(network.broken());
  EXPECT_EQ(network.lastError(), 10054);
}

TEST(NetworkTest, SendOnAnUnconnectedNetworkSendsNothing) {
  TNetwork network;
  EXPECT_EQ(network.SendText("abc"), 0u);
  char byte;
  EXPECT_EQ(network.Receive(&byte, 1), -1);
}

}  // namespace
}  // namespace kvqt
