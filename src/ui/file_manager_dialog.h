// "KORV_FILEMANAGER": the instruments of one directory, with find, delete,
// open into the data manager, print, download and adding an instrument.
#pragma once

class QWidget;

namespace kvqt {
class Application;
}

namespace kvqt::ui {

// Opens the file manager modally (the File Manager command).
void RunFileManager(Application& application, QWidget* parent);

}  // namespace kvqt::ui
