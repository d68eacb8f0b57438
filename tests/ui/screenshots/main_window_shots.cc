#include "ui/main_window.h"
#include "ui/screenshots/screenshot.h"

namespace kvqt::screenshots {
namespace {

const Shot kMainWindow("korv_main", [](Scene& scene) { return scene.keep(new ui::MainWindow); });

}  // namespace
}  // namespace kvqt::screenshots
