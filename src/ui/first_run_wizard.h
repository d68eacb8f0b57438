// The first-run wizard, run before any window when no login record exists.
#pragma once

namespace kvqt {
class Application;
}

namespace kvqt::ui {

// Sets up the user's identification, formats and directories. Its result does
// not change what follows. (The wizard's pages are not part of the program
// yet: for now it shows nothing.)
void RunFirstRunWizard(Application& application);

}  // namespace kvqt::ui
