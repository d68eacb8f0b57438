#include "platform/display.h"

#include <sys/stat.h>

#include <cstdlib>
#include <string>

namespace kvqt::platform {
namespace {

bool Set(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && value[0] != '\0';
}

}  // namespace

bool DisplayAvailable() {
  if (Set("QT_QPA_PLATFORM") || Set("WAYLAND_DISPLAY")) return true;
  if (!Set("DISPLAY")) return false;
  const std::string display = std::getenv("DISPLAY");
  // ":N" or ":N.S" is a local server with a socket we can look for; a remote
  // one ("host:N") is taken on trust.
  if (display[0] != ':') return true;
  std::string number;
  for (std::size_t i = 1; i < display.size() && display[i] >= '0' && display[i] <= '9'; ++i) number += display[i];
  if (number.empty()) return false;
  struct stat st;
  return ::stat(("/tmp/.X11-unix/X" + number).c_str(), &st) == 0;
}

}  // namespace kvqt::platform
