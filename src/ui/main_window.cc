#include "ui/main_window.h"

#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QScreen>
#include <QStyle>
#include <QToolBar>

#include "app/core/action_info.h"
#include "app/core/messages.h"
#include "app/runner/window_position.h"
#include "platform/launcher.h"
#include "platform/path.h"
#include "platform/program_dir.h"
#include "ui/about_dialog.h"
#include "ui/commands.h"
#include "ui/icons.h"

namespace kvqt::ui {
namespace {

constexpr int kToolBarSeparatorWidth = 6;

WindowRect Desktop(const QWidget* widget) {
  QScreen* screen = widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
  const QRect r = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  return {r.left(), r.top(), r.width(), r.height()};
}

std::string CurrentDirectory() {
  char buffer[4096];
  if (::getcwd(buffer, sizeof buffer) == nullptr) return "";
  return platform::EnsureTrailingSeparator(buffer);
}

}  // namespace

std::string HelpFilePath() {
  const std::string executable = platform::ExecutablePath();
  const std::string dir = platform::DirectoryPart(executable);
  for (const char* name : {"kvqt.html", "kvqt.chm"}) {
    std::string path = platform::FindFileNoCase(dir, name);
    if (platform::FileExists(path)) return path;
  }
  // An installed program keeps its help page with its documentation.
  const std::string installed = platform::InstalledDocumentationDirectory(executable) + "kvqt.html";
  if (platform::FileExists(installed)) return installed;
  return "";
}

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
  setObjectName("MainWindow");
  setWindowTitle(QString::fromLatin1(kProgramTitle));
  setWindowIcon(ProgramIcon());
  // No maximise box and no sizing border.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setContextMenuPolicy(Qt::PreventContextMenu);
  buildCommands();
  buildMenu();
  buildToolBar();
  setCentralWidget(new QWidget(this));
  fitToToolBar();

  setCommandHandler(kCmdExit, [this] { close(); });
  setCommandHandler(kCmdTaskfile, [this] { openTaskFile(); });
  setCommandHandler(kCmdHelp, [this] { openHelp(); });
  setCommandHandler(kCmdAbout, [this] { showAbout(); });
}

void MainWindow::buildCommands() {
  for (const Command& c : kCommands) {
    auto* action = new QAction(QString::fromLatin1(c.menuText), this);
    action->setObjectName(QString::number(c.id));
    action->setData(c.id);
    if (c.hint[0] != '\0') {
      action->setToolTip(QString::fromLatin1(c.hint));
      action->setStatusTip(QString::fromLatin1(c.hint));
    }
    action->setEnabled(false);
    const int id = c.id;
    connect(action, &QAction::triggered, this, [this, id] {
      auto it = handlers_.find(id);
      if (it != handlers_.end() && it->second) it->second();
    });
    commands_[id] = action;
  }
  for (const int id : {kCmdFileManager, kCmdSearch, kCmdDirectoryEditor, kCmdListEditor, kCmdConfigure,
                       kCmdFileDownload, kCmdDefinitionFileDownload, kCmdDownload}) {
    commands_[id]->setIcon(CommandIcon(id));
  }
  // The Enter key opens the download dialog, as the Download command does.
  auto* enter = new QAction(this);
  enter->setObjectName(QString::number(kCmdEnter));
  enter->setShortcuts({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
  enter->setShortcutContext(Qt::WindowShortcut);
  enter->setEnabled(false);
  connect(enter, &QAction::triggered, commands_[kCmdDownload], &QAction::trigger);
  connect(commands_[kCmdDownload], &QAction::enabledChanged, enter, &QAction::setEnabled);
  addAction(enter);
  commands_[kCmdEnter] = enter;
}

void MainWindow::buildMenu() {
  for (const Menu& m : MainMenu()) {
    QMenu* menu = menuBar()->addMenu(QString::fromLatin1(m.title));
    for (int id : m.items) {
      if (id == kSeparator) menu->addSeparator();
      else menu->addAction(commands_.at(id));
    }
  }
}

void MainWindow::buildToolBar() {
  toolBar_ = new QToolBar(this);
  toolBar_->setObjectName("toolbar");
  toolBar_->setMovable(false);
  toolBar_->setFloatable(false);
  toolBar_->setIconSize(QSize(24, 24));
  toolBar_->setStyleSheet(QString("QToolBar::separator { width: %1px; }").arg(kToolBarSeparatorWidth));
  for (int id : ToolBarItems()) {
    if (id == kSeparator) toolBar_->addSeparator();
    else toolBar_->addAction(commands_.at(id));
  }
  addToolBar(Qt::TopToolBarArea, toolBar_);
}

void MainWindow::fitToToolBar() {
  // The frame is as wide as the tool bar and as high as menu and tool bar;
  // the window system adds caption and border.
  const QSize bar = toolBar_->sizeHint();
  const int width = std::max(bar.width(), menuBar()->sizeHint().width());
  const int height = menuBar()->sizeHint().height() + bar.height();
  setFixedSize(width, height);
}

QAction* MainWindow::command(int id) const {
  auto it = commands_.find(id);
  return it == commands_.end() ? nullptr : it->second;
}

void MainWindow::setCommandHandler(int id, std::function<void()> handler) {
  QAction* action = command(id);
  if (action == nullptr) return;
  handlers_[id] = std::move(handler);
  action->setEnabled(static_cast<bool>(handlers_[id]));
}

void MainWindow::placeOnDesktop() {
  const QRect frame = frameGeometry();
  const WindowPoint at = ReadWindowPosition(frame.width(), frame.height(), Desktop(this));
  move(static_cast<int>(at.x), static_cast<int>(at.y));
}

void MainWindow::storePosition() {
  if (!storePosition_ || positionStored_) return;
  positionStored_ = true;
  WriteWindowPosition({x(), y()});
}

void MainWindow::closeEvent(QCloseEvent* event) {
  storePosition();
  event->accept();
}

void MainWindow::raiseWindow() {
  if (isMinimized()) showNormal();
  else show();
  raise();
  activateWindow();
}

void MainWindow::quitRequested() {
  // Like a posted quit message, this also ends a modal dialog's loop.
  if (QApplication::activeModalWidget() != nullptr) {
    storePosition();
    QCoreApplication::exit(0);
  } else {
    close();
  }
}

void MainWindow::openTaskFile() {
  const int result = platform::OpenFile(CurrentDirectory() + kTaskFileName);
  if (platform::StartFailed(result)) message("Can't find " + platform::FileOpenerName());
}

void MainWindow::openHelp() {
  const std::string help = HelpFilePath();
  if (help.empty()) return;
  platform::OpenFile(help);
}

void MainWindow::showAbout() {
  AboutDialog about(this);
  about.exec();
}

}  // namespace kvqt::ui
