#include "ui/first_run_wizard.h"

namespace kvqt::ui {

void RunFirstRunWizard(Application& /*application*/) {}

}  // namespace kvqt::ui
