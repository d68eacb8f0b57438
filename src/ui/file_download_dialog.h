// "KORV_FILEDOWNLOAD" (mode 1003) and "KORV_DEFFILEDOWNLOAD" (mode 1004): a
// download into one file, by the dialog's choices or by a definition file.
#pragma once

class QWidget;

namespace kvqt {
class Application;
}

namespace kvqt::ui {

// Opens the dialog modally in `mode` (kFileDownloadMode or
// kDefinitionFileDownloadMode); it stays open after a run.
void RunFileDownloadDialog(Application& application, int mode, QWidget* parent);

}  // namespace kvqt::ui
