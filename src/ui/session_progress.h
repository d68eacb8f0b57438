// The download session run from a dialog: the progress dialog with the
// report-log details, titled "Download Session", which also shows the
// transfer's and the import's progress, the wait for the result and the
// import's summary.
#pragma once

class QWidget;

namespace kvqt {
struct ActionInfo;
class Application;
}  // namespace kvqt

namespace kvqt::ui {

// Runs the session for `action` modally over `parent`; the result of the
// progress dialog (1 finished, -3 stopped or cancelled, or a step's error code).
int RunDownloadSession(Application& application, ActionInfo& action, QWidget* parent);

}  // namespace kvqt::ui
