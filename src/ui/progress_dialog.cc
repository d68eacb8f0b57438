#include "ui/progress_dialog.h"

#include <chrono>
#include <cstdio>

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTimerEvent>
#include <QVBoxLayout>

#include "app/runner/details_log.h"
#include "app/core/logs.h"
#include "app/core/messages.h"
#include "app/runner/window_position.h"
#include "service/import/import_tally.h"

namespace kvqt::ui {
namespace {

void WriteLine(std::FILE* stream, std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fputc('\n', stream);
  std::fflush(stream);
}

void WriteToStandardError(std::string_view text) { WriteLine(stderr, text); }

std::int64_t SteadyMilliseconds() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// The bar's text: "42% received", or the bare percentage before the transfer.
QString BarFormat(const std::string& label) {
  return label.empty() ? QStringLiteral("%p%") : QStringLiteral("%p% ") + QString::fromStdString(label);
}

constexpr std::size_t kTitleLimit = 200;

QString ToQt(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

WindowRect Desktop(const QWidget* widget) {
  QScreen* screen = widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
  const QRect r = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  return {r.left(), r.top(), r.width(), r.height()};
}

QPushButton* Button(const QString& text, const char* name, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  return button;
}

}  // namespace

ProgressDialog::ProgressDialog(QWidget* parent, ProgressVariant variant, StepFunction step, ActionInfo* action,
                               int total, const std::string& title)
    : QDialog(parent),
      runner_(std::make_unique<StepRunner>(*this, step, action, total)),
      variant_(variant),
      tracker_(SteadyMilliseconds) {
  setObjectName(variant == ProgressVariant::Details ? "GENERAL_DETAILS" : "GENERAL_CANCEL");
  std::string caption = title.empty() ? std::string(kDefaultProgressTitle) : title.substr(0, kTitleLimit);
  setWindowTitle(QString::fromStdString(caption));

  status_ = new QLabel(this);
  status_->setObjectName("status");  // control 170
  status_->setMinimumWidth(360);
  status_->setWordWrap(true);
  line2_ = new QLabel(this);
  line2_->setObjectName("line2");  // control 359
  line3_ = new QLabel(this);
  line3_->setObjectName("line3");  // control 360

  ok_ = Button(tr("OK"), "ok", this);
  cancel_ = Button(tr("Cancel"), "cancel", this);
  connect(ok_, &QPushButton::clicked, this, [this] { finish(runner_->result()); });
  connect(cancel_, &QPushButton::clicked, this, [this] { runner_->cancel(); });

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  if (variant_ == ProgressVariant::Details) {
    details_ = Button(tr("Details..."), "details", this);
    noDetails_ = Button(tr("No Details"), "noDetails", this);
    noDetails_->hide();
    connect(details_, &QPushButton::clicked, this, [this] { showDetails(true); });
    connect(noDetails_, &QPushButton::clicked, this, [this] { showDetails(false); });
    buttons->addWidget(details_);
    buttons->addWidget(noDetails_);
  }
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);

  bar_ = new QProgressBar(this);
  bar_->setObjectName("progress");
  bar_->setAccessibleName(tr("Progress"));
  bar_->setRange(0, 100);
  bar_->setValue(0);
  bar_->setFormat(BarFormat(""));
  elapsed_ = new QLabel(this);
  elapsed_->setObjectName("elapsed");
  summary_ = new QLabel(this);
  summary_->setObjectName("summary");
  summary_->setWordWrap(true);
  summary_->hide();
  // The session dialog shows them from the start; elsewhere they appear with a session.
  const bool session = variant_ == ProgressVariant::Details;
  bar_->setVisible(session);
  elapsed_->setVisible(session);
  waitClock_ = new QTimer(this);
  waitClock_->setInterval(500);
  connect(waitClock_, &QTimer::timeout, this, [this] { elapsed_->setText(QString::fromStdString(tracker_.waitText())); });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(status_);
  layout->addWidget(line2_);
  layout->addWidget(line3_);
  layout->addWidget(bar_);
  layout->addWidget(elapsed_);
  layout->addWidget(summary_);
  layout->addLayout(buttons);
  if (variant_ == ProgressVariant::Details) {
    list_ = new QListWidget(this);
    list_->setObjectName("list");  // control 355
    list_->setMinimumHeight(200);
    list_->hide();
    layout->addWidget(list_);
  }
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

ProgressDialog::~ProgressDialog() = default;

int ProgressDialog::run() { return exec(); }

void ProgressDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!setUpDone_) setUp();
}

void ProgressDialog::start() {
  if (!setUpDone_) setUp();
}

void ProgressDialog::setUp() {
  setUpDone_ = true;
  ok_->hide();
  adjustSize();
  setUpSize_ = size();
  if (isWindow() && parentWidget() != nullptr) {
    const QRect p = parentWidget()->window()->frameGeometry();
    const WindowPoint at = CenterOver({p.left(), p.top(), p.width(), p.height()}, frameGeometry().width(),
                                      frameGeometry().height(), Desktop(this));
    move(static_cast<int>(at.x), static_cast<int>(at.y));
  }
  startTimer(StepRunner::kTickPauseMs);
}

