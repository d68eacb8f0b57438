#include "formats/datafile_entry.h"

#include "app/datafile/writer_settings.h"

namespace kvqt {

std::string PadAndTrim(std::string_view text, std::size_t size) {
  std::string out(text.substr(0, size));
  // A NUL ends a C text; nothing after it belongs to the value.
  if (auto nul = out.find('\0'); nul != std::string::npos) out.resize(nul);
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

void SetEntrySymbol(DatafileEntry& entry, std::string_view symbol) { entry.symbol = PadAndTrim(symbol, kEntrySymbolSize); }

void SetEntryName(DatafileEntry& entry, std::string_view name) { entry.name = PadAndTrim(name, kEntryNameSize); }

DatafileEntry DefaultEntryTemplate() {
  DatafileEntry entry;
  entry.fields = writerSettings().technicalInvestorFileType;
  entry.ringSize = writerSettings().technicalInvestorMaxRecords;
  return entry;
}

DatafileEntry TopVestEntryTemplate() {
  DatafileEntry entry;
  entry.fields = writerSettings().topVestFileType;
  entry.ringSize = writerSettings().topVestMaxRecords;
  return entry;
}

}  // namespace kvqt
