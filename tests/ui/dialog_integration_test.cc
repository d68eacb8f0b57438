// Where the dialogs meet: the file manager picks and adds instruments through
// the catalogue search and its add-confirm dialog, and opens the download
// dialog; the lines the download dialog records in kvqt.tsk are run again by
// the kvqt program itself, from the command line, with the same databases as
// the result. Every download goes to the reference server on 127.0.0.1.
#include <sys/stat.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTreeView>
#include <chrono>
#include <filesystem>
#include <functional>
#include <map>

#include "app/application.h"
#include "app/datafile/login_record.h"
#include "app/datafile/program_data_file.h"
#include "app/model/format_table.h"
#include "formats/datafile_entry.h"
#include "formats/directory_refresh.h"
#include "formats/format_driver.h"
#include "maintenance/instrument_search.h"
#include "maintenance/start_date_text.h"
#include "platform/path.h"
#include "server_thread.h"
#include "service/import/result_import.h"
#include "service/symbols/sintable.h"
#include "small_store.h"
#include "ui/add_confirm_dialog.h"
#include "ui/directory_editor_dialog.h"
#include "ui/dialog_test_util.h"
#include "ui/download_dialog.h"
#include "ui/file_manager_dialog.h"
#include "ui/progress_dialog.h"
#include "ui/qt_test_app.h"
#include "ui/search_dialog.h"
#include "updater/child_process.h"

