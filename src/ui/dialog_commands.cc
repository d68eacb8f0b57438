#include "ui/dialog_commands.h"

#include "app/application.h"
#include "ui/commands.h"
#include "ui/configure_dialog.h"
#include "ui/main_window.h"

namespace kvqt::ui {

void ConnectDialogCommands(MainWindow& window, Application& application) {
  (void)window;
  (void)application;
  window.setCommandHandler(kCmdConfigure, [&window, &application] {
    ConfigureDialog dialog(application, &window);
    dialog.exec();
  });
}

}  // namespace kvqt::ui
