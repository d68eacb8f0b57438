#include "ui/first_run_wizard.h"

#include "ui/config_wizard.h"

namespace kvqt::ui {

// Finished or cancelled, the start goes on the same way.
void RunFirstRunWizard(Application& application) { (void)runConfigWizard(application, nullptr); }

}  // namespace kvqt::ui
