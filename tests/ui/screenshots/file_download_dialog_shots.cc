#include "app/application.h"
#include "app/core/personal_profile.h"
#include "app/model/format_table.h"
#include "platform/clock.h"
#include "ui/commands.h"
#include "ui/file_download_dialog.h"
#include "ui/screenshots/screenshot.h"

namespace kvqt::screenshots {
namespace {

// The formats of the built-in table; MetaStock with two directories and a
// list, current.
Application& ShotApplication() {
  static Application application({});
  Formats& formats = application.formats();
  formats.clear();
  MergeFormatTable(formats);
  Format* metastock = formats.findBySymbol("MS");
  metastock->addDirectory(std::make_unique<Directory>("/home/user/.wine/drive_c/Equis/Data/", metastock->formatId()));
  metastock->addDirectory(std::make_unique<Directory>("/home/user/.wine/drive_c/Equis/Funds/", metastock->formatId()));
  metastock->setCurDi(0);
  metastock->addList(std::make_unique<List>("Daily", metastock->formatId()));
  metastock->setCurLi(0);
  formats.setCurrentIndex(formats.indexOf(metastock));
  return application;
}

const Shot kFileDownload("korv_filedownload", [](Scene& scene) {
  profile().putInt("DefaultFileDownloadType", 2);
  profile().putString("outputformat", "ASC");
  profile().putString("outputfilename", "/home/user/quotes/prices.dat");
  platform::ScopedFixedClock clock({2024, 1, 15, 9, 0, 0});
  return scene.keep(new ui::FileDownloadDialog(ShotApplication(), ui::kFileDownloadMode, nullptr));
});

const Shot kDefinitionFileDownload("korv_deffiledownload", [](Scene& scene) {
  profile().putString("inputfilename", "/home/user/quotes/banks.qry");
  profile().putString("outputformat", "EXC-NL");
  profile().putString("outputfilename", "/home/user/quotes/banks.dat");
  return scene.keep(new ui::FileDownloadDialog(ShotApplication(), ui::kDefinitionFileDownloadMode, nullptr));
});

}  // namespace
}  // namespace kvqt::screenshots
