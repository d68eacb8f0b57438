// "Replace yesterday's real-time price": a data file whose last price came
// from a real-time request asks for that day again.
#include "app/core/logs.h"
#include "app/model/datafile.h"
#include "app/model/directory.h"
#include "app/model/format.h"
#include "app/model/text_field.h"
#include "service/request_file.h"

namespace kvqt {

void RefreshCheck(DatafileEntry& entry, const Format* format, const std::string& directoryPath) {
  const Directory* directory = format ? format->directoryByName(directoryPath) : nullptr;
  if (!directory) {
    debug2("RefreshCheck: directory of format not found:", directoryPath);
    return;
  }
  // Entries without a name are kept under their symbol, as the data model names them.
  std::string name = FieldText(entry.name, kInstrumentNameSize);
  if (name.empty()) name = FieldText(entry.symbol, kInstrumentNameSize);
  const Datafile* datafile = directory->find(FieldText(entry.symbol, kSymbolSize), name);
  if (!datafile) {
    debug2("RefreshCheck: datafile not found:", entry.symbol);
    return;
  }
  if (datafile->realtime()) entry.lastDate = entry.lastDate.addDays(-1);
}

}  // namespace kvqt
