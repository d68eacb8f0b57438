// Whether the program can show a window at all, decided before the GUI is
// started (a GUI toolkit without a display would end the process).
#pragma once

namespace kvqt::platform {

// True when a Qt platform is named (QT_QPA_PLATFORM), a Wayland display is
// set, or an X display is set whose local socket exists.
bool DisplayAvailable();

}  // namespace kvqt::platform
