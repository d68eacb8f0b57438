#include "app/model/format_table.h"
#include "ui/add_directory_dialog.h"
#include "ui/directory_editor_dialog.h"
#include "ui/screenshots/screenshot.h"

namespace kvqt::screenshots {
namespace {

// The editor over a MetaStock format with two directories.
Formats& ShotFormats() {
  static Formats formats;
  formats.clear();
  MergeFormatTable(formats);
  Format* ms = formats.findBySymbol("MS");
  ms->addDirectory(std::make_unique<Directory>("/home/user/.wine/drive_c/Equis/Data/Daily/", ms->formatId()));
  ms->addDirectory(std::make_unique<Directory>("/home/user/.wine/drive_c/Equis/Data/Weekly/", ms->formatId()));
  formats.setCurrentIndex(formats.indexOf(ms));
  return formats;
}

const Shot kDirectoryEditor("korv_dir_editor", [](Scene& scene) {
  return scene.keep(new ui::DirectoryEditorDialog(ShotFormats(), nullptr));
});

const Shot kAddDirectory("korv_add_dir", [](Scene& scene) {
  return scene.keep(new ui::AddDirectoryDialog(*ShotFormats().findBySymbol("MS"), nullptr));
});

}  // namespace
}  // namespace kvqt::screenshots
