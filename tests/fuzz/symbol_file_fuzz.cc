// The data files of the formats without a master (.kbf, .kbt and the legacy
// .mm? and .hdf files): no content may crash or hang the scan that lists
// them, the reader or an append.
#include <cstdint>
#include <string>

#include "app/core/messages.h"
#include "formats/format_driver.h"
#include "fuzz_dir.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static kvqt::fuzz::ScratchDir scratch;
  kvqt::ScopedMessages quiet;
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  struct Kind {
    int id;
    const char* name;
  } kinds[] = {{6, "FUZZ.kbf"}, {22, "FUZZ.kbt"}, {1, "FUZZ.mmD"}, {7, "FUZZ.hdf"}};
  for (const Kind& k : kinds) {
    const std::string& dir = scratch.fresh();
    scratch.write(k.name, bytes);
    for (int flags : {0, kvqt::kScanNoDataFiles}) {
      kvqt::MasterHandles masters;
      if (kvqt::OpenMaster(masters, k.id, dir) != 0) continue;
      kvqt::DatafileEntry entry;
      for (int next = flags, n = 0; n < 4 && kvqt::ScanEntries(masters, k.id, entry, "", next, dir) == 0;
           ++n, next = flags | kvqt::kScanContinue) {
        kvqt::DatafileHandle handle;
        if (kvqt::OpenDatafile(entry, handle, k.id, kvqt::OpenMode::kRead, dir) != 0) continue;
        kvqt::PriceRecord r;
        for (int i = 0; i < 100000 && kvqt::ReadRecord(entry, handle, r, k.id) == 0; ++i) {
        }
      }
      kvqt::CloseMaster(masters);
    }
    kvqt::DatafileEntry entry;
    if (kvqt::FindEntry("FUZZ", entry, k.id, dir) != 0) continue;
    kvqt::DatafileHandle handle;
    if (kvqt::OpenDatafile(entry, handle, k.id, kvqt::OpenMode::kUpdateAtEnd, dir) != 0) continue;
    kvqt::PriceRecord r;
    r.date = kvqt::Date(2000, 1, 3);
    r.close = 2;
    kvqt::WriteRecord(entry, handle, r, k.id);
    kvqt::FinalizeDirectory(entry, handle, k.id, dir);
  }
  return 0;
}
