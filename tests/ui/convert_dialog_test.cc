// The convert and append dialogs driven by their control ids: the files each
// run writes, the line "Convert All" and "Append All" leave in kvqt.tsk, and
// that line run again by kvqt from the command line with the same result.
#include "ui/convert_dialog.h"

#include <sys/stat.h>
#include <sys/wait.h>

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <cstdio>
#include <map>

#include "app/application.h"
#include "app/datafile/program_data_file.h"
#include "app/datafile/user_info.h"
#include "maintenance/convert_test_util.h"
#include "platform/path.h"
#include "support/hex.h"
#include "ui/commands.h"
#include "ui/dialog_commands.h"
#include "ui/dialog_test_util.h"
#include "ui/main_window.h"
#include "ui/qt_test_app.h"

namespace kvqt::ui {
namespace {

using kvqt::testing::Control;
using kvqt::testing::Describe;
using kvqt::testing::DirectoryFiles;
using kvqt::testing::OpenedBy;
using kvqt::testing::OpenedDialog;
using kvqt::testing::QtTest;
using kvqt::testing::Quoted;
using kvqt::testing::ReadRecords;
using kvqt::testing::Restore;
using kvqt::testing::Snapshot;
using kvqt::testing::TempDir;
using kvqt::testing::TradingDays;
using kvqt::testing::WithoutDisplay;
using kvqt::testing::WriteSymbol;

QStringList Rows(QListView* list) {
  QStringList rows;
  for (int i = 0; i < list->model()->rowCount(); ++i) rows << list->model()->index(i, 0).data().toString();
  return rows;
}

void SelectRows(QListView* list, std::initializer_list<int> rows) {
  list->clearSelection();
  for (int row : rows) list->selectionModel()->select(list->model()->index(row, 0), QItemSelectionModel::Select);
}

// Notes the title of the progress dialog once it is open.
void NoteProgressTitle(std::string* title) {
  QTimer::singleShot(0, [title] {
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->objectName() == "GENERAL_CANCEL")
      *title = modal->windowTitle().toStdString();
  });
}

class ConvertDialogTest : public QtTest {
 protected:
  void SetUp() override {
    QtTest::SetUp();
    previousRefresh_ = Directory::SetRefreshHook(nullptr);
    InstallDirectoryRefresh();
    ms = charts_.path() + "ms/";
    asc = charts_.path() + "asc/";
    ASSERT_TRUE(platform::MakeDirectories(ms));
    ASSERT_TRUE(platform::MakeDirectories(asc));
    MergeFormatTable(app.formats());
    WriteSymbol(ms, MetaStock().formatId(), "AAA", TradingDays(Date(2004, 3, 1), 6), "Aaa Corp");
    WriteSymbol(ms, MetaStock().formatId(), "BBB", TradingDays(Date(2004, 3, 1), 4, 40.0f), "Bbb Corp");
    MetaStock().addDirectory(std::make_unique<Directory>(ms, MetaStock().formatId()));
    Ascii().addDirectory(std::make_unique<Directory>(asc, Ascii().formatId()));
    app.formats().setCurrentIndex(app.formats().indexOf(&MetaStock()));
  }
  void TearDown() override {
    Directory::SetRefreshHook(previousRefresh_);
    QtTest::TearDown();
  }

  Format& MetaStock() { return *app.formats().findBySymbol("MS"); }
  Format& Ascii() { return *app.formats().findBySymbol("ASC"); }

  std::vector<std::string> Written(const std::string& symbol) {
    return Describe(ReadRecords(asc, Ascii().formatId(), symbol));
  }
  std::vector<std::string> Source(const std::string& symbol, Date from = Date()) {
    std::vector<PriceRecord> records;
    for (const PriceRecord& r : ReadRecords(ms, MetaStock().formatId(), symbol))
      if (from.isNull() || !(r.date < from)) records.push_back(r);
    return Describe(records);
  }

