// The symbol-table feed comes from the network: no content may crash its
// processing. Each run applies the feed to a fresh table in a directory of its own.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/core/personal_profile.h"
#include "service/symbols/digital_feed.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string dir = [] {
    std::string d = "/tmp/kvqt-fuzz-feed-" + std::to_string(::getpid()) + "/";
    std::filesystem::create_directories(d);
    kvqt::setProfilePath(d + "kvqt.ini");
    return d;
  }();
  std::filesystem::remove(dir + "kvqt.sdb");
  const std::string feed = dir + "sintab.fd";
  std::FILE* f = std::fopen(feed.c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  {
    kvqt::TDigitalFeed processor(dir);
    processor.ProcessFeed(feed, nullptr);
  }
  return 0;
}