namespace kvqt::ui {
namespace {

using kvqt::testing::Control;
using kvqt::testing::OnceOpen;
using kvqt::testing::PressDownload;
using kvqt::testing::QtTest;
using kvqt::testing::TempDir;
using namespace std::chrono_literals;

constexpr int kMetaStockId = 4;
constexpr int kAsciiId = 5;

std::string Text(QLineEdit* field) { return field->text().toStdString(); }
std::string Text(QLabel* label) { return label->text().toStdString(); }
std::string Cell(QTreeView* list, int row, int column) {
  return list->model()->index(row, column).data().toString().toStdString();
}

void SelectRows(QTreeView* list, std::initializer_list<int> rows) {
  list->selectionModel()->clearSelection();
  for (int row : rows)
    list->selectionModel()->select(list->model()->index(row, 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void Search(SearchDialog& dialog, const char* name) {
  Control<QLineEdit>(dialog, 387)->setText(name);
  Control<QLineEdit>(dialog, 386)->clear();
  dialog.findChild<QPushButton*>("search")->click();
}

// Every file of a directory with its bytes.
using Files = std::map<std::string, std::string>;

Files Snapshot(const std::string& directory) {
  Files files;
  for (const auto& entry : std::filesystem::directory_iterator(directory))
    files[entry.path().filename().string()] = testing::ReadFileBytes(entry.path().string());
  return files;
}

void Restore(const std::string& directory, const Files& files) {
  for (const auto& entry : std::filesystem::directory_iterator(directory)) std::filesystem::remove(entry.path());
  for (const auto& [name, bytes] : files) testing::WriteFileBytes(directory + name, bytes);
}

void NoRelease() {}

// The longest name the symbol table keeps.
const std::string kLongName = "Northern Atlantic Shipping & Logistics H";

class DialogIntegrationTest : public QtTest {
 protected:
  void SetUp() override {
    QtTest::SetUp();
    LastSearch() = {};
    previousRefresh_ = Directory::SetRefreshHook(nullptr);
    previousListFile_ = Directory::SetListFileHook(nullptr);
    InstallDirectoryRefresh();
    previousRelease_ = SetReleaseCheck(&NoRelease);
    if (const char* editor = std::getenv("KVQT_EDITOR")) {
      previousEditor_ = editor;
      hadEditor_ = true;
    }
    // The message of the day opens with a harmless command.
    ::setenv("KVQT_EDITOR", "true", 1);

    ms_ = charts_.path() + "ms/";
    asc_ = charts_.path() + "asc/";
    for (const std::string& dir : {ms_, asc_}) ASSERT_TRUE(platform::MakeDirectories(dir));
    for (const auto& [symbol, name] : {std::pair{"ABC", "Abc Industries"}, std::pair{"NEW", "Renamed Holding"}}) {
      DatafileEntry entry;
      ASSERT_EQ(1, CreateEntry(symbol, name, 0, entry, kMetaStockId, ms_));
    }
    DatafileEntry entry;
    ASSERT_EQ(1, CreateEntry("ABC", "Abc Industries", 0, entry, kAsciiId, asc_));
    BuildModel(app_.formats());
    app_.data().login().userNumber = "demo0vqx";
    app_.data().login().password = "demopass";
    app_.data().userInfo().connection = 4;
  }
  void TearDown() override {
    // The timers of OnceOpen go with the test.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    server_.reset();
    if (hadEditor_) {
      ::setenv("KVQT_EDITOR", previousEditor_.c_str(), 1);
    } else {
      ::unsetenv("KVQT_EDITOR");
    }
    SetReleaseCheck(previousRelease_);
    Directory::SetRefreshHook(previousRefresh_);
    Directory::SetListFileHook(previousListFile_);
    LastSearch() = {};
    QtTest::TearDown();
  }

  // Every built-in format; MetaStock (current) keeps the chart directory,
  // current, and the list "Daily" over it; ASCII its own directory.
  void BuildModel(Formats& formats) const {
    MergeFormatTable(formats);
    Format* ms = formats.findBySymbol("MS");
    ms->addDirectory(std::make_unique<Directory>(ms_, kMetaStockId));
    ms->setCurrentDirectory(ms_);
    ms->addList(std::make_unique<List>("Daily", kMetaStockId));
    ms->setCurrentList("Daily");
    ms->currentList()->addDirectory(std::make_unique<Directory>(ms_, kMetaStockId));
    ms->currentList()->setCurrent(0);
    Format* asc = formats.findBySymbol("ASC");
    asc->addDirectory(std::make_unique<Directory>(asc_, kAsciiId));
    asc->setCurrentDirectory(asc_);
    formats.setCurrentIndex(formats.indexOf(ms));
  }

  // The catalogue as a download leaves it in the program directory.
  void WriteSymbolTable() const {
    TSintable table(dir_.path());
    ASSERT_EQ(0, table.putExchange({1, "Amsterdam"}));
    ASSERT_EQ(0, table.putCurrency({1, "EUR"}));
    const struct {
      std::int32_t sincode;
      const char* symbol;
      std::string name;
      Date start;
    } instruments[] = {
        {7001, "NASL", kLongName + "oldings NV", Date(1998, 5, 4)},  // longer than the table keeps
        {7002, "BANK", "Bank of Holland", Date(1999, 2, 3)},
        {7003, "URB", "Urban Holdings", Date()},
        {7004, "ALB", "Albany Trust", Date(2001, 12, 24)},
    };
    for (const auto& i : instruments) {
      SinInstrument r;
      r.sincode = i.sincode;
      r.symbol = i.symbol;
      r.name = i.name.c_str();
      r.security_type = 16;
      r.exchange = 1;
      r.currency = 1;
      r.start_date = i.start;
      ASSERT_EQ(1, table.addInstrument(r));
    }
    ASSERT_EQ(0, table.save());
  }

  void StartServer(int sessions, UserInfo& user) {
    if (!store_) store_ = testing::MakeSmallStore(storeDir_.file("store.db"));
    ASSERT_NE(store_, nullptr);
    server::ServerOptions options = testing::TestOptions();
    options.sessions = sessions;
    server_ = std::make_unique<testing::ServerThread>(*store_, options);
    ASSERT_TRUE(server_->listening());
    user.NetworkDestination = "127.0.0.1 " + std::to_string(server_->port());
  }

  std::string MasterName(const char* symbol) const {
    DatafileEntry entry;
    return FindEntry(symbol, entry, kMetaStockId, ms_) == 0 ? entry.name : "(none)";
  }

  TempDir charts_;
  TempDir storeDir_;
  std::string ms_;
  std::string asc_;
  Application app_{{}};
  std::unique_ptr<server::Store> store_;
  std::unique_ptr<testing::ServerThread> server_;

 private:
  Directory::RefreshHook previousRefresh_ = nullptr;
  Directory::ListFileHook previousListFile_ = nullptr;
  ReleaseCheck previousRelease_ = nullptr;
  std::string previousEditor_;
  bool hadEditor_ = false;
};

// One instrument picked in the catalogue goes into the new instrument's Name
// and Symbol; the start date stays the file manager's own. The catalogue keeps
// names of at most 40 characters, which the MetaStock name (45) takes whole.
TEST_F(DialogIntegrationTest, ASinglePickFillsTheNewInstrumentsNameAndSymbol) {
  WriteSymbolTable();
  FileManagerDialog manager(app_, nullptr);
  manager.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&manager));
  auto* name = Control<QLineEdit>(manager, 101);
  auto* symbol = Control<QLineEdit>(manager, 279);
  auto* start = Control<QLineEdit>(manager, 172);
  ASSERT_EQ(DefaultStartDateText(), Text(start));
  start->setText("3/1/2005");

  bool picked = false;
  OnceOpen<SearchDialog>([&](SearchDialog& search) {
    EXPECT_TRUE(search.pickMode());
    EXPECT_EQ(&manager, search.parentWidget());
    Search(search, "atlantic");
    EXPECT_EQ("1 instrument selected", Control<QGroupBox>(search, 454)->title().toStdString());
    EXPECT_EQ("Select", Control<QPushButton>(search, 1)->text().toStdString());
    Control<QPushButton>(search, 1)->click();
    picked = search.result() == QDialog::Accepted;
  });
  Control<QPushButton>(manager, 391)->click();
  ASSERT_TRUE(picked);
  EXPECT_EQ(kLongName, Text(name));
  EXPECT_EQ(40u, Text(name).size());
  EXPECT_EQ("NASL", Text(symbol));
  EXPECT_EQ("3/1/2005", Text(start));
  EXPECT_EQ(name, manager.focusWidget());
  EXPECT_EQ("2 instruments", Text(Control<QLabel>(manager, 660)));

  Control<QPushButton>(manager, 349)->click();
  EXPECT_TRUE(Shown().empty());  // no question: the name fits
  EXPECT_EQ(kLongName, MasterName("NASL"));
  DatafileEntry entry;
  ASSERT_EQ(0, FindEntry("NASL", entry, kMetaStockId, ms_));
  EXPECT_EQ(Date(2005, 1, 3), entry.firstDate);
  EXPECT_EQ("3 instruments", Text(Control<QLabel>(manager, 660)));
  auto* list = Control<QTreeView>(manager, 347);
  EXPECT_EQ(kLongName, Cell(list, list->currentIndex().row(), 0));
  EXPECT_TRUE(Text(name).empty());
  EXPECT_TRUE(Text(symbol).empty());
}

// A name from the catalogue longer than the format keeps stays whole in the
// Name field, so that adding asks to shorten it; No adds nothing, Yes adds
// the shortened name.
TEST_F(DialogIntegrationTest, APickedNameTooLongForTheFormatIsShortenedOnlyWhenTheUserAgrees) {
  WriteSymbolTable();
  // A MetaStock that keeps shorter names than the catalogue.
  app_.formats().findBySymbol("MS")->setMaxNameLength(24);
  FileManagerDialog manager(app_, nullptr);
  auto* name = Control<QLineEdit>(manager, 101);
  ASSERT_EQ(24, name->maxLength());
  OnceOpen<SearchDialog>([](SearchDialog& search) {
    Search(search, "atlantic");
    Control<QPushButton>(search, 1)->click();
  });
  Control<QPushButton>(manager, 391)->click();
  ASSERT_EQ(kLongName, Text(name));

  const std::string question = "Name too long. Shorten name to: " + kLongName.substr(0, 24) + "?";
  messages_->answerNext(false);
  Control<QPushButton>(manager, 349)->click();
  EXPECT_EQ(std::vector<std::string>{question}, Shown());
  EXPECT_EQ("(none)", MasterName("NASL"));
  EXPECT_EQ(kLongName, Text(name));

  messages_->clear();
  messages_->answerNext(true);
  Control<QPushButton>(manager, 349)->click();
  EXPECT_EQ(std::vector<std::string>{question}, Shown());
  EXPECT_EQ(kLongName.substr(0, 24), MasterName("NASL"));
  EXPECT_EQ("3 instruments", Text(Control<QLabel>(manager, 660)));
  // The field takes typed names of the format's length again.
  EXPECT_EQ(24, name->maxLength());
}

// Several instruments picked: the add-confirm dialog's start date, then the
// file manager lists them all, counts them and empties Name and Symbol.
TEST_F(DialogIntegrationTest, SeveralFoundInstrumentsAreAddedAndTheFileManagerListsThem) {
  WriteSymbolTable();
  FileManagerDialog manager(app_, nullptr);
  manager.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&manager));
  Control<QLineEdit>(manager, 101)->setText("Typed Name");
  Control<QLineEdit>(manager, 279)->setText("TYPED");

