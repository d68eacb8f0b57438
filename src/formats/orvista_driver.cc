#include "formats/orvista_driver.h"

#include <fcntl.h>
#include <unistd.h>

#include <map>

#include "app/core/logs.h"
#include "app/model/datafile.h"
#include "app/model/directory.h"
#include "app/core/personal_profile.h"
#include "formats/file_locator.h"
#include "formats/file_names.h"
#include "formats/orvista_import.h"
#include "platform/path.h"

namespace kvqt {
namespace {

// The market code read when each import stream was opened. An entry left by
// a stream closed without finalize is replaced when its address comes back.
std::map<std::FILE*, std::string>& MarketCodes() {
  static std::map<std::FILE*, std::string> codes;
  return codes;
}

bool NeverDownloaded(const Datafile& datafile) {
  return datafile.lastDate().isNull() || datafile.lastDate() == Date(1970, 1, 1);
}

void FillEntry(const Datafile& datafile, int flags, DatafileEntry& entry) {
  DatafileEntry e;
  SetEntrySymbol(e, datafile.symbol());
  SetEntryName(e, datafile.name());
  e.period = 'D';
  e.firstDate = datafile.firstDate();
  e.lastDate = datafile.lastDate();
  e.recordCount = 0;
  e.datafile = const_cast<Datafile*>(&datafile);
  if ((flags & kScanNoDataFiles) && NeverDownloaded(datafile)) {
    int months = profile().getInt("orvista2k_months_new_share", 48);
    e.firstDate = e.lastDate = Date::Today().addMonths(-months).addDays(-1);
  }
  entry = e;
}

}  // namespace

int OrvistaDriver::openDatafile(DatafileEntry&, DatafileHandle& handle, int formatId, OpenMode mode,
                                const std::string& directory, unsigned permissions) {
  if (mode == OpenMode::kRead) return -1;
  std::string name;
  DatafileEntry none;
  if (BuildFileName(none, name, formatId, directory) != 0) return -1;
  std::string path = LocatePath(name);
  bool update = mode == OpenMode::kUpdate || mode == OpenMode::kUpdateAtEnd;
  int flags = update ? O_RDWR : O_RDWR | O_CREAT | O_APPEND;
  DirectoryChange change(directory);
  int fd = ::open(path.c_str(), flags | O_CLOEXEC, permissions);
  if (fd < 0) return -1;
  change.created(platform::FileNamePart(path));
  std::FILE* f = ::fdopen(fd, update ? "rb+" : "ab+");
  if (!f) {
    ::close(fd);
    return -1;
  }
  if (update && std::fseek(f, 0, SEEK_END) != 0) {
    std::fclose(f);
    return -1;
  }
  std::setvbuf(f, nullptr, _IOFBF, 64 * 1024);
  std::string code;
  ReadMarketCode(code, directory);
  MarketCodes()[f] = code;
  handle.text = f;
  return 0;
}

int OrvistaDriver::positionAtRecord(DatafileEntry&, DatafileHandle& handle, int, std::int32_t) {
  // Import lines are only ever added at the end.
  return handle.text ? 0 : -1;
}

int OrvistaDriver::writeRecord(DatafileEntry& entry, DatafileHandle& handle, const PriceRecord& record, int,
                               const Format*) {
  if (!handle.text) return -1;
  auto found = MarketCodes().find(handle.text);
  return WriteOrvistaRecord(handle.text, found == MarketCodes().end() ? std::string() : found->second, entry,
                            record);
}

int OrvistaDriver::scanEntries(MasterHandles& masters, int, DatafileEntry& entry, const std::string& symbol,
                               int flags, const std::string&) {
  Directory* directory = masters.directoryObject;
  if (!directory) return -1;
  if (flags & kScanMatch) {
    std::string wanted = PadAndTrim(symbol, kEntrySymbolSize);
    const Datafile* datafile = nullptr;
    for (int i = 0; i < directory->size() && !datafile; ++i)
      if (PadAndTrim(directory->at(i)->symbol(), kEntrySymbolSize) == wanted) datafile = directory->at(i);
    if (!datafile) {
      debugFormat("Ticker not found in setup_next_entry [%.80s]", wanted.c_str());
      return -1;
    }
    FillEntry(*datafile, flags, entry);
    return 0;
  }
  std::int64_t next = (flags & kScanContinue) ? masters.scan.master : 0;
  if (next < 0 || next >= directory->size()) {
    masters.scan.master = directory->size();
    return -1;
  }
  FillEntry(*directory->at(static_cast<int>(next)), flags, entry);
  masters.scan.master = next + 1;
  return 0;
}

int OrvistaDriver::addEntry(DatafileEntry&, int, const std::string&) { return 0; }

int OrvistaDriver::finalize(DatafileEntry&, DatafileHandle& handle, int, const std::string&) {
  if (handle.text) MarketCodes().erase(handle.text);
  return handle.close() ? 0 : -1;
}

}  // namespace kvqt
