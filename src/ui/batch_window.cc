#include "ui/batch_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QVBoxLayout>

#include "app/application.h"
#include "app/core/messages.h"
#include "ui/icons.h"
#include "ui/progress_dialog.h"

namespace kvqt::ui {

BatchWindow::BatchWindow(StepFunction firstStep, ActionInfo& action)
    : quitOnLastWindowClosed_(QGuiApplication::quitOnLastWindowClosed()) {
  QGuiApplication::setQuitOnLastWindowClosed(false);
  setObjectName("BatchWindow");
  setWindowTitle(QString::fromLatin1(kProgramTitle));
  setWindowIcon(ProgramIcon());
  // A caption and a minimise box; no system menu, maximise box or sizing border.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint);

  dialog_ = new ProgressDialog(this, ProgressVariant::Cancel, firstStep, &action, 1, kProgramTitle);
  dialog_->setWindowFlags(Qt::Widget);
  dialog_->copyToStandardError(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(dialog_);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(dialog_, &QDialog::finished, this, [this](int result) {
    exitCode_ = BatchExitCode(result);
    ended_ = true;
    close();
    emit runEnded(exitCode_);
  });
}

BatchWindow::~BatchWindow() { QGuiApplication::setQuitOnLastWindowClosed(quitOnLastWindowClosed_); }

void BatchWindow::start(bool hidden) {
  if (hidden) {
    dialog_->start();
  } else {
    dialog_->show();
    show();
  }
}

void BatchWindow::quitRequested() {
  if (dialog_->runOver()) {
    dialog_->close();
  } else {
    dialog_->runner().cancel();
  }
}

void BatchWindow::closeEvent(QCloseEvent* event) {
  if (ended_) {
    event->accept();
    return;
  }
  event->ignore();
  // Closing the frame closes the dialog, which refuses while the run is on.
  dialog_->close();
}

}  // namespace kvqt::ui