  std::string question;
  OnceOpen<SearchDialog>([&](SearchDialog& search) {
    Search(search, "an");  // Atlantic, Bank, Urban, Albany
    auto* results = Control<QTreeView>(search, 347);
    ASSERT_EQ(4, results->model()->rowCount());
    SelectRows(results, {1, 2, 3});
    EXPECT_EQ("3 instruments selected", Control<QGroupBox>(search, 454)->title().toStdString());
    EXPECT_EQ("Add..", Control<QPushButton>(search, 1)->text().toStdString());
    OnceOpen<AddConfirmDialog>([&](AddConfirmDialog& confirm) {
      question = confirm.findChild<QLabel*>("question")->text().toStdString();
      EXPECT_TRUE(Control<QLineEdit>(confirm, 681)->isHidden());
      Control<QLineEdit>(confirm, 172)->setText("2/1/2020");
      // The file manager behind repaints while its directory is about to grow.
      QApplication::processEvents();
      Control<QPushButton>(confirm, 1)->click();
    });
    Control<QPushButton>(search, 1)->click();
    EXPECT_EQ(QDialog::Accepted, search.result());
  });
  Control<QPushButton>(manager, 391)->click();
  QApplication::processEvents();

  EXPECT_EQ("\nAdd the 3 selected instruments?", question);
  EXPECT_TRUE(Shown().empty());
  EXPECT_EQ("5 instruments", Text(Control<QLabel>(manager, 660)));
  auto* list = Control<QTreeView>(manager, 347);
  ASSERT_EQ(5, list->model()->rowCount());
  const char* names[] = {"Abc Industries", "Albany Trust", "Bank of Holland", "Renamed Holding", "Urban Holdings"};
  for (int row = 0; row < 5; ++row) EXPECT_EQ(names[row], Cell(list, row, 0)) << row;
  EXPECT_EQ("02/01/2020", Cell(list, 1, 2));
  EXPECT_EQ("01/01/2020", Cell(list, 1, 3));
  for (const char* symbol : {"BANK", "URB", "ALB"}) EXPECT_NE("(none)", MasterName(symbol)) << symbol;
  EXPECT_EQ(5, manager.shownDirectory()->size());
  EXPECT_TRUE(Text(Control<QLineEdit>(manager, 101)).empty());
  EXPECT_TRUE(Text(Control<QLineEdit>(manager, 279)).empty());
}

// Into an intraday directory the add-confirm dialog offers the interval the
// file manager shows, that of the directory's first data file.
TEST_F(DialogIntegrationTest, FoundInstrumentsGetTheIntervalTheFileManagerShows) {
  WriteSymbolTable();
  constexpr int kMetaStockIntradayId = 20;
  const std::string intraday = charts_.path() + "msi/";
  ASSERT_TRUE(platform::MakeDirectories(intraday));
  DatafileEntry entry;
  entry.firstDate = Date(2020, 1, 6);
  ASSERT_EQ(1, CreateEntry("AAA", "Alpha", 5, entry, kMetaStockIntradayId, intraday));
  Formats& formats = app_.formats();
  Format& msi = *formats.findById(kMetaStockIntradayId);
  msi.addDirectory(std::make_unique<Directory>(intraday, kMetaStockIntradayId));
  msi.setCurrentDirectory(intraday);
  formats.setCurrentIndex(formats.indexOf(&msi));

  FileManagerDialog manager(app_, nullptr);
  ASSERT_EQ("5", Text(Control<QLineEdit>(manager, 681)));
  std::string offered;
  OnceOpen<SearchDialog>([&](SearchDialog& search) {
    Search(search, "hol");  // Bank of Holland, Urban Holdings
    ASSERT_EQ(2, Control<QTreeView>(search, 347)->model()->rowCount());
    SelectRows(Control<QTreeView>(search, 347), {0, 1});
    OnceOpen<AddConfirmDialog>([&](AddConfirmDialog& confirm) {
      offered = Text(Control<QLineEdit>(confirm, 681));
      EXPECT_FALSE(Control<QLineEdit>(confirm, 681)->isHidden());
      Control<QPushButton>(confirm, 1)->click();
    });
    Control<QPushButton>(search, 1)->click();
  });
  Control<QPushButton>(manager, 391)->click();
  EXPECT_EQ("5", offered);
  EXPECT_TRUE(Shown().empty());
  EXPECT_EQ("3 instruments", Text(Control<QLabel>(manager, 660)));
  for (const char* symbol : {"BANK", "URB"}) {
    SCOPED_TRACE(symbol);
    DatafileEntry added;
    ASSERT_EQ(0, FindEntry(symbol, added, kMetaStockIntradayId, intraday));
    EXPECT_EQ(5, added.interval);
    ASSERT_NE(nullptr, manager.shownDirectory()->bySymbol(symbol));
    EXPECT_EQ(5, manager.shownDirectory()->bySymbol(symbol)->interval());
  }
}

// "&Download..." opens the download dialog over the file manager; what the
// session writes shows in the list afterwards, whether the directory was
// downloaded itself or through a list that holds it.
class FileManagerDownloadTest : public DialogIntegrationTest, public ::testing::WithParamInterface<int> {};

TEST_P(FileManagerDownloadTest, TheListShowsWhatTheDownloadWrote) {
  const int mode = GetParam();
  StartServer(1, app_.data().userInfo());
  FileManagerDialog manager(app_, nullptr);
  manager.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&manager));
  auto* list = Control<QTreeView>(manager, 347);
  ASSERT_EQ(2, list->model()->rowCount());
  EXPECT_EQ("Abc Industries", Cell(list, 0, 0));

  std::string stopped = "not opened";
  OnceOpen<DlgDownload>([&](DlgDownload& download) {
    EXPECT_EQ(&manager, download.parentWidget());
    EXPECT_EQ(ms_, Control<QComboBox>(download, 267)->currentText().toStdString());
    Control<QRadioButton>(download, mode)->click();
    QApplication::processEvents();  // the file manager behind repaints
    stopped = PressDownload(download);
  });
  Control<QPushButton>(manager, 341)->click();
  EXPECT_EQ("", stopped);
  EXPECT_EQ("sent", server_->Join().outcome);
  QApplication::processEvents();

  EXPECT_EQ(ms_, manager.shownDirectory()->name());
  EXPECT_EQ("2 instruments", Text(Control<QLabel>(manager, 660)));
  ASSERT_EQ(2, list->model()->rowCount());
  EXPECT_EQ("Abc Industries", Cell(list, 0, 0));
  EXPECT_EQ("02/01/2024", Cell(list, 0, 2));
  EXPECT_EQ("12/01/2024", Cell(list, 0, 3));
  EXPECT_EQ("12/01/2024", Cell(list, 1, 3));
  EXPECT_EQ(0, list->currentIndex().row());
  EXPECT_EQ(mode == 259 ? "=Download(0, 1, \"MS\", \"\", \"" + ms_ + "\", 0, 0)\r\n"
                        : std::string("=Download(1, 1, \"MS\", \"Daily\", \"\", 0, 0)\r\n"),
            dir_.read("kvqt.tsk"));
}

