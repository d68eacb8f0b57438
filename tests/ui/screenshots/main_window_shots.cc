#include "ui/about_dialog.h"
#include "ui/main_window.h"
#include "ui/screenshots/screenshot.h"

namespace kvqt::screenshots {
namespace {

const Shot kMainWindow("korv_main", [](Scene& scene) { return scene.keep(new ui::MainWindow); });
const Shot kAbout("korv_about", [](Scene& scene) { return scene.keep(new ui::AboutDialog(nullptr)); });

}  // namespace
}  // namespace kvqt::screenshots
