#include "maintenance/ticker_names.h"

#include <cstdio>

#include "app/core/messages.h"
#include "app/model/datafile.h"
#include "app/model/directory.h"
#include "app/model/format.h"
#include "app/model/format_ids.h"
#include "datetime/parse_date.h"
#include "formats/format_driver.h"
#include "maintenance/datafile_rename.h"
#include "maintenance/new_instrument.h"
#include "maintenance/ticker_file.h"
#include "platform/path.h"

namespace kvqt {
namespace {

class TickerFile {
 public:
  explicit TickerFile(const std::string& fileName)
      : file_(fileName.empty() ? nullptr : std::fopen(platform::ResolveNoCase(fileName).c_str(), "rbe")) {
    if (!file_) message2("Error opening ticker/names file", fileName);
  }
  ~TickerFile() {
    if (file_) std::fclose(file_);
  }
  TickerFile(const TickerFile&) = delete;
  TickerFile& operator=(const TickerFile&) = delete;

  bool isOpen() const { return file_ != nullptr; }
  bool next(std::string& line) { return reader_.next(line); }

 private:
  std::FILE* file_;
  TickerFileReader reader_{file_};
};

// The Datafile of a renamed entry takes the name as the master now holds it,
// as the next read of the directory would.
void RenameDatafileFromMaster(Directory& directory, const std::string& symbol, const std::string& path) {
  Datafile* old = directory.bySymbol(symbol);
  DatafileEntry entry;
  if (!old || FindEntry(symbol, entry, kFormatIdMetastock, path) != 0 || entry.name == old->name()) return;
  RenameDatafile(directory, *old, old->symbol(), entry.name);
}

int InsertNames(const std::string& fileName, Directory& directory, bool symbolsAsNames) {
  TickerFile file(fileName);
  if (!file.isOpen()) return -1;
  const std::string path = platform::EnsureTrailingSeparator(directory.name());
  if (CheckMaster(kFormatIdMetastock, path) != 0) {
    message2("No master file found in directory", directory.name());
    return -1;
  }
  // A master that is there but cannot be read would fail every line alike.
  MasterHandles masters;
  const int opened = OpenMaster(masters, kFormatIdMetastock, path);
  CloseMaster(masters);
  if (opened != 0) {
    message2("Error opening masterfile", directory.name());
    return -1;
  }

  std::string line;
  while (file.next(line)) {
    std::string_view symbolField, nameField;
    if (symbolsAsNames) {
      symbolField = nameField = CutSymbolField(line);
      if (symbolField.empty()) continue;
    } else if (!CutNameLine(line, symbolField, nameField)) {
      continue;
    }
    const std::string symbol = PadAndTrim(symbolField, kEntrySymbolSize);
    // A symbol the directory does not hold is passed over.
    if (symbol.empty() || SetEntryNameInMaster(symbol, std::string(nameField), kFormatIdMetastock, path) != 0)
      continue;
    if (directory.scanned()) RenameDatafileFromMaster(directory, symbol, path);
  }
  return 0;
}

int AddInstruments(const std::string& fileName, Date startDate, Format& format, Directory& directory,
                   bool symbolsOnly) {
  if (!format.addInstruments()) {
    message2("Option not supported for format", format.name());
    return -1;
  }
  TickerFile file(fileName);
  if (!file.isOpen()) return -1;
  // An intraday entry without an interval would be no entry of its format at all.
  const int interval = format.intradayFields() ? kDefaultIntradayInterval : 0;

  std::string line;
  while (file.next(line)) {
    std::string_view symbol, name, dateField;
    if (symbolsOnly) {
      symbol = name = CutSymbolLine(line);
      if (symbol.empty()) continue;
    } else if (!CutMasterLine(line, symbol, name, dateField)) {
      continue;
    }
    Date start = dateField.empty() ? Date() : ParseDate(dateField, "?md");
    if (start.isNull()) start = startDate;
    if (start.isNull()) {
      message("No startdate specified");
      return -1;
    }
    NewInstrument instrument;
    instrument.symbol = std::string(symbol);
    instrument.name = std::string(name);
    instrument.firstDate = start;
    instrument.lastDate = NewInstrumentLastDate(format, start, false);
    instrument.interval = interval;
    // The driver has shown why the directory took no entry; the next lines
    // would fare no better. A symbol that names no file is the line's own
    // fault: said, as adding an instrument by hand says it, and skipped.
    const int rc = CreateInstrument(instrument, format, directory);
    if (rc == kInstrumentFailed) return -1;
    if (rc == kInstrumentBadSymbol) message2("Cannot add datafile", instrument.symbol);
  }
  return 0;
}

}  // namespace

int insertNames(const std::string& fileName, Directory& directory) { return InsertNames(fileName, directory, false); }

int insertSymbolsAsNames(const std::string& fileName, Directory& directory) {
  return InsertNames(fileName, directory, true);
}

int addToMaster(const std::string& fileName, Date startDate, Format& format, Directory& directory) {
  return AddInstruments(fileName, startDate, format, directory, false);
}

int addSymbols(const std::string& fileName, Date startDate, Format& format, Directory& directory) {
  return AddInstruments(fileName, startDate, format, directory, true);
}

}  // namespace kvqt