  // A program directory as a batch run finds it, holding the program data as
  // they are now and `line` as the task file; then kvqt runs that task file
  // without a display. Returns its exit status.
  int RunTaskFileInBatch(const std::string& programData, const std::string& line) {
    TempDir home, config, data, runtime;
    home.write("kvqt.dat", programData);
    home.write("kvqt.prs", testing::Padded("", 5) + testing::Padded("12345", 84));
    home.write("again.tsk", line);
    const std::string command = WithoutDisplay(home.path(), config.path(), data.path(), runtime.path()) + KVQT_PATH +
                                " -nowindow " + Quoted(home.file("again.tsk")) + " >" + Quoted(home.file("out.txt")) +
                                " 2>&1";
    const int status = std::system(command.c_str());
    batchOutput_ = home.read("out.txt");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  Application app{{}};
  TempDir charts_;
  std::string ms, asc;
  std::string batchOutput_;

 private:
  Directory::RefreshHook previousRefresh_ = nullptr;
};

TEST_F(ConvertDialogTest, OpensOnTheCurrentFormatAndTheOneAfterIt) {
  ConvertDialog dialog(app.formats(), false, nullptr);
  EXPECT_EQ("KORV_CONVERT", dialog.objectName().toStdString());
  EXPECT_EQ("Metastock", Control<QComboBox>(dialog, 315)->currentText().toStdString());
  // Metastock Intraday follows, which takes no part: the first format offered.
  EXPECT_EQ("Ascii: Comma Delimited", Control<QComboBox>(dialog, 316)->currentText().toStdString());
  EXPECT_EQ(ms, Control<QComboBox>(dialog, 317)->currentText().toStdString());
  EXPECT_EQ(asc, Control<QComboBox>(dialog, 318)->currentText().toStdString());
  EXPECT_EQ((QStringList{"Aaa Corp", "Bbb Corp"}), Rows(Control<QListView>(dialog, 319)));
  EXPECT_TRUE(Rows(Control<QListView>(dialog, 320)).isEmpty());
  EXPECT_TRUE(Control<QRadioButton>(dialog, 362)->isChecked());
  EXPECT_FALSE(Control<QRadioButton>(dialog, 361)->isChecked());
  EXPECT_EQ("", Control<QLineEdit>(dialog, 172)->text().toStdString());
  for (int id : {270, 343, 323, 1}) EXPECT_NE(nullptr, Control<QPushButton>(dialog, id));
  EXPECT_EQ(nullptr, dialog.findChild<QPushButton*>("id321"));
  // The intraday formats, the output-only ones, and Orvista as a source are not offered.
  EXPECT_EQ(-1, Control<QComboBox>(dialog, 315)->findText("Metastock Intraday"));
  EXPECT_EQ(-1, Control<QComboBox>(dialog, 315)->findText("Orvista 2000"));
  EXPECT_NE(-1, Control<QComboBox>(dialog, 316)->findText("Orvista 2000"));
  EXPECT_EQ(-1, Control<QComboBox>(dialog, 316)->findText("Pelto"));
  EXPECT_TRUE(Shown().empty());
}

TEST_F(ConvertDialogTest, ASourceFormatBecomesCurrentADestinationFormatDoesNot) {
  ConvertDialog dialog(app.formats(), false, nullptr);
  auto* destination = Control<QComboBox>(dialog, 316);
  destination->setCurrentIndex(destination->findText("Metastock"));
  EXPECT_EQ(&MetaStock(), app.formats().current());
  EXPECT_EQ(ms, Control<QComboBox>(dialog, 318)->currentText().toStdString());
  EXPECT_EQ((QStringList{"Aaa Corp", "Bbb Corp"}), Rows(Control<QListView>(dialog, 320)));

  auto* source = Control<QComboBox>(dialog, 315);
  source->setCurrentIndex(source->findText("Ascii: Comma Delimited"));
  EXPECT_EQ(&Ascii(), app.formats().current());
  EXPECT_EQ(&Ascii(), dialog.sourceFormat());
  EXPECT_EQ(asc, Control<QComboBox>(dialog, 317)->currentText().toStdString());
  EXPECT_TRUE(Rows(Control<QListView>(dialog, 319)).isEmpty());

  source->setCurrentIndex(source->findText("Topvest"));
  EXPECT_EQ(0, Control<QComboBox>(dialog, 317)->count());
  EXPECT_EQ(nullptr, dialog.sourceDirectory());
}

TEST_F(ConvertDialogTest, ConvertAllWritesEveryDataFileAndItsLineRunsAgainInBatch) {
  const std::string programData = EncodeProgramDataFile(UserInfo(), app.formats());
  ConvertDialog dialog(app.formats(), false, nullptr);
  std::string title;
  NoteProgressTitle(&title);
  Control<QPushButton>(dialog, 323)->click();

  EXPECT_EQ("Convert Files", title);
  EXPECT_TRUE(Shown().empty());
  EXPECT_EQ(Source("AAA"), Written("AAA"));
  EXPECT_EQ(Source("BBB"), Written("BBB"));
  EXPECT_EQ(6u, Written("AAA").size());
  const std::string line = "=Convert(\"MS\", \"" + ms + "\", \"ASC\", \"" + asc + "\", 0, 2)\r\n";
  EXPECT_EQ(line, dir_.read("kvqt.tsk"));
  EXPECT_EQ((QStringList{"Aaa Corp", "Bbb Corp"}), Rows(Control<QListView>(dialog, 320)));

  const DirectoryFiles converted = Snapshot(asc);
  Restore(asc, {});
  ASSERT_EQ(0, RunTaskFileInBatch(programData, line)) << batchOutput_;
  EXPECT_EQ(converted, Snapshot(asc)) << batchOutput_;
}

TEST_F(ConvertDialogTest, ConvertTakesTheSelectedSymbolsFromTheStartDate) {
  WriteSymbol(asc, Ascii().formatId(), "BBB", TradingDays(Date(2003, 6, 2), 2), "Bbb Corp");
  ConvertDialog dialog(app.formats(), false, nullptr);
  EXPECT_EQ((QStringList{"Bbb Corp"}), Rows(Control<QListView>(dialog, 320)));
  SelectRows(Control<QListView>(dialog, 319), {1});
  Control<QLineEdit>(dialog, 172)->setText("3/3/2004");
  Control<QRadioButton>(dialog, 361)->click();
  std::string title;
  NoteProgressTitle(&title);
  Control<QPushButton>(dialog, 343)->click();

  EXPECT_EQ("Convert Files", title);
  EXPECT_TRUE(Written("AAA").empty());
  // Overwritten: the two older records are gone, the source's from 3 March on are there.
  EXPECT_EQ(Source("BBB", Date(2004, 3, 3)), Written("BBB"));
  EXPECT_EQ(2u, Written("BBB").size());
  EXPECT_FALSE(dir_.exists("kvqt.tsk"));
}

TEST_F(ConvertDialogTest, SkipLeavesADataFileWithRecordsAlone) {
  WriteSymbol(asc, Ascii().formatId(), "AAA", TradingDays(Date(2003, 6, 2), 2), "Aaa Corp");
  const std::vector<std::string> before = Written("AAA");
  ConvertDialog dialog(app.formats(), false, nullptr);
  Control<QPushButton>(dialog, 323)->click();
  EXPECT_EQ(before, Written("AAA"));
  EXPECT_EQ(Source("BBB"), Written("BBB"));
}

TEST_F(ConvertDialogTest, CancelBeforeTheFirstDataFileConvertsNothing) {
  ConvertDialog dialog(app.formats(), false, nullptr);
  QTimer::singleShot(0, [] {
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->objectName() == "GENERAL_CANCEL")
      modal->findChild<QPushButton*>("cancel")->click();
  });
  Control<QPushButton>(dialog, 323)->click();
  EXPECT_TRUE(Written("AAA").empty());
  EXPECT_TRUE(Written("BBB").empty());
  EXPECT_TRUE(Rows(Control<QListView>(dialog, 320)).isEmpty());
  // The line was recorded before the run began.
  EXPECT_TRUE(dir_.exists("kvqt.tsk"));
}

TEST_F(ConvertDialogTest, AStartDateThatIsNoDateIsRefusedAndNothingRuns) {
  ConvertDialog dialog(app.formats(), false, nullptr);
  Control<QLineEdit>(dialog, 172)->setText("3rd of March");
  Control<QPushButton>(dialog, 323)->click();
  EXPECT_EQ(Shown(), std::vector<std::string>{"Invalid start date\n\nEnter as YYYYMMDD or D/M/YYYY"});
  EXPECT_TRUE(Snapshot(asc).empty());
  EXPECT_FALSE(dir_.exists("kvqt.tsk"));
}

TEST_F(ConvertDialogTest, WithoutADestinationDirectoryNothingRuns) {
  ConvertDialog dialog(app.formats(), false, nullptr);
  auto* destination = Control<QComboBox>(dialog, 316);
  destination->setCurrentIndex(destination->findText("Topvest"));
  Control<QPushButton>(dialog, 323)->click();
  EXPECT_EQ(Shown(), std::vector<std::string>{"Illegal destination directory"});
  EXPECT_FALSE(dir_.exists("kvqt.tsk"));
}

TEST_F(ConvertDialogTest, AMasterThatCannotBeReadLeavesTheListEmptyWithItsMessage) {
  const std::string broken = charts_.path() + "broken/";
  ASSERT_TRUE(platform::MakeDirectories(broken));
  // Shorter than its header record.
  testing::WriteFileBytes(broken + "MASTER", std::string(3, '\0'));
  MetaStock().addDirectory(std::make_unique<Directory>(broken, MetaStock().formatId()));
  MetaStock().setCurrentDirectory(broken);
  ConvertDialog dialog(app.formats(), false, nullptr);
  EXPECT_EQ(broken, Control<QComboBox>(dialog, 317)->currentText().toStdString());
  EXPECT_TRUE(Rows(Control<QListView>(dialog, 319)).isEmpty());
  // The driver tells what is wrong with the file, the dialog which list stays empty.
  EXPECT_EQ(Shown(), (std::vector<std::string>{"Masterfile corrupt: " + broken + "MASTER",
                                                "Can't access Masterfile of directory " + broken}));
}

TEST_F(ConvertDialogTest, TheDirectoryEditorsChangesAreShownAfterwards) {
  const std::string more = charts_.path() + "more/";
  ConvertDialog dialog(app.formats(), false, nullptr);
  std::string opened;
  QTimer::singleShot(0, [&] {
    auto* editor = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!editor) return;
    opened = editor->objectName().toStdString();
    // What the editor may do: remove the directory a list shows, add another.
    MetaStock().removeDirectory(0);
    Ascii().addDirectory(std::make_unique<Directory>(more, Ascii().formatId()));
    editor->accept();
  });
  Control<QPushButton>(dialog, 270)->click();
  EXPECT_EQ("KORV_DIR_EDITOR", opened);
  EXPECT_EQ(0, Control<QComboBox>(dialog, 317)->count());
  EXPECT_TRUE(Rows(Control<QListView>(dialog, 319)).isEmpty());
  auto* destinations = Control<QComboBox>(dialog, 318);
  ASSERT_EQ(2, destinations->count());
  EXPECT_EQ(more, destinations->itemText(1).toStdString());
}

