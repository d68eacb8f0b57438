#include "service/session/destination.h"

#include <gtest/gtest.h>

namespace kvqt {
namespace {

TEST(DestinationTest, HostAndPortFromTheSetting) {
  const struct {
    const char* setting;
    const char* host;
    int port;
    bool isDefault;
  } cases[] = {
      {"", kDefaultServerHost, 17318, true},
      {"quotes.example.org 2000", "quotes.example.org", 2000, false},
      {"quotes.example.org", "quotes.example.org", 17318, false},
      {"quotes.example.org port", "quotes.example.org", 17318, false},
      {"127.0.0.1 port=2001 or 3000", "127.0.0.1", 2001, false},
      {"10.0.0.1  17319", "10.0.0.1", 17319, false},
      {"host 99999999999", "host", 65536, false},  // out of range: the connect refuses it
      {" 2000", "", 2000, false},
  };
  for (const auto& c : cases) {
    ServerDestination d = ParseDestination(c.setting);
    EXPECT_EQ(d.host, c.host) << c.setting;
    EXPECT_EQ(d.port, c.port) << c.setting;
    EXPECT_EQ(d.isDefault, c.isDefault) << c.setting;
  }
}

}  // namespace
}  // namespace kvqt
