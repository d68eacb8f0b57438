#include "maintenance/file_manager_fields.h"

#include "app/model/format_ids.h"
#include "app/model/formats.h"
#include "formats/datafile_entry.h"

namespace kvqt {
namespace {

// Koersbase II and the Hermes formats take only the symbol of a new instrument.
bool SymbolOnly(int formatId) {
  return formatId == kFormatIdKoersbase || formatId == kFormatIdHermes || formatId == kFormatIdHermesIntraday;
}

}  // namespace

std::vector<Format*> FileManagerFormats(const Formats& formats) {
  std::vector<Format*> offered;
  for (int i = 0; i < formats.count(); ++i) {
    Format* format = formats.at(i);
    if ((format->addInstruments() || !format->noMasterScan()) && format->hasDirectories()) offered.push_back(format);
  }
  return offered;
}

FileManagerFields FileManagerFieldsFor(const Format* format) {
  FileManagerFields fields;
  fields.symbolLength = static_cast<int>(kEntrySymbolSize);
  if (!format) return fields;
  fields.open = !format->noMasterScan();
  fields.nameLength = format->maxNameLength() > 0 ? format->maxNameLength() : 0;
  fields.nameReadOnly = fields.nameLength == 0;
  if (!format->addInstruments()) return fields;
  fields.instrumentButtons = true;
  fields.symbol = true;
  const bool symbolOnly = SymbolOnly(format->formatId());
  fields.name = !symbolOnly;
  fields.startDate = !symbolOnly;
  fields.factor = !symbolOnly;
  fields.interval = !symbolOnly && format->intradayFields();
  return fields;
}

}  // namespace kvqt
