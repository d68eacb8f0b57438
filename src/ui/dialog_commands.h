// The main window's commands that open dialogs over the program's data.
#pragma once

namespace kvqt {
class Application;
}

namespace kvqt::ui {

class MainWindow;

// Gives each dialog command its handler: the dialog, modal over the window.
void ConnectDialogCommands(MainWindow& window, Application& application);

}  // namespace kvqt::ui
