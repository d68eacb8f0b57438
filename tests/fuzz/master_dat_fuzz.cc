// master.dat may come from another program or a damaged disk: no content may
// crash, hang or overrun the scan, the reads of the ring files it names, or an
// add and a write-back into it.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "app/datafile/writer_settings.h"
#include "app/core/messages.h"
#include "formats/format_driver.h"
#include "formats/ring_buffer_driver.h"
#include "formats/ring_layout.h"
#include "fuzz_dir.h"

namespace {

std::vector<kvqt::DatafileEntry> Scan(const std::string& dir, int id, int flags) {
  std::vector<kvqt::DatafileEntry> entries;
  kvqt::MasterHandles masters;
  if (kvqt::OpenMaster(masters, id, dir) != 0) return entries;
  kvqt::DatafileEntry entry;
  for (int next = flags; entries.size() < 64 && kvqt::ScanEntries(masters, id, entry, "", next, dir) == 0;
       next = flags | kvqt::kScanContinue)
    entries.push_back(entry);
  kvqt::CloseMaster(masters);
  return entries;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static kvqt::fuzz::ScratchDir scratch;
  kvqt::ScopedMessages quiet;
  kvqt::writerSettings().technicalInvestorFileType = 6;
  kvqt::writerSettings().technicalInvestorMaxRecords = 4;
  const std::string& dir = scratch.fresh();
  scratch.write("master.dat", std::string_view(reinterpret_cast<const char*>(data), size));

  // Ring files for the first entries, zero-filled up to a small size.
  std::vector<kvqt::DatafileEntry> listed = Scan(dir, 0, kvqt::kScanNoDataFiles);
  for (std::size_t i = 0; i < listed.size() && i < 4; ++i) {
    std::string path = kvqt::RingFilePath(listed[i], 0, dir);
    if (path.empty() || path.find('/', dir.size()) != std::string::npos) continue;
    std::size_t bytes = static_cast<std::size_t>(std::max(listed[i].ringSize, 0)) *
                        kvqt::ring::RecordSize(listed[i].fields);
    scratch.write(path.substr(dir.size()), std::string(std::min<std::size_t>(bytes, 4096), '\x5a'));
  }

  for (int id : {0, 8}) {
    for (kvqt::DatafileEntry& entry : Scan(dir, id, 0)) {
      kvqt::DatafileHandle handle;
      if (kvqt::OpenDatafile(entry, handle, id, kvqt::OpenMode::kRead, dir) != 0) continue;
      kvqt::PriceRecord record;
      for (int n = 0; n < 70000 && kvqt::ReadRecord(entry, handle, record, id) == 0; ++n) {
      }
    }
    kvqt::DatafileEntry found;
    kvqt::FindEntry("FUZZ", found, id, dir);
  }

  kvqt::DatafileEntry entry;
  if (kvqt::CreateEntry("FUZZ", "Fuzz", 0, entry, 0, dir) == 1) {
    kvqt::DatafileHandle handle;
    if (kvqt::OpenDatafile(entry, handle, 0, kvqt::OpenMode::kAppend, dir) == 0) {
      kvqt::PriceRecord record;
      record.date = kvqt::Date(2000, 1, 3);
      record.close = 1;
      kvqt::WriteRecord(entry, handle, record, 0);
      kvqt::FinalizeDirectory(entry, handle, 0, dir);
    }
  }
  return 0;
}
