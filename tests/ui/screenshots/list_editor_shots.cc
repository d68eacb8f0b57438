#include "app/model/format_table.h"
#include "ui/add_list_dialog.h"
#include "ui/list_editor_dialog.h"
#include "ui/screenshots/screenshot.h"

namespace kvqt::screenshots {
namespace {

// An ASCII format with the list "Daily" over one directory of four
// instruments, two of them selected.
Formats& ShotFormats() {
  static Formats formats;
  formats.clear();
  MergeFormatTable(formats);
  Format* ascii = formats.findBySymbol("ASC");
  const std::string path = "/home/user/.wine/drive_c/Quotes/Daily/";
  ascii->addDirectory(std::make_unique<Directory>(path, ascii->formatId()));
  ascii->addList(std::make_unique<List>("Daily", ascii->formatId()));
  ascii->addList(std::make_unique<List>("Banks", ascii->formatId()));
  ascii->setCurrentList("Daily");
  List* list = ascii->currentList();
  list->addDirectory(std::make_unique<Directory>(path, ascii->formatId()));
  list->setCurrent(0);
  Directory* directory = list->currentDirectory();
  directory->setSelectionMode(Directory::kSelectStored);
  const char* names[][2] = {{"AEX", "AEX Index"}, {"ASML", "ASML Holding"}, {"INGA", "ING Groep"},
                            {"PHIA", "Koninklijke Philips"}};
  for (int i = 0; i < 4; ++i) {
    directory->add(std::make_unique<Datafile>(names[i][0], names[i][1], ascii->formatId(), 30))
        ->setSelected(i % 2 == 0);
  }
  formats.setCurrentIndex(formats.indexOf(ascii));
  return formats;
}

const Shot kListEditor("korv_list_editor", [](Scene& scene) {
  return scene.keep(new ui::ListEditorDialog(ShotFormats(), nullptr));
});

const Shot kAddList("korv_add_list", [](Scene& scene) { return scene.keep(new ui::AddListDialog(nullptr)); });

}  // namespace
}  // namespace kvqt::screenshots
