#include "ui/search_dialog.h"

namespace kvqt::ui {

void RunSearchDialog(Application&, QWidget*) {}

CatalogPick RunSearchDialogToPick(Application&, Format&, Directory&, int, QWidget*) { return {}; }

}  // namespace kvqt::ui
