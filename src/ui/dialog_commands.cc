#include "ui/dialog_commands.h"

#include "app/application.h"
#include "ui/commands.h"
#include "ui/configure_dialog.h"
#include "ui/directory_editor_dialog.h"
#include "ui/list_editor_dialog.h"
#include "ui/main_window.h"

namespace kvqt::ui {

void ConnectDialogCommands(MainWindow& window, Application& application) {
  window.setCommandHandler(kCmdConfigure, [&window, &application] {
    ConfigureDialog dialog(application, &window);
    dialog.exec();
  });
  window.setCommandHandler(kCmdDirectoryEditor, [&window, &application] {
    DirectoryEditorDialog dialog(application.formats(), &window);
    dialog.exec();
  });
  window.setCommandHandler(kCmdListEditor, [&window, &application] {
    ListEditorDialog dialog(application.formats(), &window);
    dialog.exec();
  });
}

}  // namespace kvqt::ui