class AppendDialogTest : public ConvertDialogTest {
 protected:
  void SetUp() override {
    ConvertDialogTest::SetUp();
    // The ASCII side holds the first three days of AAA and all of BBB.
    WriteSymbol(asc, Ascii().formatId(), "AAA", TradingDays(Date(2004, 3, 1), 3), "Aaa Corp");
    WriteSymbol(asc, Ascii().formatId(), "BBB", TradingDays(Date(2004, 3, 1), 4, 40.0f), "Bbb Corp");
  }
};

TEST_F(AppendDialogTest, AppendAddsTheNewerRecordsOfTheSelectedSymbols) {
  ConvertDialog dialog(app.formats(), true, nullptr);
  EXPECT_EQ("KORV_APPEND", dialog.objectName().toStdString());
  EXPECT_EQ(nullptr, dialog.findChild<QLineEdit*>("id172"));
  EXPECT_EQ(nullptr, dialog.findChild<QRadioButton*>("id362"));
  EXPECT_EQ((QStringList{"Aaa Corp", "Bbb Corp"}), Rows(Control<QListView>(dialog, 320)));
  const std::vector<std::string> bbb = Written("BBB");
  SelectRows(Control<QListView>(dialog, 320), {0});
  std::string title;
  NoteProgressTitle(&title);
  Control<QPushButton>(dialog, 321)->click();

  EXPECT_EQ("Append Files", title);
  EXPECT_TRUE(Shown().empty());
  EXPECT_EQ(Source("AAA"), Written("AAA"));
  EXPECT_EQ(bbb, Written("BBB"));
  EXPECT_FALSE(dir_.exists("kvqt.tsk"));
}