// The directory itself ("&Directory") and a list over it ("&List").
INSTANTIATE_TEST_SUITE_P(Modes, FileManagerDownloadTest, ::testing::Values(259, 258));

// The whole way from the window: a first download brings the catalogue, the
// file manager finds two instruments in it and adds them to an empty
// MetaStock directory, and its "&Download..." fills them.
TEST_F(DialogIntegrationTest, InstrumentsFoundInTheServedCatalogueAreAddedAndDownloaded) {
  StartServer(2, app_.data().userInfo());
  {
    DlgDownload first(app_, nullptr);
    first.show();
    Control<QComboBox>(first, 266)->setCurrentText("Ascii: Comma Delimited");
    Control<QRadioButton>(first, 259)->click();
    ASSERT_EQ("", PressDownload(first));
  }
  ASSERT_TRUE(dir_.exists("kvqt.sdb"));

  const std::string fresh = charts_.path() + "fresh/";
  ASSERT_TRUE(platform::MakeDirectories(fresh));
  Formats& formats = app_.formats();
  Format& ms = *formats.findBySymbol("MS");
  ms.addDirectory(std::make_unique<Directory>(fresh, kMetaStockId));
  ms.setCurrentDirectory(fresh);
  formats.setCurrentIndex(formats.indexOf(&ms));
  FileManagerDialog manager(app_, nullptr);
  manager.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&manager));
  ASSERT_EQ(fresh, manager.shownDirectory()->name());
  EXPECT_EQ("no instruments", Text(Control<QLabel>(manager, 660)));

  OnceOpen<SearchDialog>([](SearchDialog& search) {
    search.findChild<QComboBox*>("id388")->setCurrentText("Test Exchange");
    Search(search, "ol");  // Renamed Holding
    Control<QLineEdit>(search, 387)->setText("Abc Ind");
    search.findChild<QPushButton*>("search")->click();
    auto* results = Control<QTreeView>(search, 347);
    ASSERT_EQ(1, results->model()->rowCount());
    EXPECT_EQ("ABC", Text(Control<QLineEdit>(search, 279)));
    EXPECT_EQ("Test Exchange", Text(Control<QLineEdit>(search, 384)));
    EXPECT_EQ("Euro", Text(Control<QLineEdit>(search, 102)));
    EXPECT_EQ("Share", Text(Control<QLineEdit>(search, 383)));
    // Both found by their exchange alone.
    Control<QLineEdit>(search, 387)->clear();
    Control<QRadioButton>(search, 404)->setChecked(true);
    search.findChild<QPushButton*>("search")->click();
    std::vector<int> wanted;
    for (int row = 0; row < results->model()->rowCount(); ++row) {
      const std::string name = results->model()->index(row, 0).data().toString().toStdString();
      if (name == "Abc Industries" || name == "Renamed Holding") wanted.push_back(row);
    }
    ASSERT_EQ(2u, wanted.size());
    SelectRows(results, {wanted[0], wanted[1]});
    OnceOpen<AddConfirmDialog>([](AddConfirmDialog& confirm) {
      Control<QLineEdit>(confirm, 172)->setText("2/1/2024");
      Control<QPushButton>(confirm, 1)->click();
    });
    Control<QPushButton>(search, 1)->click();
  });
  Control<QPushButton>(manager, 391)->click();
  EXPECT_TRUE(Shown().empty());
  EXPECT_EQ("2 instruments", Text(Control<QLabel>(manager, 660)));

  OnceOpen<DlgDownload>([](DlgDownload& download) {
    Control<QRadioButton>(download, 259)->click();
    EXPECT_EQ("", PressDownload(download));
  });
  Control<QPushButton>(manager, 341)->click();
  EXPECT_EQ("sent", server_->Join().outcome);
  auto* list = Control<QTreeView>(manager, 347);
  ASSERT_EQ(2, list->model()->rowCount());
  const struct {
    const char* name;
    const char* symbol;
    const char* from;
    const char* to;
  } rows[] = {{"Abc Industries", "ABC     ", "02/01/2024", "12/01/2024"},
              {"Renamed Holding", "NEW     ", "12/01/2024", "12/01/2024"}};
  for (int row = 0; row < 2; ++row) {
    SCOPED_TRACE(row);
    EXPECT_EQ(rows[row].name, Cell(list, row, 0));
    EXPECT_EQ(rows[row].symbol, Cell(list, row, 1));
    EXPECT_EQ(rows[row].from, Cell(list, row, 2));
    EXPECT_EQ(rows[row].to, Cell(list, row, 3));
  }
}

