#include "platform/drive_c.h"

#include <cstdlib>

#include "platform/path.h"

namespace kvqt::platform {
namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

}  // namespace

std::string DriveCDirectory() {
  const std::string home = EnsureTrailingSeparator(Env("HOME").empty() ? "/" : Env("HOME"));
  std::string prefix = Env("WINEPREFIX");
  if (prefix.empty()) prefix = home + ".wine";
  const std::string drive = EnsureTrailingSeparator(prefix) + "drive_c/";
  return DirectoryExists(drive) ? drive : home;
}

std::string FromWindowsPath(std::string_view path) {
  if (path.size() < 2 || path[1] != ':' || (path[0] != 'c' && path[0] != 'C')) return std::string(path);
  std::string rest(path.substr(2));
  for (char& c : rest)
    if (c == '\\') c = '/';
  while (!rest.empty() && rest.front() == '/') rest.erase(0, 1);
  return DriveCDirectory() + rest;
}

}  // namespace kvqt::platform
