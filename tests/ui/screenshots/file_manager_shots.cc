#include "app/application.h"
#include "app/model/format_table.h"
#include "ui/file_manager_dialog.h"
#include "ui/find_dialog.h"
#include "ui/screenshots/screenshot.h"

namespace kvqt::screenshots {
namespace {

struct Instrument {
  const char* symbol;
  const char* name;
  Date first;
  Date last;
  Time lastTime;
};

// The program's formats with one directory of the format `symbol`, current,
// holding the instruments.
Application& ShotApplication(const char* symbol, const char* path, std::initializer_list<Instrument> instruments,
                             int interval = 0) {
  static Application application({});
  Formats& formats = application.formats();
  formats.clear();
  MergeFormatTable(formats);
  Format* format = formats.findBySymbol(symbol);
  format->addDirectory(std::make_unique<Directory>(path, format->formatId()));
  format->setCurrentDirectory(path);
  Directory* directory = format->currentDirectory();
  for (const Instrument& i : instruments) {
    Datafile* d = directory->add(std::make_unique<Datafile>(i.symbol, i.name, format->formatId(), 30));
    d->setDates(i.first, Time(0, 0, 0), i.last, i.lastTime, 250);
    d->setInterval(interval);
  }
  formats.setCurrentIndex(formats.indexOf(format));
  return application;
}

const Shot kFileManager("korv_filemanager", [](Scene& scene) {
  Application& application = ShotApplication(
      "MS", "/home/user/.wine/drive_c/Metastock/Daily/",
      {{"AEX", "AEX Index", Date(1998, 1, 2), Date(2026, 12, 10), Time()},
       {"ASML", "ASML Holding", Date(1998, 1, 2), Date(2026, 12, 10), Time()},
       {"INGA", "ING Groep", Date(1999, 3, 1), Date(2026, 12, 10), Time()},
       {"PHIA", "Koninklijke Philips", Date(1998, 1, 2), Date(2026, 12, 9), Time()},
       {"HEIA", "Heineken", Date(2001, 6, 18), Date(2026, 12, 10), Time()},
       {"UNA", "Unilever", Date(1998, 1, 2), Date(2026, 12, 10), Time()},
       {"RDSA", "Royal Dutch Shell A", Date(2005, 7, 20), Date(2022, 1, 28), Time()},
       {"NEW", "New Listing", Date(2026, 12, 4), Date(2026, 12, 3), Time()}});
  return scene.keep(new ui::FileManagerDialog(application, nullptr));
});

const Shot kFileManagerIntraday("korv_filemanager-intraday", [](Scene& scene) {
  Application& application = ShotApplication(
      "MSI", "/home/user/.wine/drive_c/Metastock/Intraday/",
      {{"AEX", "AEX Index", Date(2026, 11, 2), Date(2026, 12, 10), Time(17, 30, 0)},
       {"ASML", "ASML Holding", Date(2026, 11, 2), Date(2026, 12, 10), Time(17, 35, 0)},
       {"INGA", "ING Groep", Date(2026, 11, 16), Date(2026, 12, 10), Time(17, 35, 0)}},
      5);
  return scene.keep(new ui::FileManagerDialog(application, nullptr));
});

const Shot kFind("korv_filemanager_find",
                 [](Scene& scene) { return scene.keep(new ui::FindDialog("GROEP IN", nullptr)); });

}  // namespace
}  // namespace kvqt::screenshots
