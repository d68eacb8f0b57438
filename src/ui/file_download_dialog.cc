#include "ui/file_download_dialog.h"

namespace kvqt::ui {

void RunFileDownloadDialog(Application&, int, QWidget*) {}

}  // namespace kvqt::ui
