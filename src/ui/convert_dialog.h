// "KORV_CONVERT" and "KORV_APPEND": converting or appending the data files of
// one directory into another, of the same or another format.
#pragma once

class QWidget;

namespace kvqt {
class Application;
}

namespace kvqt::ui {

// Opens the dialog modally: the Convert command (`append` false) or the
// Append command (`append` true).
void RunConvertDialog(Application& application, bool append, QWidget* parent);

}  // namespace kvqt::ui
