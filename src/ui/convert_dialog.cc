#include "ui/convert_dialog.h"

namespace kvqt::ui {

void RunConvertDialog(Application&, bool, QWidget*) {}

}  // namespace kvqt::ui
