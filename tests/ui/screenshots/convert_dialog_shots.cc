#include "app/model/format_table.h"
#include "ui/convert_dialog.h"
#include "ui/screenshots/screenshot.h"

#include <QItemSelectionModel>
#include <QListView>

namespace kvqt::screenshots {
namespace {

// A MetaStock directory of five instruments and an ASCII directory holding
// three of them, MetaStock current.
Formats& ShotFormats() {
  static Formats formats;
  formats.clear();
  MergeFormatTable(formats);
  Format* ms = formats.findBySymbol("MS");
  Format* ascii = formats.findBySymbol("ASC");
  const char* names[][2] = {{"AEX", "AEX Index"},     {"ASML", "ASML Holding"},     {"INGA", "ING Groep"},
                            {"PHIA", "Koninklijke Philips"}, {"UNA", "Unilever"}};
  auto* daily = new Directory("/home/user/.wine/drive_c/Equis/Data/Daily/", ms->formatId());
  ms->addDirectory(std::unique_ptr<Directory>(daily));
  ms->addDirectory(std::make_unique<Directory>("/home/user/.wine/drive_c/Equis/Data/Funds/", ms->formatId()));
  ms->setCurrentDirectory(daily->name());
  auto* quotes = new Directory("/home/user/Quotes/Daily/", ascii->formatId());
  ascii->addDirectory(std::unique_ptr<Directory>(quotes));
  for (int i = 0; i < 5; ++i) {
    daily->add(std::make_unique<Datafile>(names[i][0], names[i][1], ms->formatId(), 30));
    if (i < 3) quotes->add(std::make_unique<Datafile>(names[i][0], names[i][1], ascii->formatId(), 30));
  }
  formats.setCurrentIndex(formats.indexOf(ms));
  return formats;
}

QWidget* Dialog(Scene& scene, bool append) {
  auto* dialog = new ui::ConvertDialog(ShotFormats(), append, nullptr);
  // A choice made in the list the run reads.
  if (auto* list = dialog->findChild<QListView*>(append ? "id320" : "id319")) {
    for (int row : {1, 2}) list->selectionModel()->select(list->model()->index(row, 0), QItemSelectionModel::Select);
  }
  return scene.keep(dialog);
}

const Shot kConvert("korv_convert", [](Scene& scene) { return Dialog(scene, false); });
const Shot kAppend("korv_append", [](Scene& scene) { return Dialog(scene, true); });

}  // namespace
}  // namespace kvqt::screenshots