TEST_F(AppendDialogTest, AppendAllRecordsItsLineWhichRunsAgainInBatch) {
  const std::string programData = EncodeProgramDataFile(UserInfo(), app.formats());
  const DirectoryFiles before = Snapshot(asc);
  ConvertDialog dialog(app.formats(), true, nullptr);
  Control<QPushButton>(dialog, 322)->click();

  EXPECT_EQ(Source("AAA"), Written("AAA"));
  EXPECT_EQ(Source("BBB"), Written("BBB"));
  const std::string line = "=Append(\"MS\", \"" + ms + "\", \"ASC\", \"" + asc + "\")\r\n";
  EXPECT_EQ(line, dir_.read("kvqt.tsk"));

  const DirectoryFiles appended = Snapshot(asc);
  ASSERT_NE(before, appended);
  Restore(asc, before);
  ASSERT_EQ(0, RunTaskFileInBatch(programData, line)) << batchOutput_;
  EXPECT_EQ(appended, Snapshot(asc)) << batchOutput_;
}

TEST_F(ConvertDialogTest, TheConvertAndAppendCommandsOpenTheirDialogsOverTheWindow) {
  MainWindow window;
  ConnectDialogCommands(window, app);
  const struct {
    int command;
    const char* dialog;
  } cases[] = {{kCmdConvert, "KORV_CONVERT"}, {kCmdAppend, "KORV_APPEND"}};
  for (const auto& c : cases) {
    QAction* command = window.command(c.command);
    ASSERT_TRUE(command->isEnabled()) << c.dialog;
    const OpenedDialog opened = OpenedBy(*command);
    EXPECT_EQ(c.dialog, opened.name);
    EXPECT_EQ(&window, opened.parent);
  }
}

}  // namespace
}  // namespace kvqt::ui
