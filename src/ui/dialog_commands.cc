#include "ui/dialog_commands.h"

#include "app/application.h"
#include "ui/commands.h"
#include "ui/configure_dialog.h"
#include "ui/convert_dialog.h"
#include "ui/directory_editor_dialog.h"
#include "ui/download_dialog.h"
#include "ui/file_download_dialog.h"
#include "ui/file_manager_dialog.h"
#include "ui/list_editor_dialog.h"
#include "ui/main_window.h"
#include "ui/search_dialog.h"

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
  window.setCommandHandler(kCmdDownload, [&window, &application] { RunDownloadDialog(application, &window); });
  window.setCommandHandler(kCmdFileDownload,
                           [&window, &application] { RunFileDownloadDialog(application, kFileDownloadMode, &window); });
  window.setCommandHandler(kCmdDefinitionFileDownload, [&window, &application] {
    RunFileDownloadDialog(application, kDefinitionFileDownloadMode, &window);
  });
  window.setCommandHandler(kCmdConvert, [&window, &application] { RunConvertDialog(application, false, &window); });
  window.setCommandHandler(kCmdAppend, [&window, &application] { RunConvertDialog(application, true, &window); });
  window.setCommandHandler(kCmdFileManager, [&window, &application] { RunFileManager(application, &window); });
  window.setCommandHandler(kCmdSearch, [&window, &application] { RunSearchDialog(application, &window); });
}

}  // namespace kvqt::ui
