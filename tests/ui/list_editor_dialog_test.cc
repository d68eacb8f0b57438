// The list editor and the add-list dialog, driven by their control ids.
#include "ui/list_editor_dialog.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTreeView>

#include "app/application.h"
#include "app/model/format_table.h"
#include "formats/datafile_entry.h"
#include "formats/directory_refresh.h"
#include "formats/format_driver.h"
#include "platform/path.h"
#include "ui/add_directory_dialog.h"
#include "ui/add_list_dialog.h"
#include "ui/commands.h"
#include "ui/dialog_commands.h"
#include "ui/dialog_test_util.h"
#include "ui/main_window.h"
#include "ui/qt_test_app.h"

namespace kvqt::ui {
namespace {

using kvqt::testing::Control;
using kvqt::testing::MakeChartDirectory;
using kvqt::testing::OnceOpen;
using kvqt::testing::OpenedBy;
using kvqt::testing::OpenedDialog;
using kvqt::testing::QtTest;

class ListEditorDialogTest : public QtTest {
 protected:
  void SetUp() override {
    QtTest::SetUp();
    MergeFormatTable(formats);
    formats.setCurrentIndex(formats.indexOf(&Ascii()));
    InstallDirectoryRefresh();
  }
  void TearDown() override {
    Directory::SetRefreshHook(nullptr);
    Directory::SetListFileHook(nullptr);
    QtTest::TearDown();
  }
  Format& Ascii() { return *formats.findBySymbol("ASC"); }

  // An ASCII directory with three instruments.
  std::string Quotes() {
    const std::string path = dir_.path() + "quotes/";
    MakeChartDirectory(path, 5, {{"AAA", "AAA Corp"}, {"BBB", "BBB Corp"}, {"CCC", "CCC Corp"}});
    return path;
  }

