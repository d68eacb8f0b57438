#include "ui/config_wizard.h"

// Not built yet: the wizard ends at once, cancelled.
namespace kvqt::ui {

bool runConfigWizard(Application&, QWidget*) { return false; }

}  // namespace kvqt::ui
