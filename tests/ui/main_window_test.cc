#include "ui/main_window.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QToolBar>
#include <vector>

#include "app/application.h"
#include "ui/about_dialog.h"
#include "ui/commands.h"
#include "ui/dialog_commands.h"
#include "ui/qt_test_app.h"

namespace kvqt::ui {
namespace {

using kvqt::testing::QtTest;

// Entries of a menu or the tool bar: command ids, 0 for a separator.
std::vector<int> Entries(const QList<QAction*>& actions) {
  std::vector<int> ids;
  for (QAction* a : actions) ids.push_back(a->isSeparator() ? 0 : a->data().toInt());
  return ids;
}

class MainWindowTest : public QtTest {};

TEST_F(MainWindowTest, MenuHoldsEveryCommandInItsPlace) {
  MainWindow window;
  const QList<QAction*> menus = window.menuBar()->actions();
  ASSERT_EQ(menus.size(), 3);
  struct {
    const char* title;
    std::vector<int> entries;
  } expected[] = {
      {"&File", {1002, 391, 0, 24310}},
      {"&Tools", {1009, 0, 1008, 1007, 0, 1012, 1014, 1013, 0, 1010, 1011, 0, 1015}},
      {"&Help", {1017, 0, 1016}},
  };
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(menus[i]->text().toStdString(), expected[i].title);
    EXPECT_EQ(Entries(menus[i]->menu()->actions()), expected[i].entries) << expected[i].title;
  }
}

TEST_F(MainWindowTest, CommandsCarryTheirMenuTextsAndHints) {
  MainWindow window;
  struct {
    int id;
    const char* text;
    const char* hint;
  } cases[] = {
      {1002, "File &Manager", "Opens file manager"},
      {391, "&Search", "Search Dialog"},
      {24310, "E&xit", "Terminates the korvane"},
      {1009, "&Configure", "Shows configure dialog"},
      {1008, "&List Editor", "Edits lists to download"},
      {1007, "D&irectory Editor", "Edits available directories for each format"},
      {1012, "&Download", "Download"},
      {1014, "&File Download", "Download to a single file"},
      {1013, "D&efinition File Download", "Download using a definition file"},
      {1010, "C&onvert", "Shows dialog to convert datafiles"},
      {1011, "&Append", "Shows dialog to append data from other dataformats"},
      {1015, "&Taskfile", "Shows current taskfile"},
  };
  for (const auto& c : cases) {
    QAction* a = window.command(c.id);
    ASSERT_NE(a, nullptr) << c.id;
    EXPECT_EQ(a->text().toStdString(), c.text);
    EXPECT_EQ(a->statusTip().toStdString(), c.hint);
    EXPECT_EQ(a->toolTip().toStdString(), c.hint);
  }
  EXPECT_EQ(window.command(1017)->text().toStdString(), "&Help");
  EXPECT_TRUE(window.command(1017)->statusTip().isEmpty());
  EXPECT_FALSE(window.command(1016)->statusTip().isEmpty());
}

TEST_F(MainWindowTest, ToolBarButtonsInTheirOrderWithSeparators) {
  MainWindow window;
  EXPECT_EQ(Entries(window.toolBar()->actions()),
            (std::vector<int>{1002, 0, 391, 0, 1007, 1008, 0, 1009, 0, 1014, 1013, 1012}));
  for (QAction* a : window.toolBar()->actions()) {
    if (!a->isSeparator()) {
      EXPECT_FALSE(a->icon().isNull()) << a->data().toInt();
    }
  }
  EXPECT_FALSE(window.toolBar()->isMovable());
}

TEST_F(MainWindowTest, FixedFrameSizedToMenuAndToolBar) {
  MainWindow window;
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  EXPECT_EQ(window.windowTitle().toStdString(), "Norvale Korvane");
  EXPECT_FALSE(window.windowIcon().isNull());
  EXPECT_EQ(window.minimumSize(), window.maximumSize());
  EXPECT_EQ(window.height(), window.menuBar()->height() + window.toolBar()->height());
  EXPECT_GE(window.width(), window.toolBar()->sizeHint().width());
  EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(window.windowFlags() & Qt::WindowMinimizeButtonHint);
}

TEST_F(MainWindowTest, DialogCommandsStayDisabledUntilTheirDialogIsThere) {
  MainWindow window;
  for (int id : {1002, 391, 1009, 1008, 1007, 1012, 1014, 1013, 1010, 1011, 924}) {
    EXPECT_FALSE(window.command(id)->isEnabled()) << id;
  }
  for (int id : {24310, 1015, 1017, 1016}) EXPECT_TRUE(window.command(id)->isEnabled()) << id;
  int opened = 0;
  window.setCommandHandler(1010, [&] { ++opened; });
  EXPECT_TRUE(window.command(1010)->isEnabled());
  window.command(1010)->trigger();
  EXPECT_EQ(opened, 1);
}

TEST_F(MainWindowTest, EveryCommandIsEnabledOnceTheDialogsAreConnected) {
  Application application{{}};
  MainWindow window;
  ConnectDialogCommands(window, application);
  for (const Command& command : kCommands) EXPECT_TRUE(window.command(command.id)->isEnabled()) << command.id;
  EXPECT_TRUE(window.command(kCmdEnter)->isEnabled());
  for (QAction* action : window.toolBar()->actions())
    EXPECT_TRUE(action->isSeparator() || action->isEnabled()) << action->text().toStdString();
}

TEST_F(MainWindowTest, EnterKeyOpensTheDownloadDialog) {
  MainWindow window;
  int downloads = 0;
  window.setCommandHandler(1012, [&] { ++downloads; });
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  QTest::keyClick(&window, Qt::Key_Return);
  QTest::keyClick(&window, Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ(downloads, 2);
}

TEST_F(MainWindowTest, StoredPositionIsPulledOntoTheDesktopAndStoredAtClose) {
  const QRect desk = kvqt::testing::TestApp().primaryScreen()->availableGeometry();
  struct {
    const char* name;
    std::string ini;
    bool atRight, atBottom;  // clamped to the right/bottom edge, else to the left/top
  } cases[] = {
      {"far right and above", "WindowPositionX=99999\r\nWindowPositionY=-50\r\n", true, false},
      {"negative and far below", "WindowPositionX=-20\r\nWindowPositionY=99999\r\n", false, true},
  };
  for (const auto& c : cases) {
    dir_.write("kvqt.ini", "[configure]\r\n" + c.ini);
    MainWindow window;
    window.placeOnDesktop();
    const QRect frame = window.frameGeometry();
    EXPECT_EQ(window.x(), c.atRight ? desk.right() + 1 - frame.width() : desk.left()) << c.name;
    EXPECT_EQ(window.y(), c.atBottom ? desk.bottom() + 1 - frame.height() : desk.top()) << c.name;
  }

  dir_.write("kvqt.ini", "");
  MainWindow window;
  window.placeOnDesktop();
  EXPECT_EQ(window.pos(), QPoint(desk.left() + desk.width() / 3, desk.top() + desk.height() / 3));
  window.move(desk.left() + 12, desk.top() + 34);
  window.show();
  window.close();
  EXPECT_EQ(dir_.read("kvqt.ini"), "[configure]\r\nWindowPositionX=" + std::to_string(desk.left() + 12) +
                                       "\r\nWindowPositionY=" + std::to_string(desk.top() + 34) + "\r\n");
}

TEST_F(MainWindowTest, BatchRunsDoNotStoreThePosition) {
  MainWindow window;
  window.setStorePositionOnClose(false);
  window.show();
  window.close();
  EXPECT_FALSE(dir_.exists("kvqt.ini"));
}

TEST_F(MainWindowTest, AboutShowsTheVersion) {
  AboutDialog about(nullptr);
  auto* version = about.findChild<QLabel*>("id420");
  ASSERT_NE(version, nullptr);
  EXPECT_EQ(version->text().toStdString(), "3.2.4");
}

TEST_F(MainWindowTest, TaskfileWithoutAnEditorSaysWhichProgramIsMissing) {
  ::setenv("KVQT_EDITOR", "/nonexistent/editor", 1);
  MainWindow window;
  window.command(1015)->trigger();
  ::unsetenv("KVQT_EDITOR");
  ASSERT_EQ(messages_->shown().size(), 1u);
  EXPECT_EQ(messages_->shown()[0].text, "Can't find /nonexistent/editor");
  EXPECT_EQ(messages_->shown()[0].caption, "Message");
}

TEST_F(MainWindowTest, TaskfileOpensKvqtTskOfTheProgramDirectoryInTheEditor) {
  dir_.write("editor.sh", "#!/bin/sh\necho \"$1\" > opened.tmp; mv opened.tmp opened\n");
  ::chmod(dir_.file("editor.sh").c_str(), 0755);
  ::setenv("KVQT_EDITOR", dir_.file("editor.sh").c_str(), 1);
  MainWindow window;
  window.command(1015)->trigger();
  ::unsetenv("KVQT_EDITOR");
  EXPECT_TRUE(messages_->shown().empty());
  ASSERT_TRUE(kvqt::testing::QtWaitUntil([&] { return dir_.exists("opened"); }));
  EXPECT_EQ(dir_.read("opened"), dir_.file("kvqt.tsk") + "\n");
}

TEST_F(MainWindowTest, HelpWithoutAHelpFileDoesNothing) {
  ASSERT_EQ(HelpFilePath(), "");
  dir_.write("editor.sh", "#!/bin/sh\ntouch opened\n");
  ::chmod(dir_.file("editor.sh").c_str(), 0755);
  ::setenv("KVQT_EDITOR", dir_.file("editor.sh").c_str(), 1);
  MainWindow window;
  window.command(1017)->trigger();
  ::unsetenv("KVQT_EDITOR");
  QTest::qWait(200);
  EXPECT_FALSE(dir_.exists("opened"));
  EXPECT_TRUE(messages_->shown().empty());
}

}  // namespace
}  // namespace kvqt::ui
