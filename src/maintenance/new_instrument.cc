#include "maintenance/new_instrument.h"

#include <memory>

#include "app/model/datafile.h"
#include "app/model/directory.h"
#include "app/model/format.h"
#include "formats/format_driver.h"
#include "platform/path.h"

namespace kvqt {

bool SymbolNamesDataFile(const std::string& symbol, int formatId, const std::string& path) {
  DatafileEntry probe = DefaultEntryTemplate();
  SetEntrySymbol(probe, symbol);
  if (probe.symbol.empty()) return false;
  probe.fileNumber = 1;
  std::string name;
  return BuildFileName(probe, name, formatId, path) == 0;
}

char NewInstrumentPeriod(const Format& format) { return format.intraday() ? 'I' : 'D'; }

Date NewInstrumentLastDate(const Format& format, Date start, bool typedByHand) {
  return typedByHand && format.intraday() ? start : start.addDays(-1);
}

int CreateInstrument(const NewInstrument& instrument, const Format& format, Directory& directory, Datafile** added) {
  if (added) *added = nullptr;
  const int formatId = format.formatId();
  const std::string path = platform::EnsureTrailingSeparator(directory.name());
  if (!SymbolNamesDataFile(instrument.symbol, formatId, path)) return kInstrumentBadSymbol;
  const char period = NewInstrumentPeriod(format);
  DatafileEntry entry = DefaultEntryTemplate();
  entry.firstDate = instrument.firstDate;
  entry.period = period;
  const int rc = CreateEntry(instrument.symbol, instrument.name, static_cast<std::uint16_t>(instrument.interval),
                             entry, formatId, path);
  if (rc != 1) return rc == 0 ? kInstrumentExists : kInstrumentFailed;

  // The entry's texts are what the master now holds, so the next read of the
  // directory finds this Datafile again.
  auto datafile = std::make_unique<Datafile>(entry.symbol, entry.name, formatId);
  datafile->setPer(period);
  datafile->setInterval(instrument.interval);
  datafile->setFactor(instrument.factor);
  datafile->setDates(instrument.firstDate, Time(0, 0, 0), instrument.lastDate, Time(0, 0, 0), 0);
  datafile->setSelected(directory.selectionMode() == Directory::kSelectAll);
  Datafile* joined = directory.add(std::move(datafile));
  if (added) *added = joined;
  return kInstrumentAdded;
}

}  // namespace kvqt
