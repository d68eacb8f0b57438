#include "maintenance/file_manager_actions.h"

#include "app/model/directory.h"
#include "app/model/format.h"
#include "formats/format_driver.h"
#include "maintenance/data_manager.h"
#include "maintenance/data_manager_open.h"
#include "maintenance/data_manager_view.h"

namespace kvqt {
namespace {

// Passes the data manager on to the view in use and keeps the data file it
// ends with.
class ClosingDatafile : public DataManagerView {
 public:
  explicit ClosingDatafile(DataManagerView& view) : view_(view) {}
  void run(DataManager& manager) override {
    view_.run(manager);
    datafile = &manager.datafile();
  }
  Datafile* datafile = nullptr;

 private:
  DataManagerView& view_;
};

}  // namespace

int DeleteInstruments(const Format& format, Directory& directory, const std::vector<Datafile*>& datafiles) {
  int deleted = 0;
  for (Datafile* datafile : datafiles) {
    const int position = directory.indexOf(datafile);
    if (position < 0) continue;
    DatafileEntry entry;
    if (DeleteEntry(datafile->symbol(), entry, format.formatId(), directory.name()) != 0) continue;
    if (directory.removeAt(position) == 0) ++deleted;
  }
  return deleted;
}

Datafile* OpenInstrument(Format& format, Directory& directory, Datafile& datafile) {
  ClosingDatafile closing(dataManagerView());
  DataManagerView* previous = setDataManagerView(&closing);
  const int opened = OpenDataManager(format, directory, datafile);
  setDataManagerView(previous);
  return opened == 1 ? closing.datafile : nullptr;
}

}  // namespace kvqt
