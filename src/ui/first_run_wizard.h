// The first-run wizard, run before any window when no login record exists.
#pragma once

namespace kvqt {
class Application;
}

namespace kvqt::ui {

// Runs the configuration wizard: the user's identification, formats and
// directories. Its result does not change what follows.
void RunFirstRunWizard(Application& application);

}  // namespace kvqt::ui
