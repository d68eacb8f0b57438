#include "ui/session_progress.h"

#include "app/core/action_info.h"
#include "service/session/download_session.h"
#include "ui/progress_dialog.h"

namespace kvqt::ui {

int RunDownloadSession(Application&, ActionInfo& action, QWidget* parent) {
  ProgressDialog dialog(parent, ProgressVariant::Details, DownloadSession, &action, kDownloadSessionSteps,
                        kDownloadSessionTitle);
  return dialog.run();
}

}  // namespace kvqt::ui
