#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include "app/application.h"
#include "app/model/format_table.h"
#include "ui/download_dialog.h"
#include "ui/screenshots/screenshot.h"

namespace kvqt::screenshots {
namespace {

// MetaStock with two directories and the lists "Daily" and "Banks"; one
// directory holds three instruments.
Application& ShotApplication() {
  static Application application({});
  Formats& formats = application.formats();
  formats.clear();
  MergeFormatTable(formats);
  Format* ms = formats.findBySymbol("MS");
  const std::string daily = "/home/user/.wine/drive_c/Equis/Data/Daily/";
  const std::string funds = "/home/user/.wine/drive_c/Equis/Data/Funds/";
  for (const std::string& path : {daily, funds}) ms->addDirectory(std::make_unique<Directory>(path, ms->formatId()));
  ms->setCurrentDirectory(daily);
  const char* names[][2] = {{"AEX", "AEX Index"}, {"ASML", "ASML Holding"}, {"INGA", "ING Groep"}};
  for (const auto& n : names) ms->currentDirectory()->add(std::make_unique<Datafile>(n[0], n[1], ms->formatId(), 30));
  ms->addList(std::make_unique<List>("Daily", ms->formatId()));
  ms->addList(std::make_unique<List>("Banks", ms->formatId()));
  ms->setCurrentList("Daily");
  formats.setCurrentIndex(formats.indexOf(ms));
  return application;
}

ui::DlgDownload* Dialog(Scene& scene) {
  return static_cast<ui::DlgDownload*>(scene.keep(new ui::DlgDownload(ShotApplication(), nullptr)));
}

void Click(QWidget* dialog, int id) { dialog->findChild<QRadioButton*>(QString("id%1").arg(id))->click(); }

const Shot kDownload("korv_download", [](Scene& scene) { return Dialog(scene); });

const Shot kDownloadSymbol("korv_download-symbol", [](Scene& scene) {
  ui::DlgDownload* dialog = Dialog(scene);
  Click(dialog, 260);
  return dialog;
});

const Shot kDownloadRange("korv_download-range", [](Scene& scene) {
  ui::DlgDownload* dialog = Dialog(scene);
  Click(dialog, 259);
  Click(dialog, 255);
  dialog->findChild<QLineEdit*>("id172")->setText("2/1/2024");
  dialog->findChild<QLineEdit*>("id173")->setText("12/1/2024");
  return dialog;
});

const Shot kDownloadIntraday("korv_download-intraday", [](Scene& scene) {
  ui::DlgDownload* dialog = Dialog(scene);
  dialog->findChild<QComboBox*>("id266")->setCurrentText("Metastock Intraday");
  return dialog;
});

}  // namespace
}  // namespace kvqt::screenshots
