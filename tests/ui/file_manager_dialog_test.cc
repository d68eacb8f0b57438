// The file manager and its find dialog, driven by their control ids over
// chart directories written by the format drivers.
#include "ui/file_manager_dialog.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrintDialog>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>
#include <cstdio>
#include <functional>

#include "app/application.h"
#include "app/model/format_table.h"
#include "formats/datafile_entry.h"
#include "formats/directory_refresh.h"
#include "formats/format_driver.h"
#include "maintenance/data_manager.h"
#include "maintenance/data_manager_view.h"
#include "platform/path.h"
#include "ui/commands.h"
#include "ui/dialog_commands.h"
#include "ui/dialog_test_util.h"
#include "ui/directory_editor_dialog.h"
#include "ui/find_dialog.h"
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

constexpr int kMetastock = 4;

// Notes the data files the data manager was opened on.
class OpenedView : public DataManagerView {
 public:
  void run(DataManager& manager) override { opened.push_back(manager.datafile().symbol()); }
  std::vector<std::string> opened;
};

class FileManagerDialogTest : public QtTest {
 protected:
  void SetUp() override {
    QtTest::SetUp();
    MergeFormatTable(application.formats());
    InstallDirectoryRefresh();
  }
  void TearDown() override {
    Directory::SetRefreshHook(nullptr);
    Directory::SetListFileHook(nullptr);
    QtTest::TearDown();
  }

  // A MetaStock directory with the instruments, current in the program.
  Format& Metastock(const std::vector<std::pair<std::string, std::string>>& instruments) {
    path = dir_.path() + "ms/";
    MakeChartDirectory(path, kMetastock, instruments, Date(2000, 1, 3));
    Formats& formats = application.formats();
    Format& format = *formats.findById(kMetastock);
    format.addDirectory(std::make_unique<Directory>(path, kMetastock));
    format.setCurrentDirectory(path);
    formats.setCurrentIndex(formats.indexOf(&format));
    return format;
  }

  bool InMaster(const char* symbol) {
    DatafileEntry entry;
    return FindEntry(symbol, entry, kMetastock, path) == 0;
  }

  static std::string Text(QLabel* label) { return label->text().toStdString(); }
  static std::string Cell(QTreeView* list, int row, int column) {
    return list->model()->index(row, column).data().toString().toStdString();
  }

  // Runs the find dialog with the text; returns what it was prefilled with.
  static std::string FindText(FileManagerDialog& dialog, const QString& text) {
    std::string prefilled;
    OnceOpen<FindDialog>([&](FindDialog& find) {
      EXPECT_EQ("Find Instrument", find.windowTitle().toStdString());
      auto* field = find.findChild<QLineEdit*>("id470");
      prefilled = field->text().toStdString();
      field->setText(text);
      find.findChild<QPushButton*>("id1")->click();
    });
    Control<QPushButton>(dialog, 468)->click();
    return prefilled;
  }

  Application application{{}};
  std::string path;
};

