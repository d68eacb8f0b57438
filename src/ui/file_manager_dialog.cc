#include "ui/file_manager_dialog.h"

namespace kvqt::ui {

void RunFileManager(Application&, QWidget*) {}

}  // namespace kvqt::ui
