// A ring file and the master.dat record that describes it (the first 80 bytes
// of the input; the rest is the ring file): whatever their numbers say, reads
// and writes stay within the file and end.
#include <cstdint>
#include <string>
#include <string_view>

#include "app/core/messages.h"
#include "formats/format_driver.h"
#include "formats/ring_buffer_driver.h"
#include "fuzz_dir.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static kvqt::fuzz::ScratchDir scratch;
  kvqt::ScopedMessages quiet;
  const std::string& dir = scratch.fresh();
  std::string input(reinterpret_cast<const char*>(data), size);
  std::string record = input.substr(0, 80);
  record.resize(80, ' ');
  std::string header(80, ' ');
  header.replace(0, 8, std::string("\x21\xc6\x01\x01\x00\x00\x00\x00", 8));
  scratch.write("master.dat", header + record);

  kvqt::DatafileEntry entry;
  {
    kvqt::MasterHandles masters;
    if (kvqt::OpenMaster(masters, 0, dir) != 0 ||
        kvqt::ScanEntries(masters, 0, entry, "", kvqt::kScanNoDataFiles, dir) != 0)
      return 0;
  }
  std::string path = kvqt::RingFilePath(entry, 0, dir);
  if (path.empty() || path.find('/', dir.size()) != std::string::npos) return 0;
  scratch.write(path.substr(dir.size()), input.size() > 80 ? std::string_view(input).substr(80) : "");

  for (int id : {0, 8}) {
    kvqt::DatafileEntry scanned;
    kvqt::MasterHandles masters;
    if (kvqt::OpenMaster(masters, id, dir) != 0) continue;
    int rc = kvqt::ScanEntries(masters, id, scanned, "", 0, dir);
    kvqt::CloseMaster(masters);
    if (rc != 0) continue;
    kvqt::DatafileHandle handle;
    if (kvqt::OpenDatafile(scanned, handle, id, kvqt::OpenMode::kRead, dir) == 0) {
      kvqt::PriceRecord r;
      for (int n = 0; n < 70000 && kvqt::ReadRecord(scanned, handle, r, id) == 0; ++n) {
      }
      kvqt::PositionAtRecord(scanned, handle, id, 5);
      kvqt::ReadRecord(scanned, handle, r, id);
    }
    for (kvqt::OpenMode mode : {kvqt::OpenMode::kAppend, kvqt::OpenMode::kUpdateAtEnd}) {
      kvqt::DatafileEntry writing = scanned;
      if (kvqt::OpenDatafile(writing, handle, id, mode, dir) != 0) continue;
      kvqt::PriceRecord r;
      r.date = kvqt::Date(2000, 1, 3);
      r.close = 2;
      r.volume = 9e6f;
      kvqt::WriteRecord(writing, handle, r, id);
      kvqt::FinalizeDirectory(writing, handle, id, dir);
    }
  }
  return 0;
}
