#include "app/application.h"
#include "ui/configure_dialog.h"
#include "ui/screenshots/screenshot.h"

namespace kvqt::screenshots {
namespace {

const Shot kConfigure("kvqt_configure", [](Scene& scene) {
  static Application application({});
  application.data().login().userNumber = "12345vqx";
  application.data().login().password = "abcdefgh";
  return scene.keep(new ui::ConfigureDialog(application, nullptr));
});

}  // namespace
}  // namespace kvqt::screenshots
