// What the dialog tests share: controls found by their ids, acting on a modal
// dialog once it is open, the dialog a command opens, and kvqt run without a
// display in directories of its own.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "datetime/date.h"
#include "formats/datafile_entry.h"
#include "formats/format_driver.h"
#include "platform/path.h"
#include "app/runner/step_runner.h"
#include "ui/progress_dialog.h"

namespace kvqt::testing {

// The control of the dialog with the id (objectName "idNNN"); a missing one fails the test.
template <typename T>
T* Control(QWidget& dialog, int id) {
  T* control = dialog.findChild<T*>(QStringLiteral("id%1").arg(id));
  EXPECT_NE(control, nullptr) << id;
  return control;
}

// Presses the dialog's button 1 ("Do&wnload !"); the session runs in its
// progress dialog. A session that stops with an error keeps that dialog open:
// its status is returned and the dialog closed, so the test goes on. "" when
// the session ran to its end.
inline std::string PressDownload(QWidget& dialog) {
  std::string stopped;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&stopped] {
    auto* progress = qobject_cast<ui::ProgressDialog*>(QApplication::activeModalWidget());
    if (!progress || !progress->runOver()) return;
    auto* status = progress->findChild<QLabel*>("status");
    stopped = status ? status->text().trimmed().toStdString() : "stopped";
    progress->done(kStepErrorShown);
  });
  watch.start(20);
  Control<QPushButton>(dialog, 1)->click();
  return stopped;
}

// What becomes of a modal dialog after the test acted on it.
enum class AfterAct { kReject, kLeaveOpen };

// Acts on the modal dialog of type D once it is open; a dialog the act left
// open is rejected, unless it is left for the code under test to close.
template <typename D>
void OnceOpen(std::function<void(D&)> act, AfterAct after = AfterAct::kReject) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, act, after] {
    auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
    if (!dialog) return;
    timer->stop();
    timer->deleteLater();
    act(*dialog);
    if (after == AfterAct::kReject && dialog->isVisible()) dialog->reject();
  });
  timer->start(10);
}

// The modal dialog a command opened (its objectName and caption) and the window it stands over.
struct OpenedDialog {
  std::string name;
  std::string title;
  QWidget* parent = nullptr;
};

enum class Closing { kAccept, kReject };

// Triggers the command and notes the modal dialog it opens, then closes that
// dialog; it lives only while the command runs, so what it was is noted then.
inline OpenedDialog OpenedBy(QAction& command, Closing closing = Closing::kAccept) {
  OpenedDialog opened;
  QTimer::singleShot(0, [&opened, closing] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return;
    opened.name = modal->objectName().toStdString();
    opened.title = modal->windowTitle().toStdString();
    opened.parent = modal->parentWidget();
    if (auto* dialog = qobject_cast<QDialog*>(modal)) {
      if (closing == Closing::kAccept) {
        dialog->accept();
      } else {
        dialog->reject();
      }
    }
  });
  command.trigger();
  return opened;
}

// An environment variable set for a test; its value before (or its absence) comes back afterwards.
class ScopedEnv {
 public:
  explicit ScopedEnv(std::string name) : name_(std::move(name)) {
    if (const char* value = std::getenv(name_.c_str())) {
      previous_ = value;
      had_ = true;
    }
  }
  ~ScopedEnv() {
    if (had_) {
      ::setenv(name_.c_str(), previous_.c_str(), 1);
    } else {
      ::unsetenv(name_.c_str());
    }
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

  void set(const std::string& value) const { ::setenv(name_.c_str(), value.c_str(), 1); }

 private:
  std::string name_;
  std::string previous_;
  bool had_ = false;
};

inline std::string Quoted(const std::string& s) { return "'" + s + "'"; }

struct ShellRun {
  int status = -1;
  std::string out;
};

// Runs a shell command; its exit status and everything it wrote.
inline ShellRun Shell(const std::string& command) {
  ShellRun run;
  FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
  run.status = WEXITSTATUS(::pclose(pipe));
  return run;
}

// The start of a shell command that runs a program without a display, with the
// program directory `home` and settings, data and runtime directories of its own.
inline std::string WithoutDisplay(const std::string& home, const std::string& config, const std::string& data,
                                  const std::string& runtime) {
  ::chmod(runtime.c_str(), 0700);
  return "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= KVQT_HOME=" + Quoted(home) +
         " XDG_CONFIG_HOME=" + Quoted(config) + " XDG_DATA_HOME=" + Quoted(data) +
         " XDG_RUNTIME_DIR=" + Quoted(runtime) + " ";
}

// Makes the chart directory with an instrument of the format for each symbol and name.
inline void MakeChartDirectory(const std::string& path, int formatId,
                               const std::vector<std::pair<std::string, std::string>>& instruments,
                               Date firstDate = Date()) {
  ASSERT_TRUE(platform::MakeDirectories(path)) << path;
  for (const auto& [symbol, name] : instruments) {
    DatafileEntry entry;
    entry.firstDate = firstDate;
    ASSERT_EQ(1, CreateEntry(symbol, name, 0, entry, formatId, path)) << symbol;
  }
}

}  // namespace kvqt::testing
