// The configuration wizard: language, user, formats, a setup page for each
// chosen format, finish.
#pragma once

class QWidget;

namespace kvqt {
class Application;
}

namespace kvqt::ui {

// True when ended with "Finish", false when cancelled. The profile changes at
// the user page's "Next" and the formats at each setup page's "Next", even when
// the wizard is cancelled later.
bool runConfigWizard(Application& application, QWidget* parent);

}  // namespace kvqt::ui
