#include "ui/dialog_commands.h"

#include "app/application.h"
#include "ui/commands.h"
#include "ui/directory_editor_dialog.h"
#include "ui/main_window.h"

namespace kvqt::ui {

void ConnectDialogCommands(MainWindow& window, Application& application) {
  (void)window;
  (void)application;
  window.setCommandHandler(kCmdDirectoryEditor, [&window, &application] {
    DirectoryEditorDialog dialog(application.formats(), &window);
    dialog.exec();
  });
}

}  // namespace kvqt::ui
