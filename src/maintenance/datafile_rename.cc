#include "maintenance/datafile_rename.h"

#include <memory>

#include "app/model/directory.h"

namespace kvqt {

Datafile* RenameDatafile(Directory& directory, Datafile& datafile, std::string_view symbol, std::string_view name) {
  int index = directory.indexOf(&datafile);
  if (index < 0) return nullptr;
  auto copy = std::make_unique<Datafile>(symbol, name, datafile.formatId(), datafile.market());
  copy->setPer(datafile.per());
  copy->setInterval(datafile.interval());
  copy->setSelected(datafile.selected());
  copy->setDates(datafile.firstDate(), datafile.firstTime(), datafile.lastDate(), datafile.lastTime(),
                 datafile.recordCount());
  copy->setSeen(datafile.seen());
  if (datafile.realtime()) copy->setRealtime();
  copy->setFactor(datafile.factor());
  if (directory.removeAt(index) != 0) return nullptr;
  return directory.add(std::move(copy));
}

}  // namespace kvqt