TEST_F(FileManagerDialogTest, DeletingTwoInstrumentsTakesThemFromTheMasterAtOnce) {
  Metastock({{"AAA", "Alpha"}, {"BBB", "Beta"}, {"CCC", "Gamma"}, {"DDD", "Delta"}});
  FileManagerDialog dialog(application, nullptr);
  auto* list = Control<QTreeView>(dialog, 347);
  auto* counter = Control<QLabel>(dialog, 660);
  ASSERT_EQ(path, dialog.shownDirectory()->name());
  EXPECT_EQ("4 instruments", Text(counter));
  // By name: Alpha, Beta, Delta, Gamma; the first row is selected.
  EXPECT_EQ("Delta", Cell(list, 2, 0));
  EXPECT_EQ("DDD     ", Cell(list, 2, 1));
  EXPECT_EQ("03/01/2000", Cell(list, 2, 2));
  EXPECT_EQ("02/01/2000", Cell(list, 2, 3));
  EXPECT_EQ(0, list->currentIndex().row());

  QItemSelectionModel* selection = list->selectionModel();
  selection->select(list->model()->index(1, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  selection->select(list->model()->index(2, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
  Control<QPushButton>(dialog, 351)->click();

  EXPECT_TRUE(messages_->shown().empty());  // no question
  EXPECT_FALSE(InMaster("BBB"));
  EXPECT_FALSE(InMaster("DDD"));
  EXPECT_TRUE(InMaster("AAA"));
  EXPECT_TRUE(InMaster("CCC"));
  EXPECT_EQ(2, dialog.shownDirectory()->size());
  EXPECT_EQ("2 instruments", Text(counter));
  ASSERT_EQ(2, list->model()->rowCount());
  EXPECT_EQ("Alpha", Cell(list, 0, 0));
  EXPECT_EQ("Gamma", Cell(list, 1, 0));
  // The row at the first deleted place is the current one.
  EXPECT_EQ(1, list->currentIndex().row());
}

TEST_F(FileManagerDialogTest, AnInstrumentIsAddedToMasterAndList) {
  Metastock({{"AAA", "Alpha"}});
  FileManagerDialog dialog(application, nullptr);
  auto* name = Control<QLineEdit>(dialog, 101);
  auto* symbol = Control<QLineEdit>(dialog, 279);
  auto* start = Control<QLineEdit>(dialog, 172);
  auto* list = Control<QTreeView>(dialog, 347);
  EXPECT_EQ("1.00", Control<QLineEdit>(dialog, 423)->text().toStdString());
  EXPECT_EQ(45, name->maxLength());
  EXPECT_EQ(8, symbol->maxLength());
  EXPECT_FALSE(Control<QLineEdit>(dialog, 681)->isEnabled());  // daily MetaStock

  name->setText("Zeta Holding");
  symbol->setText("ZZZ");
  start->setText("3/1/2005");
  Control<QPushButton>(dialog, 349)->click();
  EXPECT_TRUE(messages_->shown().empty());
  DatafileEntry entry;
  ASSERT_EQ(0, FindEntry("ZZZ", entry, kMetastock, path));
  EXPECT_EQ(Date(2005, 1, 3), entry.firstDate);
  EXPECT_EQ("2 instruments", Text(Control<QLabel>(dialog, 660)));
  EXPECT_EQ(1, list->currentIndex().row());
  EXPECT_EQ("Zeta Holding", Cell(list, 1, 0));
  EXPECT_TRUE(name->text().isEmpty());
  EXPECT_TRUE(symbol->text().isEmpty());

  // The same symbol again, Enter in the field adding it, makes nothing.
  name->setText("Other");
  symbol->setText("ZZZ");
  QTest::keyClick(symbol, Qt::Key_Return);
  ASSERT_EQ(1u, messages_->shown().size());
  EXPECT_EQ("Symbol exists already, no file created", messages_->shown()[0].text);
  EXPECT_EQ(2, list->model()->rowCount());
}

TEST_F(FileManagerDialogTest, AnIntradayDirectoryShowsTheIntervalOfItsFirstDataFile) {
  const std::string intraday = dir_.path() + "msi/";
  ASSERT_TRUE(platform::MakeDirectories(intraday));
  DatafileEntry entry;
  entry.firstDate = Date(2000, 1, 3);
  ASSERT_EQ(1, CreateEntry("AAA", "Alpha", 5, entry, 20, intraday));
  Formats& formats = application.formats();
  Format& format = *formats.findById(20);
  format.addDirectory(std::make_unique<Directory>(intraday, 20));
  format.setCurrentDirectory(intraday);
  formats.setCurrentIndex(formats.indexOf(&format));

  FileManagerDialog dialog(application, nullptr);
  auto* interval = Control<QLineEdit>(dialog, 681);
  EXPECT_TRUE(interval->isEnabled());
  EXPECT_EQ("5", interval->text().toStdString());
  // Intraday formats show the last date with its time.
  EXPECT_EQ("03/01/2000", Cell(Control<QTreeView>(dialog, 347), 0, 2));
  EXPECT_EQ("02/01/2000 00:00", Cell(Control<QTreeView>(dialog, 347), 0, 3));

  Control<QLineEdit>(dialog, 279)->setText("BBB");
  interval->setText("61");
  Control<QPushButton>(dialog, 349)->click();
  ASSERT_EQ(1u, messages_->shown().size());
  EXPECT_EQ("Invalid interval (1-60)", messages_->shown()[0].text);
  interval->setText("10");
  Control<QPushButton>(dialog, 349)->click();
  EXPECT_EQ(1u, messages_->shown().size());
  EXPECT_EQ(10, dialog.interval());
  ASSERT_EQ(0, FindEntry("BBB", entry, 20, intraday));
  EXPECT_EQ(10, entry.interval);
  EXPECT_EQ("2 instruments", Text(Control<QLabel>(dialog, 660)));
}

TEST_F(FileManagerDialogTest, FindMovesOnWithTheSameTextAndStartsOverWithANewOne) {
  Metastock({{"AEX", "AEX Index"}, {"ASML", "ASML Holding"}, {"INGA", "ING Groep"}, {"PHIA", "Philips"}});
  FileManagerDialog dialog(application, nullptr);
  auto* list = Control<QTreeView>(dialog, 347);

  EXPECT_EQ("", FindText(dialog, "groep in"));  // the end of the name and the start of the symbol
  EXPECT_EQ(2, list->currentIndex().row());
  EXPECT_EQ("GROEP IN", FindText(dialog, "a"));
  EXPECT_EQ(0, list->currentIndex().row());
  EXPECT_EQ("A", FindText(dialog, "a"));  // the same text: after the selected row
  EXPECT_EQ(1, list->currentIndex().row());
  FindText(dialog, "A");
  EXPECT_EQ(2, list->currentIndex().row());
  FindText(dialog, "a");
  EXPECT_EQ(3, list->currentIndex().row());
  EXPECT_TRUE(messages_->shown().empty());

  FindText(dialog, "a");
  ASSERT_EQ(1u, messages_->shown().size());
  EXPECT_EQ("Instrument not found", messages_->shown()[0].text);
  EXPECT_EQ("Find Instrument", messages_->shown()[0].caption);
  EXPECT_EQ(3, list->currentIndex().row());
}

TEST_F(FileManagerDialogTest, ALongListIsHandedToTheViewInBatches) {
  const std::string big = dir_.path() + "big/";
  ASSERT_TRUE(platform::MakeDirectories(big));
  Format& format = *application.formats().findById(kMetastock);
  format.addDirectory(std::make_unique<Directory>(big, kMetastock));
  format.setCurrentDirectory(big);
  application.formats().setCurrentIndex(application.formats().indexOf(&format));
  // Entries of the data model alone: the directory has no master yet.
  for (int i = 0; i < 1000; ++i) {
    char symbol[8], name[24];
    std::snprintf(symbol, sizeof symbol, "S%04d", i);
    std::snprintf(name, sizeof name, "Instrument %04d", i);
    format.currentDirectory()->add(std::make_unique<Datafile>(symbol, name, kMetastock, 30));
  }
  FileManagerDialog dialog(application, nullptr);
  auto* list = Control<QTreeView>(dialog, 347);
  EXPECT_EQ("1000 instruments", Text(Control<QLabel>(dialog, 660)));
  EXPECT_LT(list->model()->rowCount(), 1000);
  FindText(dialog, "0900 s0900");
  EXPECT_EQ(900, list->currentIndex().row());
  EXPECT_EQ("S0900   ", Cell(list, 900, 1));
  EXPECT_TRUE(messages_->shown().empty());
}

TEST_F(FileManagerDialogTest, AHeaderClickSortsAndADoubleClickOpensTheDataManager) {
  Metastock({{"ZZZ", "Alpha"}, {"AAA", "Beta"}, {"MMM", "Gamma"}});
  OpenedView view;
  DataManagerView* previous = setDataManagerView(&view);
  FileManagerDialog dialog(application, nullptr);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  auto* list = Control<QTreeView>(dialog, 347);
  QHeaderView* header = list->header();
  const int symbolMiddle = header->sectionViewportPosition(1) + header->sectionSize(1) / 2;
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(symbolMiddle, header->height() / 2));
  EXPECT_EQ("AAA     ", Cell(list, 0, 1));
  EXPECT_EQ("ZZZ     ", Cell(list, 2, 1));
  // The selected instrument moved with its row.
  EXPECT_EQ(2, list->currentIndex().row());
  EXPECT_EQ(Qt::AscendingOrder, header->sortIndicatorOrder());

  const QRect second = list->visualRect(list->model()->index(1, 0));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second.center());
  ASSERT_EQ(1u, view.opened.size());
  Control<QPushButton>(dialog, 340)->click();
  setDataManagerView(previous);
  EXPECT_EQ((std::vector<std::string>{"MMM", "MMM"}), view.opened);
  EXPECT_EQ(1, list->currentIndex().row());
}

TEST_F(FileManagerDialogTest, FieldsFollowTheFormat) {
  Metastock({{"AAA", "Alpha"}});
  FileManagerDialog dialog(application, nullptr);
  auto* format = Control<QComboBox>(dialog, 266);
  const struct {
    const char* symbol;
    bool add, name, interval, open;
  } cases[] = {
      {"MS", true, true, false, true},
      {"MSI", true, true, true, true},
      {"KB2", true, false, false, true},
      {"TI", false, false, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.symbol);
    const Format* wanted = application.formats().findBySymbol(c.symbol);
    format->setCurrentIndex(format->findText(QString::fromStdString(wanted->name())));
    ASSERT_EQ(wanted, dialog.shownFormat());
    EXPECT_EQ(wanted, application.formats().current());
    for (int id : {351, 465, 391, 349, 279}) EXPECT_EQ(c.add, Control<QWidget>(dialog, id)->isEnabled()) << id;
    for (int id : {101, 172, 423}) EXPECT_EQ(c.name, Control<QWidget>(dialog, id)->isEnabled()) << id;
    EXPECT_EQ(c.interval, Control<QWidget>(dialog, 681)->isEnabled());
    EXPECT_EQ(c.open, Control<QWidget>(dialog, 340)->isEnabled());
  }
  // A format without directories: nothing listed, and the commands say why.
  EXPECT_EQ("no instruments", Text(Control<QLabel>(dialog, 660)));
  Control<QPushButton>(dialog, 340)->click();
  ASSERT_EQ(1u, messages_->shown().size());
  EXPECT_EQ("Select directory", messages_->shown()[0].text);
  // Formats that are output only or cannot be scanned are not offered.
  for (const char* absent : {"ORV2", "PEL", "DAVI-IMP"})
    EXPECT_EQ(-1, format->findText(QString::fromStdString(application.formats().findBySymbol(absent)->name())));
}

TEST_F(FileManagerDialogTest, AnUnreadableMasterLeavesTheListEmpty) {
  Metastock({{"AAA", "Alpha"}});
  // Read once, then the master went away: a MASTER that is no file cannot
  // be read, not even by root.
  Directory& directory = *application.formats().current()->currentDirectory();
  ASSERT_EQ(1, directory.refresh());
  ASSERT_EQ(1, directory.size());
  ASSERT_EQ(0, ::unlink((path + "MASTER").c_str()));
  ASSERT_EQ(0, ::mkdir((path + "MASTER").c_str(), 0755));
  FileManagerDialog dialog(application, nullptr);
  EXPECT_EQ(0, Control<QTreeView>(dialog, 347)->model()->rowCount());
  EXPECT_EQ("no instruments", Text(Control<QLabel>(dialog, 660)));
  ASSERT_FALSE(messages_->shown().empty());
  EXPECT_EQ("Can't access Masterfile of directory", messages_->shown().back().text.substr(0, 36));
}

TEST_F(FileManagerDialogTest, TheDirectoryShownCanBeRemovedInTheDirectoryEditor) {
  Metastock({{"AAA", "Alpha"}});
  FileManagerDialog dialog(application, nullptr);
  dialog.show();
  ASSERT_EQ(1, Control<QTreeView>(dialog, 347)->model()->rowCount());
  messages_->answerNext(true);
  OnceOpen<DirectoryEditorDialog>([](DirectoryEditorDialog& editor) {
    editor.findChild<QListWidget*>("id267")->setCurrentRow(0);
    editor.findChild<QPushButton*>("id276")->click();
    QApplication::processEvents();  // the file manager behind it repaints
    editor.accept();
  });
  Control<QPushButton>(dialog, 346)->click();
  EXPECT_EQ(0, application.formats().current()->directoryCount());
  EXPECT_EQ(nullptr, dialog.shownDirectory());
  EXPECT_EQ(0, Control<QComboBox>(dialog, 348)->count());
  EXPECT_EQ(0, Control<QTreeView>(dialog, 347)->model()->rowCount());
  EXPECT_EQ("no instruments", Text(Control<QLabel>(dialog, 660)));
  // The master stays on disk.
  EXPECT_TRUE(InMaster("AAA"));
}

// What is printed is the composition's (tested with it); here the print
// dialog comes up, and Cancel prints nothing.
TEST_F(FileManagerDialogTest, PrintAsksThePrintDialog) {
  Metastock({{"AAA", "Alpha"}, {"BBB", "Beta"}});
  FileManagerDialog dialog(application, nullptr);
  bool asked = false;
  OnceOpen<QPrintDialog>([&](QPrintDialog& print) {
    asked = true;
    print.reject();
  });
  Control<QPushButton>(dialog, 171)->click();
  EXPECT_TRUE(asked);

  EXPECT_TRUE(messages_->shown().empty());
}

TEST_F(FileManagerDialogTest, TheFileManagerCommandOpensItOverTheWindow) {
  MainWindow window;
  ConnectDialogCommands(window, application);
  QAction* command = window.command(kCmdFileManager);
  ASSERT_TRUE(command->isEnabled());
  const OpenedDialog opened = OpenedBy(*command);
  EXPECT_EQ("KORV_FILEMANAGER", opened.name);
  EXPECT_EQ("File Manager", opened.title);
  EXPECT_EQ(&window, opened.parent);
}

}  // namespace
}  // namespace kvqt::ui
