// Where a download session connects: the user's destination setting, "host",
// "host port" or empty for the download server.
#pragma once

#include <string>
#include <string_view>

namespace kvqt {

inline constexpr int kDefaultServerPort = 17318;
// The download server when the user has set no destination.
inline constexpr const char* kDefaultServerHost = "download.norvale.example";

struct ServerDestination {
  std::string host;
  int port = kDefaultServerPort;
  bool isDefault = false;  // the user set no destination
};

// Empty: the default server and port. Otherwise the text up to the first
// blank is the host; after the blank, the first run of digits (when there is
// one) is the port, else the default port stays.
ServerDestination ParseDestination(std::string_view destination);

}  // namespace kvqt