void ProgressDialog::startTimer(int ms) {
  timerId_ = QObject::startTimer(ms);
  if (timerId_ == 0) message(kNoTimer);
}

void ProgressDialog::timerEvent(QTimerEvent* event) {
  if (event->timerId() != timerId_) {
    QDialog::timerEvent(event);
    return;
  }
  killTimer(timerId_);
  timerId_ = 0;
  const TickOutcome outcome = runner_->tick();
  tracker_.stepRunning(runner_->step(), runner_->action());
  showSessionProgress();
  switch (outcome) {
    case TickOutcome::Continue:
      startTimer(StepRunner::kTickPauseMs);
      break;
    case TickOutcome::Wait:
      startTimer(StepRunner::kWaitMs);
      break;
    case TickOutcome::Finished:
    case TickOutcome::Stopped:
      finish(runner_->result());
      break;
    case TickOutcome::Error:
      over_ = true;  // OK closes it now
      break;
  }
}

void ProgressDialog::finish(int result) {
  over_ = true;
  if (timerId_ != 0) {
    killTimer(timerId_);
    timerId_ = 0;
  }
  closingOurselves_ = true;
  done(result);
  closingOurselves_ = false;
}

bool ProgressDialog::mayClose() {
  if (over_) return true;
  if (!runner_->cancelled()) {
    message(kUseCancelButton);
    return false;
  }
  return true;
}

void ProgressDialog::closeEvent(QCloseEvent* event) {
  if (closingOurselves_) {
    QDialog::closeEvent(event);
    return;
  }
  event->ignore();
  // A cancelled run closes itself at the next tick; one whose error is shown closes as OK does.
  if (mayClose() && over_) finish(runner_->result());
}

void ProgressDialog::reject() {
  if (closingOurselves_) {
    QDialog::reject();
    return;
  }
  if (mayClose() && over_) finish(runner_->result());
}

void ProgressDialog::showStatus(std::string_view text, bool /*logged*/) {
  status_->setText("\n" + ToQt(text));
  tracker_.status(text);
  if (copyToStandardError_ && IsImportSummaryText(text)) WriteLine(stdout, text);
  showSessionProgress();
}

void ProgressDialog::showSessionProgress() {
  if (!tracker_.active()) return;
  const ProgressBarView& view = tracker_.bar();
  if (view.mode == ProgressBarView::Mode::kBusy) {
    bar_->setRange(0, 0);
  } else {
    bar_->setRange(0, 100);
    bar_->setValue(view.percent);
  }
  bar_->setFormat(BarFormat(view.label));
  bar_->show();
  elapsed_->setText(QString::fromStdString(tracker_.waitText()));
  if (tracker_.waiting() && !waitClock_->isActive()) waitClock_->start();
  if (!tracker_.waiting()) waitClock_->stop();
  // The wait is long over when the summary comes: it takes the wait's line.
  const bool summary = !tracker_.summary().empty();
  summary_->setText(QString::fromStdString(tracker_.summary()));
  summary_->setVisible(summary);
  elapsed_->setVisible(!summary);
}
void ProgressDialog::showLine2(std::string_view text) { line2_->setText(ToQt(text)); }
void ProgressDialog::showLine3(std::string_view text) { line3_->setText(ToQt(text)); }

void ProgressDialog::showError(std::string_view text) {
  if (copyToStandardError_) WriteToStandardError(text);
  cancel_->hide();
  ok_->show();
  ok_->setDefault(true);
  // A hidden batch run becomes visible.
  if (!isWindow() && !isVisible()) show();
  QWidget* top = window();
  if (!top->isVisible()) top->show();
}

void ProgressDialog::showNotice(std::string_view text) {
  if (copyToStandardError_) WriteToStandardError(text);
}

void ProgressDialog::addDetailLine(std::string_view line) {
  if (list_ == nullptr) return;
  list_->addItem(ToQt(line));
  list_->scrollToBottom();
}

void ProgressDialog::pumpMessages() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void ProgressDialog::showDetails(bool on) {
  if (list_ == nullptr) return;
  detailsShown_ = on;
  if (on) {
    list_->clear();
    for (const std::string& line : ReadDetailLines(Logs::ReportPath())) list_->addItem(QString::fromStdString(line));
    list_->show();
    list_->scrollToBottom();
    details_->hide();
    noDetails_->show();
    adjustSize();
    keepOnDesktop();
  } else {
    list_->hide();
    noDetails_->hide();
    details_->show();
    adjustSize();
    if (setUpSize_.isValid()) resize(setUpSize_);
  }
}

void ProgressDialog::keepOnDesktop() {
  if (!isWindow()) return;
  const QRect f = frameGeometry();
  const WindowPoint at = ClampToDesktop({f.left(), f.top()}, f.width(), f.height(), Desktop(this));
  move(static_cast<int>(at.x), static_cast<int>(at.y));
}

}  // namespace kvqt::ui
