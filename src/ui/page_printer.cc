#include "ui/page_printer.h"

// Not drawn yet: nothing is printed.
namespace kvqt::ui {

bool PrintWithDialog(QWidget*, const QString&, const ComposePages&) { return false; }

int PrintOn(QPrinter&, const QString&, const ComposePages&) { return 0; }

}  // namespace kvqt::ui