  Formats formats;
};

TEST_F(ListEditorDialogTest, AListAndADirectoryAreAddedThroughTheirDialogs) {
  ListEditorDialog dialog(formats, nullptr);
  ASSERT_EQ(&Ascii(), dialog.shownFormat());
  // Without a list a directory has nowhere to go.
  Control<QPushButton>(dialog, 275)->click();
  ASSERT_EQ(1u, messages_->shown().size());
  EXPECT_EQ("Select a list first", messages_->shown()[0].text);

  OnceOpen<AddListDialog>([](AddListDialog& add) {
    EXPECT_EQ("Add list", add.windowTitle().toStdString());
    add.findChild<QLineEdit*>("id194")->setText("Daily");
    add.findChild<QPushButton*>("id1")->click();
  });
  Control<QPushButton>(dialog, 278)->click();
  ASSERT_NE(nullptr, Ascii().listByName("Daily"));
  EXPECT_EQ("Daily", Ascii().currentList()->name());
  EXPECT_EQ("Daily", Control<QComboBox>(dialog, 194)->currentText().toStdString());

  const std::string quotes = Quotes();
  OnceOpen<AddDirectoryDialog>([quotes](AddDirectoryDialog& add) {
    add.findChild<QComboBox*>("id267")->setCurrentText(QString::fromStdString(quotes));
    add.findChild<QPushButton*>("id1")->click();
  });
  Control<QPushButton>(dialog, 275)->click();
  const List& list = *Ascii().listByName("Daily");
  ASSERT_EQ(1, list.directoryCount());
  EXPECT_EQ(quotes, list.currentDirectory()->name());
  EXPECT_EQ(quotes, Ascii().currentDirectory()->name());
  EXPECT_EQ(QString::fromStdString(quotes), Control<QListWidget>(dialog, 267)->item(0)->text());
  EXPECT_EQ(3, Control<QTreeView>(dialog, 279)->model()->rowCount());
}

TEST_F(ListEditorDialogTest, ModesAndTheDownKeyInModeSelection) {
  Ascii().addList(std::make_unique<List>("Daily", 5));
  Ascii().setCurrentList("Daily");
  Ascii().currentList()->addDirectory(std::make_unique<Directory>(Quotes(), 5));
  Ascii().currentList()->setCurrent(0);

  ListEditorDialog dialog(formats, nullptr);
  Directory* directory = dialog.shownDirectory();
  ASSERT_NE(nullptr, directory);
  auto* view = Control<QTreeView>(dialog, 279);
  auto* counter = dialog.findChild<QLabel*>("counter");
  ASSERT_EQ(3, view->model()->rowCount());
  EXPECT_EQ("name", view->model()->headerData(0, Qt::Horizontal).toString().toStdString());
  EXPECT_EQ("selected", view->model()->headerData(1, Qt::Horizontal).toString().toStdString());

  Control<QRadioButton>(dialog, 357)->click();
  EXPECT_EQ(Directory::kSelectAll, directory->selectionMode());
  EXPECT_EQ("Instruments (3/3 selected)", counter->text().toStdString());
  Control<QRadioButton>(dialog, 356)->click();
  EXPECT_EQ(Directory::kSelectNone, directory->selectionMode());
  EXPECT_EQ("Instruments (0/3 selected)", counter->text().toStdString());

  Control<QRadioButton>(dialog, 358)->click();
  EXPECT_EQ(Directory::kSelectStored, directory->selectionMode());
  view->setCurrentIndex(view->model()->index(0, 0));
  QTest::keyClick(view, Qt::Key_Down);
  EXPECT_FALSE(directory->at(0)->selected());
  EXPECT_TRUE(directory->at(1)->selected());
  EXPECT_EQ(1, view->currentIndex().row());
  EXPECT_EQ("Yes", view->model()->index(1, 1).data().toString().toStdString());
  EXPECT_EQ("no", view->model()->index(0, 1).data().toString().toStdString());
  QTest::keyClick(view, Qt::Key_Space);
  EXPECT_FALSE(directory->at(1)->selected());
  EXPECT_EQ("Instruments (0/3 selected)", counter->text().toStdString());

  // A click toggles the row clicked on.
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  const QRect third = view->visualRect(view->model()->index(2, 0));
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, third.center());
  EXPECT_TRUE(directory->at(2)->selected());
  EXPECT_EQ("Instruments (1/3 selected)", counter->text().toStdString());
}

TEST_F(ListEditorDialogTest, DeletingAskedAndAnsweredYes) {
  Ascii().addList(std::make_unique<List>("Daily", 5));
  Ascii().setCurrentList("Daily");
  Ascii().currentList()->addDirectory(std::make_unique<Directory>(dir_.path(), 5));
  ListEditorDialog dialog(formats, nullptr);
  Control<QListWidget>(dialog, 267)->setCurrentRow(0);
  messages_->answerNext(true);
  Control<QPushButton>(dialog, 276)->click();
  EXPECT_EQ(0, Ascii().listByName("Daily")->directoryCount());
  messages_->answerNext(true);
  Control<QPushButton>(dialog, 265)->click();
  EXPECT_EQ(0, Ascii().listCount());
  EXPECT_EQ(0, Control<QComboBox>(dialog, 194)->count());
  ASSERT_EQ(2u, messages_->shown().size());
  EXPECT_EQ("Remove directory:\n" + dir_.path() + "\nfrom the list?", messages_->shown()[0].text);
  EXPECT_EQ("Delete list Daily?", messages_->shown()[1].text);
}

TEST_F(ListEditorDialogTest, TheListEditorCommandOpensTheEditorOverTheWindow) {
  Application application({});
  MergeFormatTable(application.formats());
  MainWindow window;
  ConnectDialogCommands(window, application);
  QAction* command = window.command(kCmdListEditor);
  ASSERT_TRUE(command->isEnabled());  const OpenedDialog opened = OpenedBy(*command);
  EXPECT_EQ("KORV_LIST_EDITOR", opened.name);
  EXPECT_EQ(&window, opened.parent);
}

}  // namespace
}  // namespace kvqt::ui
