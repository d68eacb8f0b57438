#include "ui/kvqt_main.h"

#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/core/logs.h"
#include "app/core/messages.h"
#include "app/runner/program_args.h"
#include "automation/command_line_help.h"
#include "automation/command_line_options.h"
#include "automation/command_line_step.h"
#include "formats/directory_refresh.h"
#include "maintenance/split_factors.h"
#include "platform/display.h"
#include "platform/instance_endpoint.h"
#include "platform/absolute_path.h"
#include "platform/program_dir.h"
#include "platform/stop_signals.h"
#include "ui/batch_window.h"
#include "ui/data_manager_dialog.h"
#include "ui/dialog_commands.h"
#include "ui/first_run_wizard.h"
#include "ui/fonts.h"
#include "ui/main_window.h"
#include "ui/qt_messages.h"
#include "updater/install_release.h"

namespace kvqt::ui {
namespace {

void Complain(const std::string& text) { std::fprintf(stderr, "kvqt: %s\n", text.c_str()); }

// Requests to the running copy arrive on the instance endpoint.
template <typename Handler>
void DrainRequests(platform::InstanceEndpoint& endpoint, Handler handle) {
  std::string request;
  while (endpoint.acceptRequest(request)) handle(request);
}

int RunHeadless(Application& application, platform::InstanceEndpoint& endpoint) {
  if (!application.data().damageReport().empty()) Complain(application.data().damageReport());
  if (application.interactive()) {
    if (application.tooManyFormats()) Complain(kTooManyFormatsMessage);
    Complain("no display to show the window on (the command line is only run with a data file and a login record)");
    return 1;
  }
  HeadlessMessages messages(/*to_stderr=*/true);
  UserMessages* previous = setUserMessages(&messages);
  platform::CatchStopSignals();
  // Nobody can answer the install question here.
  SetUnattendedInstall(true);
  int code = RunHeadlessBatch(application, CommandLineStep, [&endpoint](HeadlessProgress& host) {
    DrainRequests(endpoint, [&host](const std::string& request) {
      if (request == platform::kQuitRequest) host.cancel();
    });
    // Interrupted or told to stop: Cancel, so the exit save still runs.
    if (platform::PendingStopSignal() != 0) host.cancel();
  });
  application.save();
  if (const int signal = platform::PendingStopSignal(); signal != 0) code = platform::StopSignalExitCode(signal);
  setUserMessages(previous);
  return code;
}

}  // namespace

int RunKvqt(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  switch (FindInfoRequest(arguments)) {
    case InfoRequest::kHelp:
      std::fputs(CommandLineHelp(platform::LocateProgramDirectory(platform::ExecutablePath()),
                                 platform::SettingsFilePath())
                     .c_str(),
                 stdout);
      return 0;
    case InfoRequest::kVersion: std::fputs(VersionText().c_str(), stdout); return 0;
    case InfoRequest::kNone: break;
  }
  // Before start-up changes into the program directory.
  arguments = ArgumentsFromStartDirectory(arguments, platform::CurrentDirectory());
  const bool display = !HasHeadlessOption(arguments) && platform::DisplayAvailable();

  const std::string directory = platform::ResolveProgramDirectory(platform::ExecutablePath());
  if (::chdir(directory.c_str()) != 0) {
    Complain("cannot use the program directory " + directory);
    return 1;
  }

  const std::string instance = platform::InstanceName(kProgramTitle, directory);
  platform::InstanceEndpoint endpoint;
  if (endpoint.claim(instance) == platform::InstanceEndpoint::Claim::OtherRunning) {
    if (!arguments.empty()) {
      Complain(std::string("another copy of ") + kProgramTitle + " is running in the program directory " +
               directory + "; this run does nothing");
      return 1;
    }
    platform::SendInstanceRequest(instance, platform::kRaiseRequest);
    return 0;
  }
  Logs::SetDirectory("");

  // Directories rebuild their entries from the chart files through the format drivers.
  InstallDirectoryRefresh();
  // A session hands over to the split-factor step of the data maintenance.
  InstallSplitFactorStep();
  Application application(arguments);
  application.start(directory);

  if (!display) return RunHeadless(application, endpoint);

  QApplication qt(argc, argv);
  ApplyDialogFont();
  QtMessages messages;
  UserMessages* previous = setUserMessages(&messages);

  // A batch run tells it on standard error, where its other errors go; a
  // window in a message box before anything else.
  const std::string& damage = application.data().damageReport();
  if (!damage.empty()) {
    if (application.interactive()) message(damage);
    else Complain(damage);
  }
  std::unique_ptr<MainWindow> main;
  std::unique_ptr<BatchWindow> batch;
  // Set while the first-run wizard is open: a quit request then ends the
  // program before any window is made.
  bool quitBeforeWindow = false;
  bool quitRequested = false;

  std::unique_ptr<QSocketNotifier> notifier;
  if (endpoint.listening()) {
    notifier = std::make_unique<QSocketNotifier>(endpoint.fd(), QSocketNotifier::Read);
    QObject::connect(notifier.get(), &QSocketNotifier::activated, [&] {
      DrainRequests(endpoint, [&](const std::string& request) {
        QWidget* wizard = QApplication::activeModalWidget();
        if (request == platform::kRaiseRequest) {
          if (main) main->raiseWindow();
          else if (batch && batch->isVisible()) batch->raise();
          else if (wizard) wizard->raise(), wizard->activateWindow();
        } else if (request == platform::kQuitRequest) {
          quitRequested = true;
          if (main) main->quitRequested();
          else if (batch) batch->quitRequested();
          else if (wizard) quitBeforeWindow = true, wizard->close();
        }
      });
    });
  }

  if (application.needsWizard()) RunFirstRunWizard(application);
  if (quitBeforeWindow) {
    notifier.reset();
    application.save();
    endpoint.close();
    setUserMessages(previous);
    return 0;
  }

  // With the main window the data manager opens as a window, also for a session's split factors.
  ScopedDataManagerWindow dataManagerWindow(application.interactive());
  if (application.interactive()) {
    main = std::make_unique<MainWindow>();
    ConnectDialogCommands(*main, application);
    main->placeOnDesktop();
  } else {
    batch = std::make_unique<BatchWindow>(CommandLineStep, application.action());
    QObject::connect(batch.get(), &BatchWindow::runEnded, &qt, [](int code) { QCoreApplication::exit(code); });
  }

  std::unique_ptr<QSocketNotifier> stopSignal;
  if (batch) {
    platform::CatchStopSignals();
    stopSignal = std::make_unique<QSocketNotifier>(platform::StopSignalDescriptor(), QSocketNotifier::Read);
    QObject::connect(stopSignal.get(), &QSocketNotifier::activated, [&] {
      stopSignal->setEnabled(false);
      batch->quitRequested();
    });
  }
  if (application.tooManyFormats()) message(kTooManyFormatsMessage);

  int code = 0;
  if (main) {
    main->show();
    code = qt.exec();
  } else {
    batch->start(application.hiddenWindow());
    code = qt.exec();
    code = batch->exitCode();
  }
  stopSignal.reset();
  notifier.reset();
  main.reset();
  batch.reset();
  // Tarnswap, started after a Yes, must still find this program to ask it to quit.
  if (ReleaseInstallerStarted() && !quitRequested) WaitForInstallerQuit(endpoint);
  application.save();
  // Caught only in a batch run.
  if (const int signal = platform::PendingStopSignal(); signal != 0) code = platform::StopSignalExitCode(signal);
  // Only now is the window "gone" for the release installer: the data are saved.
  endpoint.close();
  setUserMessages(previous);
  return code;
}

}  // namespace kvqt::ui
