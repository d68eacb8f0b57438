#include "service/socket_error_text.h"

#include <gtest/gtest.h>
#include <netdb.h>

#include <cerrno>

#include <string>

#include "platform/socket.h"
#include "service/network.h"

namespace kvqt {
namespace {

TEST(SocketErrorTextTest, CodesGiveTheirTextsAndUnknownCodesNone) {
  const struct {
    int code;
    const char* text;
  } cases[] = {
      {10000, "None"},
      {10004, "Interruped system call"},
      {10035, "Operation would block"},
      {10054, "Connection reset by peer"},
      {10060, "Connection timed out"},
      {10061, "Connection refused"},
      {10093, "WSASTARTUP not performed"},
      {11001, "Host not found"},
      {11004, "WSANO_DATA"},
      {0, ""},
      {10001, ""},
      {12345, ""},
      {-1, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(std::string(TNetwork::ErrorText(c.code)), c.text) << c.code;
  }
}

TEST(SocketErrorTextTest, SystemErrorsMapToTheCodesOfTheTable) {
  const struct {
    int error;
    int code;
  } cases[] = {
      {ECONNREFUSED, 10061}, {ETIMEDOUT, 10060},   {ECONNRESET, 10054}, {EPIPE, 10054},
      {ENETUNREACH, 10051},  {EHOSTUNREACH, 10065}, {EADDRINUSE, 10048}, {EINPROGRESS, 10036},
      {EAGAIN, 10035},       {EACCES, 10013},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::SocketErrorFromErrno(c.error), c.code) << c.error;
  }
  EXPECT_EQ(platform::SocketErrorFromResolver(EAI_NONAME, 0), 11001);
  EXPECT_EQ(platform::SocketErrorFromResolver(EAI_AGAIN, 0), 11002);
  EXPECT_EQ(platform::SocketErrorFromResolver(EAI_FAIL, 0), 11003);
  EXPECT_EQ(platform::SocketErrorFromResolver(EAI_SYSTEM, ECONNREFUSED), 10061);
}

}  // namespace
}  // namespace kvqt