// The directory the file manager shows, removed through the download
// dialog's "Dir Editor...": the file manager shows none afterwards.
TEST_F(DialogIntegrationTest, TheDirectoryShownCanBeRemovedFromTheDownloadDialog) {
  FileManagerDialog manager(app_, nullptr);
  manager.show();
  ASSERT_EQ(2, Control<QTreeView>(manager, 347)->model()->rowCount());
  OnceOpen<DlgDownload>([](DlgDownload& download) {
    OnceOpen<DirectoryEditorDialog>([](DirectoryEditorDialog& editor) {
      editor.findChild<QListWidget*>("id267")->setCurrentRow(0);
      editor.findChild<QPushButton*>("id276")->click();
      QApplication::processEvents();  // the dialogs behind repaint
      editor.accept();
    });
    Control<QRadioButton>(download, 259)->click();
    Control<QPushButton>(download, 270)->click();
    EXPECT_EQ(0, Control<QComboBox>(download, 267)->count());
    QApplication::processEvents();
    Control<QPushButton>(download, 2)->click();
  });
  messages_->answerNext(true);
  Control<QPushButton>(manager, 341)->click();
  QApplication::processEvents();
  EXPECT_EQ(0, app_.formats().findBySymbol("MS")->directoryCount());
  EXPECT_EQ(nullptr, manager.shownDirectory());
  EXPECT_EQ(0, Control<QComboBox>(manager, 348)->count());
  EXPECT_EQ(0, Control<QTreeView>(manager, 347)->model()->rowCount());
  EXPECT_EQ("no instruments", Text(Control<QLabel>(manager, 660)));
  // The chart directory stays on disk.
  EXPECT_EQ("Abc Industries", MasterName("ABC"));
}

