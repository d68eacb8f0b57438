// The interactive main window: a small fixed frame with the menu and the tool
// bar, from which every function is reached. Commands whose dialogs are not
// part of the program yet stay disabled until a handler is set.
#pragma once

#include <QMainWindow>
#include <functional>
#include <map>

class QAction;
class QToolBar;

namespace kvqt::ui {

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(QWidget* parent = nullptr);

  QAction* command(int id) const;
  QToolBar* toolBar() const { return toolBar_; }

  // Connects a command to what it does and enables it.
  void setCommandHandler(int id, std::function<void()> handler);

  // Places the window at the stored (or default) position, pulled onto the desktop.
  void placeOnDesktop();
  // Interactive runs store the window's position when it closes.
  void setStorePositionOnClose(bool store) { storePosition_ = store; }

  // Another start asked for the window: restore it and bring it to the front.
  void raiseWindow();
  // The release installer asked the program to quit.
  void quitRequested();

  // The commands of the program itself.
  void openTaskFile();
  void openHelp();
  void showAbout();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildCommands();
  void buildMenu();
  void buildToolBar();
  void fitToToolBar();
  void storePosition();

  std::map<int, QAction*> commands_;
  std::map<int, std::function<void()>> handlers_;
  QToolBar* toolBar_ = nullptr;
  bool storePosition_ = true;
  bool positionStored_ = false;
};

// The help file beside the program ("kvqt.html", else "kvqt.chm"), else the
// installed help page in the documentation directory, or "" when there is none.
std::string HelpFilePath();

}  // namespace kvqt::ui
