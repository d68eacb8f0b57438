#include "service/session/destination.h"

namespace kvqt {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

ServerDestination ParseDestination(std::string_view destination) {
  ServerDestination result;
  if (destination.empty()) {
    result.host = kDefaultServerHost;
    result.isDefault = true;
    return result;
  }
  const std::size_t blank = destination.find(' ');
  result.host = std::string(destination.substr(0, blank));
  if (blank == std::string_view::npos) return result;

  std::string_view rest = destination.substr(blank + 1);
  std::size_t i = 0;
  while (i < rest.size() && !IsDigit(rest[i])) ++i;
  if (i == rest.size()) return result;
  long port = 0;
  for (; i < rest.size() && IsDigit(rest[i]); ++i) {
    port = port * 10 + (rest[i] - '0');
    // A number past any port cannot connect; keep it out of range without overflowing.
    if (port > 65535) port = 65536;
  }
  result.port = static_cast<int>(port);
  return result;
}

}  // namespace kvqt
