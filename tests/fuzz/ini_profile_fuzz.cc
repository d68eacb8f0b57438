// The settings file is edited by hand: no content may crash the profile reader
// or writer.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/ini_profile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = "/tmp/kvqt-fuzz-ini-" + std::to_string(::getpid()) + ".ini";
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  using namespace kvqt::platform;
  GetProfileString(path, "configure", "debugmode", "x", 199);
  GetProfileInt(path, "Configure", "WindowPositionX", 5);
  WriteProfileString(path, "configure", "newkey", "value");
  GetProfileString(path, "configure", "newkey", "", 199);
  std::remove(path.c_str());
  return 0;
}
