// "KORV_DOWNLOAD": updates the chart databases of one format for a list, a
// directory or one symbol in a download session.
#pragma once

class QWidget;

namespace kvqt {
class Application;
}

namespace kvqt::ui {

// Opens the download dialog modally (the Download command, the Enter key and
// the file manager's "&Download...").
void RunDownloadDialog(Application& application, QWidget* parent);

}  // namespace kvqt::ui
