// The progress dialog: a download session as it connects, during the
// transfer, while the server prepares the result and when it is done with
// its details open; and the plain variant of a convert.
#include <cstdint>

#include "app/core/action_info.h"
#include "service/session/download_session.h"
#include "ui/progress_dialog.h"
#include "ui/screenshots/screenshot.h"

namespace kvqt::screenshots {
namespace {

ActionInfo g_action;

// Never done: the shot shows the dialog as the statuses left it.
int Waits(StepRunner&, ActionInfo&, int&) { return kStepWait; }

ui::ProgressDialog* Session(Scene& scene) {
  auto* dialog = new ui::ProgressDialog(nullptr, ui::ProgressVariant::Details, Waits, &g_action,
                                        kDownloadSessionSteps, kDownloadSessionTitle);
  scene.keep(dialog);
  dialog->start();
  return dialog;
}

void Statuses(ui::ProgressDialog& dialog, std::initializer_list<const char*> texts) {
  for (const char* text : texts) dialog.runner().status(text, true);
}

constexpr const char* kCredit = "Credit: Demo account, unlimited downloads";

const Shot kConnecting("general_details", [](Scene& scene) {
  ui::ProgressDialog* dialog = Session(scene);
  Statuses(*dialog, {"Creating definition file", "Connecting to Norvale group..."});
  return dialog;
});

const Shot kTransfer("general_details-transfer", [](Scene& scene) {
  ui::ProgressDialog* dialog = Session(scene);
  Statuses(*dialog, {"Creating definition file", "Connecting to Norvale group...", "User authorization", kCredit,
                     "Creating datafile\nCredit: Demo account, unlimited downloads", "Receiving datafile"});
  dialog->runner().status("Received: 42%", false);
  return dialog;
});

const Shot kWait("general_details-wait", [](Scene& scene) {
  ui::ProgressDialog* dialog = Session(scene);
  // The wait began 1 minute 42 seconds ago.
  dialog->setSessionClock([calls = 0]() mutable -> std::int64_t { return calls++ == 0 ? 0 : 102'000; });
  Statuses(*dialog, {"Creating definition file", "Connecting to Norvale group...", "User authorization", kCredit,
                     "Creating datafile\nCredit: Demo account, unlimited downloads"});
  return dialog;
});

const Shot kDone("general_details-summary", [](Scene& scene) {
  ui::ProgressDialog* dialog = Session(scene);
  Statuses(*dialog, {"Creating definition file", "Connecting to Norvale group...", "User authorization", kCredit,
                     "Creating datafile\nCredit: Demo account, unlimited downloads", "Receiving datafile",
                     "Close session", "Decompress datafile", "Processing symbol changes", "Write to database",
                     "Written: 4862 records in 38 data files in 2 directories"});
  dialog->runner().error("Download Session Completed");
  dialog->showDetails(true);
  return dialog;
});

const Shot kConvert("general_cancel", [](Scene& scene) {
  auto* dialog = new ui::ProgressDialog(nullptr, ui::ProgressVariant::Cancel, Waits, &g_action, 1, "Convert Files");
  scene.keep(dialog);
  dialog->start();
  dialog->runner().status("Converting to ASCII comma delimited", true);
  dialog->runner().line3(" 40% - Alvero Holding");
  return dialog;
});

}  // namespace
}  // namespace kvqt::screenshots
