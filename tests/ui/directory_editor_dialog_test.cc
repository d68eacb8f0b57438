// The directory editor and the add-directory dialog, driven by their control ids.
#include "ui/directory_editor_dialog.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include "app/application.h"
#include "app/model/format_table.h"
#include "formats/datafile_entry.h"
#include "formats/format_driver.h"
#include "platform/path.h"
#include "ui/add_directory_dialog.h"
#include "ui/commands.h"
#include "ui/dialog_commands.h"
#include "ui/dialog_test_util.h"
#include "ui/main_window.h"
#include "ui/qt_test_app.h"

namespace kvqt::ui {
namespace {

using kvqt::testing::Control;
using kvqt::testing::OnceOpen;
using kvqt::testing::OpenedBy;
using kvqt::testing::OpenedDialog;
using kvqt::testing::QtTest;

// Types `path` into the add-directory dialog once it is open and presses "&Add".
// A refused name leaves the dialog open: it closes for the test.
void AnswerAddDirectory(const std::string& path) {
  OnceOpen<AddDirectoryDialog>([path](AddDirectoryDialog& dialog) {
    dialog.findChild<QComboBox*>("id267")->setCurrentText(QString::fromStdString(path));
    dialog.findChild<QPushButton*>("id1")->click();
  });
}

QStringList Rows(QListWidget* list) {
  QStringList rows;
  for (int i = 0; i < list->count(); ++i) rows << list->item(i)->text();
  return rows;
}

class DirectoryEditorDialogTest : public QtTest {
 protected:
  DirectoryEditorDialogTest() { MergeFormatTable(formats); }

  // Shows the ASCII format in the editor.
  void ShowAscii(DirectoryEditorDialog& dialog) {
    auto* format = Control<QComboBox>(dialog, 266);
    format->setCurrentIndex(format->findText(QString::fromStdString(Ascii().name())));
    ASSERT_EQ(&Ascii(), dialog.shownFormat());
  }
  Format& Ascii() { return *formats.findBySymbol("ASC"); }

  Formats formats;
};

TEST_F(DirectoryEditorDialogTest, AddingADirectoryMakesItAndPutsItInTheFormat) {
  DirectoryEditorDialog dialog(formats, nullptr);
  ShowAscii(dialog);
  const std::string path = dir_.path() + "quotes/daily";
  AnswerAddDirectory(path);
  messages_->answerNext(true);  // "Create it?"
  Control<QPushButton>(dialog, 275)->click();

  ASSERT_EQ(1, Ascii().directoryCount());
  EXPECT_EQ(path + "/", Ascii().directoryAt(0)->name());
  EXPECT_EQ(path + "/", Ascii().currentDirectory()->name());
  EXPECT_TRUE(platform::DirectoryExists(path));
  EXPECT_EQ(QStringList{QString::fromStdString(path + "/")}, Rows(Control<QListWidget>(dialog, 267)));
}

TEST_F(DirectoryEditorDialogTest, ADirectoryOfAnotherFormatIsRefusedWithItsMessage) {
  const std::string ms = dir_.path() + "ms/";
  ASSERT_TRUE(platform::MakeDirectories(ms));
  DatafileEntry entry;
  ASSERT_EQ(1, CreateEntry("AAA", "AAA Corp", 0, entry, 4, ms));

  DirectoryEditorDialog dialog(formats, nullptr);
  ShowAscii(dialog);
  AnswerAddDirectory(ms);
  Control<QPushButton>(dialog, 275)->click();

  EXPECT_EQ(0, Ascii().directoryCount());
  EXPECT_EQ(0, Control<QListWidget>(dialog, 267)->count());
  ASSERT_EQ(1u, messages_->shown().size());
  EXPECT_EQ("Directory contains datafiles of another format:\nMetastock", messages_->shown()[0].text);
}

TEST_F(DirectoryEditorDialogTest, DeleteAsksAndRemovesTheSelectedDirectoryOnly) {
  Ascii().addDirectory(std::make_unique<Directory>(dir_.path() + "a/", 5));
  Ascii().addDirectory(std::make_unique<Directory>(dir_.path() + "b/", 5));
  DirectoryEditorDialog dialog(formats, nullptr);
  ShowAscii(dialog);
  auto* list = Control<QListWidget>(dialog, 267);
  list->clearSelection();
  Control<QPushButton>(dialog, 276)->click();
  ASSERT_EQ(1u, messages_->shown().size());
  EXPECT_EQ("No directory selected", messages_->shown()[0].text);
  EXPECT_EQ(2, Ascii().directoryCount());

  messages_->clear();
  list->setCurrentRow(0);
  messages_->answerNext(true);
  Control<QPushButton>(dialog, 276)->click();
  ASSERT_EQ(1u, messages_->shown().size());
  EXPECT_EQ("Are you sure you want to remove directory:\n" + dir_.path() + "a/\nfrom the korvane?",
            messages_->shown()[0].text);
  ASSERT_EQ(1, Ascii().directoryCount());
  EXPECT_EQ(dir_.path() + "b/", Ascii().directoryAt(0)->name());
  EXPECT_EQ(QStringList{QString::fromStdString(dir_.path() + "b/")}, Rows(list));
}

TEST_F(DirectoryEditorDialogTest, TheAddDialogStaysOpenOnARelativeName) {
  AddDirectoryDialog dialog(Ascii(), nullptr);
  EXPECT_EQ("Add Directory", dialog.windowTitle().toStdString());
  EXPECT_EQ(QString::fromStdString(Ascii().name()), Control<QLabel>(dialog, 266)->text());
  dialog.show();
  Control<QComboBox>(dialog, 267)->setCurrentText("quotes/daily");
  messages_->answerNext(true);
  Control<QPushButton>(dialog, 1)->click();
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ("", dialog.path());
  ASSERT_EQ(2u, messages_->shown().size());
  EXPECT_EQ("No drive specified in directoryname", messages_->shown()[1].text);

  messages_->clear();
  Control<QComboBox>(dialog, 267)->setCurrentText(QString::fromStdString(dir_.path()));
  Control<QPushButton>(dialog, 1)->click();
  EXPECT_EQ(QDialog::Accepted, dialog.result());
  EXPECT_EQ(dir_.path(), dialog.path());
  EXPECT_TRUE(messages_->shown().empty());
}

TEST_F(DirectoryEditorDialogTest, TheDirectoryEditorCommandOpensTheEditorOverTheWindow) {
  Application application({});
  MergeFormatTable(application.formats());
  MainWindow window;
  ConnectDialogCommands(window, application);
  QAction* command = window.command(kCmdDirectoryEditor);
  ASSERT_TRUE(command->isEnabled());
  const OpenedDialog opened = OpenedBy(*command);
  EXPECT_EQ("KORV_DIR_EDITOR", opened.name);
  EXPECT_EQ(&window, opened.parent);
}

}  // namespace
}  // namespace kvqt::ui
