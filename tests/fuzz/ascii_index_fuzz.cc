// A directory's master.kvq (or its legacy master.bin) may be damaged, cut
// short or of an older layout: opening, scanning, looking up, adding and
// converting must neither crash nor hang, and a refused index stays as it was.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/core/messages.h"
#include "formats/ascii_index.h"
#include "formats/format_driver.h"
#include "platform/atomic_file.h"

namespace {

const std::string& Directory() {
  static const std::string dir = [] {
    char pattern[] = "/tmp/kvqt-fuzz-index-XXXXXX";
    const char* made = ::mkdtemp(pattern);
    if (!made) std::abort();
    return std::string(made) + "/";
  }();
  return dir;
}

void Reset(const std::string& dir) {
  for (const char* name : {"master.kvq", "master.bin", "master.old", "NEW.prn"}) ::unlink((dir + name).c_str());
}

void Write(const std::string& path, const std::string& bytes) {
  if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
}

void RemoveDirectory() {
  Reset(Directory());
  ::rmdir(Directory().c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string& dir = Directory();
  static const bool cleanup = std::atexit(RemoveDirectory) == 0;
  (void)cleanup;
  kvqt::ScopedMessages quiet;

  Reset(dir);
  Write(dir + "master.kvq", bytes);
  kvqt::MasterHandles masters;
  if (kvqt::OpenMaster(masters, 5, dir) == 0) {
    kvqt::DatafileEntry entry;
    int flags = 0;
    for (std::size_t n = 0; kvqt::ScanEntries(masters, 5, entry, "", flags, dir) == 0; ++n) {
      if (n > size) __builtin_trap();  // each entry takes a whole record
      flags = kvqt::kScanContinue;
    }
    kvqt::CloseMaster(masters);
  }
  kvqt::DatafileEntry found;
  kvqt::FindEntry("ABC", found, 5, dir);

  // An add never replaces an index that fails its header check.
  bool refused = kvqt::OpenMaster(masters, 5, dir) != 0;
  kvqt::CloseMaster(masters);
  kvqt::DatafileEntry added;
  kvqt::AddEntry("NEW", "New", 'D', added, 5, dir);
  std::string after;
  kvqt::platform::ReadWholeFile(dir + "master.kvq", after);
  if (refused && after != bytes) __builtin_trap();

  kvqt::ascii_index::ConvertFormerIndex(5, dir);
  Reset(dir);
  Write(dir + "master.bin", bytes);
  kvqt::CheckMaster(9, dir);
  Reset(dir);
  return 0;
}
