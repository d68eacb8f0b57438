#include "maintenance/datafile_records.h"

#include <cctype>
#include <new>

#include "formats/format_driver.h"

namespace kvqt {
namespace {

// What a text data file holds after the driver ended its data: only blank
// space when the whole file was read.
bool OnlyBlankSpaceLeft(std::FILE* f) {
  int c;
  while ((c = std::fgetc(f)) != EOF)
    if (!std::isspace(static_cast<unsigned char>(c)) && c != 0x1A) return false;
  return true;
}

}  // namespace

int ReadDatafileRecords(const Format* format, int formatId, const std::string& directory,
                        const std::string& symbol, DatafileRecords& out) {
  out = DatafileRecords();
  if (FindEntry(symbol, out.entry, formatId, directory, kScanReadHeader) != 0) return kReadNoEntry;
  DatafileEntry reading = out.entry;
  DatafileHandle handle;
  if (OpenDatafile(reading, handle, formatId, OpenMode::kRead, directory) != 0) return kReadNoEntry;
  // The count in the master is only a hint: a stale or damaged one must
  // neither cut the data short nor reserve memory it does not need.
  std::int32_t hint = PriceRecordCount(out.entry, formatId);
  try {
    if (hint > 0) out.records.reserve(static_cast<std::size_t>(hint < 65536 ? hint : 65536));
    PriceRecord record;
    while (ReadRecord(reading, handle, record, formatId, format) == 0) {
      if (out.records.size() >= static_cast<std::size_t>(kMaxManagedRecords)) {
        out.records = {};
        return kReadTooLarge;
      }
      out.records.push_back(record);
    }
  } catch (const std::bad_alloc&) {
    out.records = {};
    return kReadNoMemory;
  }
  if (handle.text) out.complete = OnlyBlankSpaceLeft(handle.text);
  return 0;
}

}  // namespace kvqt
