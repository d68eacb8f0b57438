#include "ui/download_dialog.h"

namespace kvqt::ui {

void RunDownloadDialog(Application&, QWidget*) {}

}  // namespace kvqt::ui