// The lines the download dialog records, run unchanged as a task file by
// kvqt from the command line over the databases as they were before, give
// the same MetaStock and ASCII directories byte for byte.
TEST_F(DialogIntegrationTest, TheRecordedLinesRunAgainInKvqtGiveTheSameDatabases) {
  const Files msBefore = Snapshot(ms_);
  const Files ascBefore = Snapshot(asc_);
  Formats before;
  BuildModel(before);

  StartServer(3, app_.data().userInfo());
  const struct {
    const char* format;
    int mode;
    int type;
    const char* start;
    const char* end;
    int option;
  } runs[] = {
      {"Metastock", 258, 254, "", "", 352},                         // the list, replacing yesterday's price
      {"Ascii: Comma Delimited", 259, 255, "3/1/2024", "9/1/2024", 683},  // a range, the symbol table again
      {"Ascii: Comma Delimited", 259, 254, "", "", 0},              // then the missing days
  };
  for (const auto& run : runs) {
    SCOPED_TRACE(run.format);
    DlgDownload dialog(app_, nullptr);
    dialog.show();
    Control<QComboBox>(dialog, 266)->setCurrentText(run.format);
    Control<QRadioButton>(dialog, run.mode)->click();
    Control<QRadioButton>(dialog, run.type)->click();
    Control<QLineEdit>(dialog, 172)->setText(run.start);
    Control<QLineEdit>(dialog, 173)->setText(run.end);
    if (run.option) Control<QCheckBox>(dialog, run.option)->setChecked(true);
    EXPECT_EQ("", PressDownload(dialog));
    EXPECT_FALSE(dialog.isVisible());
  }
  EXPECT_EQ("sent", server_->Join().outcome);
  server_.reset();
  const std::string recorded = dir_.read("kvqt.tsk");
  EXPECT_EQ("=Download(1, 17, \"MS\", \"Daily\", \"\", 0, 0)\r\n"
            "=Download(0, 34, \"ASC\", \"\", \"" + asc_ + "\", 20240103, 20240109)\r\n"
            "=Download(0, 1, \"ASC\", \"\", \"" + asc_ + "\", 0, 0)\r\n",
            recorded);
  const Files msAfter = Snapshot(ms_);
  const Files ascAfter = Snapshot(asc_);
  ASSERT_NE(msBefore, msAfter);
  ASSERT_NE(ascBefore, ascAfter);
  Restore(ms_, msBefore);
  Restore(asc_, ascBefore);

  // A program directory as it was before the dialog's runs, holding the
  // recorded lines as its task file.
  TempDir home, config, data, runtime, logs;
  ::chmod(runtime.path().c_str(), 0700);
  UserInfo user = app_.data().userInfo();
  StartServer(3, user);
  home.write("kvqt.dat", EncodeProgramDataFile(user, before));
  home.write("kvqt.prs", std::string(LoginRecord::kFilePrefix, '\0') + EncodeLoginRecord(app_.data().login()));
  home.write("again.tsk", recorded);
  testing::ChildProcess::Options options;
  options.workingDirectory = home.path();
  options.environment = {{"KVQT_HOME", home.path()},     {"XDG_CONFIG_HOME", config.path()},
                         {"XDG_DATA_HOME", data.path()}, {"XDG_RUNTIME_DIR", runtime.path()},
                         {"KVQT_EDITOR", "true"},        {"QT_QPA_PLATFORM", ""},
                         {"DISPLAY", ""},                {"WAYLAND_DISPLAY", ""}};
  options.stdoutFile = logs.file("stdout");
  options.stderrFile = logs.file("stderr");
  testing::ChildProcess kvqt({KVQT_PATH, "-nowindow", home.file("again.tsk")}, options);
  ASSERT_TRUE(kvqt.started());
  EXPECT_EQ(0, kvqt.wait(120s)) << logs.read("stdout") << logs.read("stderr");
  EXPECT_EQ("sent", server_->Join().outcome);
  EXPECT_EQ(msAfter, Snapshot(ms_)) << logs.read("stdout");
  EXPECT_EQ(ascAfter, Snapshot(asc_)) << logs.read("stdout");
}

}  // namespace
}  // namespace kvqt::ui
