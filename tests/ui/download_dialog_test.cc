// The download dialog, driven by its control ids: what it opens with, the
// intraday rule, the controls of each selection mode, its messages and
// settings, the editors it opens, and real downloads from the reference server
// on 127.0.0.1 into MetaStock and ASCII directories, whose recorded task-file
// lines give the same databases when run again.
#include "ui/download_dialog.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "app/application.h"
#include "app/model/format_table.h"
#include "app/runner/headless_progress.h"
#include "automation/task_file.h"
#include "formats/datafile_entry.h"
#include "formats/directory_refresh.h"
#include "formats/format_driver.h"
#include "formats/format_test_util.h"
#include "maintenance/download_choices.h"
#include "platform/clock.h"
#include "platform/path.h"
#include "server_thread.h"
#include "service/import/result_import.h"
#include "small_store.h"
#include "ui/dialog_commands.h"
#include "ui/dialog_test_util.h"
#include "ui/directory_editor_dialog.h"
#include "ui/list_editor_dialog.h"
#include "ui/main_window.h"
#include "ui/progress_dialog.h"
#include "ui/qt_test_app.h"

namespace kvqt::ui {
namespace {

using kvqt::testing::Control;
using kvqt::testing::MakeChartDirectory;
using kvqt::testing::OnceOpen;
using kvqt::testing::PressDownload;
using kvqt::testing::QtTest;
using kvqt::testing::Restore;
using kvqt::testing::Snapshot;

constexpr int kMetaStockId = 4;
constexpr int kAsciiId = 5;

QWidget* Widget(QWidget& dialog, int id) { return Control<QWidget>(dialog, id); }

std::vector<std::string> Items(QComboBox* combo) {
  std::vector<std::string> items;
  for (int i = 0; i < combo->count(); ++i) items.push_back(combo->itemText(i).toStdString());
  return items;
}

void NoRelease() {}

class DownloadDialogTest : public QtTest {
 protected:
  void SetUp() override {
    QtTest::SetUp();
    previousRefresh_ = Directory::SetRefreshHook(nullptr);
    previousListFile_ = Directory::SetListFileHook(nullptr);
    InstallDirectoryRefresh();
    previousRelease_ = SetReleaseCheck(&NoRelease);
    // The message of the day opens with a harmless command.
    editor_.set("true");

    ms_ = charts_.path() + "ms/";
    asc_ = charts_.path() + "asc/";
    ASSERT_NO_FATAL_FAILURE(
        MakeChartDirectory(ms_, kMetaStockId, {{"ABC", "Abc Industries"}, {"NEW", "Renamed Holding"}}));
    ASSERT_NO_FATAL_FAILURE(MakeChartDirectory(asc_, kAsciiId, {{"ABC", "Abc Industries"}}));
    BuildModel(app_.formats());
    app_.data().login().userNumber = "demo0vqx";
    app_.data().login().password = "demopass";
    app_.data().userInfo().connection = 4;
    store_ = testing::MakeSmallStore(storeDir_.file("store.db"));
    ASSERT_NE(store_, nullptr);
  }
  void TearDown() override {
    // The timers of OnceOpen go with the test.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    server_.reset();
    SetReleaseCheck(previousRelease_);
    Directory::SetRefreshHook(previousRefresh_);
    Directory::SetListFileHook(previousListFile_);
    QtTest::TearDown();
  }

  // Every built-in format; MetaStock (current) keeps the chart directory and
  // the list "Daily" over it, ASCII its own directory.
  void BuildModel(Formats& formats) const {
    MergeFormatTable(formats);
    Format* ms = formats.findBySymbol("MS");
    ms->addDirectory(std::make_unique<Directory>(ms_, kMetaStockId));
    ms->addList(std::make_unique<List>("Daily", kMetaStockId));
    ms->setCurrentList("Daily");
    ms->currentList()->addDirectory(std::make_unique<Directory>(ms_, kMetaStockId));
    ms->currentList()->setCurrent(0);
    Format* asc = formats.findBySymbol("ASC");
    asc->addDirectory(std::make_unique<Directory>(asc_, kAsciiId));
    asc->setCurrentDirectory(asc_);
    formats.setCurrentIndex(formats.indexOf(ms));
  }

  Format& Ms() { return *app_.formats().findBySymbol("MS"); }

  void StartServer(int sessions, UserInfo& user) {
    server::ServerOptions options = testing::TestOptions();
    options.sessions = sessions;
    server_ = std::make_unique<testing::ServerThread>(*store_, options);
    ASSERT_TRUE(server_->listening());
    user.NetworkDestination = "127.0.0.1 " + std::to_string(server_->port());
  }

  std::vector<PriceRecord> Records(const std::string& dir, int formatId, const std::string& symbol) {
    DatafileEntry entry;
    if (FindEntry(symbol, entry, formatId, dir, kScanReadHeader) != 0) return {};
    return testing::ReadAll(dir, formatId, entry);
  }

  testing::TempDir charts_;
  testing::TempDir storeDir_;
  std::string ms_;
  std::string asc_;
  platform::ScopedFixedClock clock_{platform::LocalDateTime{2024, 1, 12, 18, 0, 0}};
  Application app_{{}};
  std::unique_ptr<server::Store> store_;
  std::unique_ptr<testing::ServerThread> server_;
  Directory::RefreshHook previousRefresh_ = nullptr;
  Directory::ListFileHook previousListFile_ = nullptr;
  ReleaseCheck previousRelease_ = nullptr;
  testing::ScopedEnv editor_{"KVQT_EDITOR"};
};

TEST_F(DownloadDialogTest, OpensWithANormalUpdateOfTheCurrentFormatAndTheSavedMode) {
  DlgDownload dialog(app_, nullptr);
  EXPECT_EQ(dialog.objectName().toStdString(), "KORV_DOWNLOAD");
  EXPECT_EQ(dialog.windowTitle().toStdString(), "Download from Norvale group");
  EXPECT_TRUE(Control<QRadioButton>(dialog, 254)->isChecked());
  for (int id : {172, 173, 451, 452}) EXPECT_FALSE(Widget(dialog, id)->isEnabled()) << id;
  const struct {
    int id;
    const char* text;
  } labels[] = {{254, "&Normal Update"},       {255, "Date &range Update"},
                {256, "Real &Time Update"},    {257, "Normal &and Real Time Update"},
                {352, "Replace &Yesterday's Real Time Price"}, {683, "Reload Symbol Table"},
                {258, "&List"},                {259, "&Directory"},
                {260, "Single symb&ol"},       {269, "List Editor..."},
                {270, "Dir Editor..."},        {1, "Do&wnload !"},
                {2, "Close"}};
  for (const auto& l : labels) {
    auto* button = Control<QAbstractButton>(dialog, l.id);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text().toStdString(), l.text);
  }

  auto* format = Control<QComboBox>(dialog, 266);
  std::vector<std::string> names;
  for (const Format* f : DownloadFormats(app_.formats())) names.push_back(f->name());
  EXPECT_EQ(Items(format), names);
  EXPECT_EQ(format->currentText().toStdString(), "Metastock");
  EXPECT_EQ(Items(Control<QComboBox>(dialog, 194)), std::vector<std::string>{"Daily"});
  EXPECT_EQ(Items(Control<QComboBox>(dialog, 267)), std::vector<std::string>{ms_});
  EXPECT_EQ(Items(Control<QComboBox>(dialog, 268)), std::vector<std::string>{ms_});
  // Nothing saved: a list.
  EXPECT_TRUE(Control<QRadioButton>(dialog, 258)->isChecked());

  dir_.write("kvqt.ini", "[configure]\r\nDefaultDownloadDomain=0\r\n");
  DlgDownload directoryMode(app_, nullptr);
  EXPECT_TRUE(Control<QRadioButton>(directoryMode, 259)->isChecked());
  dir_.write("kvqt.ini", "[configure]\r\nDefaultDownloadDomain=2\r\n");
  DlgDownload symbolSaved(app_, nullptr);
  EXPECT_TRUE(Control<QRadioButton>(symbolSaved, 258)->isChecked());
}

TEST_F(DownloadDialogTest, AnIntradayFormatDisablesTheRealTimeChoices) {
  DlgDownload dialog(app_, nullptr);
  dialog.show();
  Control<QRadioButton>(dialog, 256)->click();
  Control<QCheckBox>(dialog, 352)->setChecked(true);
  auto* format = Control<QComboBox>(dialog, 266);
  format->setCurrentText("Metastock Intraday");
  EXPECT_EQ(app_.formats().current()->symbol(), "MSI");
  for (int id : {256, 257, 352}) EXPECT_FALSE(Widget(dialog, id)->isEnabled()) << id;
  EXPECT_TRUE(Control<QRadioButton>(dialog, 254)->isChecked());
  EXPECT_FALSE(Control<QCheckBox>(dialog, 352)->isChecked());
  EXPECT_TRUE(Widget(dialog, 255)->isEnabled());
  // The intraday format has no directories or lists here.
  EXPECT_EQ(Control<QComboBox>(dialog, 194)->count(), 0);
  EXPECT_EQ(Control<QComboBox>(dialog, 267)->count(), 0);

  format->setCurrentText("Metastock");
  for (int id : {256, 257, 352}) EXPECT_TRUE(Widget(dialog, id)->isEnabled()) << id;
  EXPECT_EQ(Items(Control<QComboBox>(dialog, 194)), std::vector<std::string>{"Daily"});
  // A date-range update enables its dates.
  Control<QRadioButton>(dialog, 255)->click();
  for (int id : {172, 173, 451, 452}) EXPECT_TRUE(Widget(dialog, id)->isEnabled()) << id;
  Control<QRadioButton>(dialog, 257)->click();
  for (int id : {172, 173, 451, 452}) EXPECT_FALSE(Widget(dialog, id)->isEnabled()) << id;
}

TEST_F(DownloadDialogTest, EachModeEnablesOnlyItsControls) {
  DlgDownload dialog(app_, nullptr);
  dialog.show();
  const struct {
    int button;
    std::vector<int> enabled;
    std::vector<int> disabled;
  } cases[] = {
      {259, {267, 270}, {194, 269, 268, 279, 453, 454}},
      {260, {268, 279, 453, 454}, {194, 269, 267, 270}},
      {258, {194, 269}, {267, 270, 268, 279, 453, 454}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.button);
    Control<QRadioButton>(dialog, c.button)->click();
    for (int id : c.enabled) EXPECT_TRUE(Widget(dialog, id)->isEnabled()) << id;
    for (int id : c.disabled) EXPECT_FALSE(Widget(dialog, id)->isEnabled()) << id;
  }
}

TEST_F(DownloadDialogTest, TheSymbolComboListsTheDataFilesOfTheCurrentDirectory) {
  Directory* gone = new Directory("/nonexistent/kvqt/charts/", kMetaStockId);
  gone->setScanned(true);  // it was there once
  Ms().addDirectory(std::unique_ptr<Directory>(gone));
  Ms().setCurrentDirectory(ms_);
  DlgDownload dialog(app_, nullptr);
  dialog.show();
  Control<QRadioButton>(dialog, 260)->click();
  auto* symbol = Control<QComboBox>(dialog, 279);
  EXPECT_EQ(Items(symbol), (std::vector<std::string>{"Abc Industries", "Renamed Holding"}));
  EXPECT_EQ(symbol->currentIndex(), 0);
  EXPECT_TRUE(Shown().empty());

  // Both directory combos follow the format's current directory.
  auto* directory = Control<QComboBox>(dialog, 268);
  directory->setCurrentText("/nonexistent/kvqt/charts/");
  EXPECT_EQ(Ms().currentDirectory(), gone);
  EXPECT_EQ(Control<QComboBox>(dialog, 267)->currentText().toStdString(), "/nonexistent/kvqt/charts/");
  EXPECT_EQ(symbol->count(), 0);
  EXPECT_EQ(Shown(), std::vector<std::string>{"Can't access Masterfile of directory /nonexistent/kvqt/charts/"});

  // A download without a data file to take is refused.
  messages_->clear();
  Control<QPushButton>(dialog, 1)->click();
  EXPECT_EQ(Shown(), std::vector<std::string>{"No symbol selected"});
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_FALSE(dir_.exists("kvqt.tsk"));
}

TEST_F(DownloadDialogTest, WrongDatesAreRefusedWithTheirMessages) {
  const struct {
    const char* start;
    const char* end;
    const char* message;
  } cases[] = {
      {"", "12/1/2024", "Invalid start date\n\nEnter as YYYYMMDD or D/M/YYYY"},
      {"32/13/2024", "", "Invalid start date\n\nEnter as YYYYMMDD or D/M/YYYY"},
      {"2/1/2024", "soon", "Invalid end date\n\nEnter as YYYYMMDD or D/M/YYYY"},
      {"20240112", "20240102", "Startdate past Enddate"},
  };
  DlgDownload dialog(app_, nullptr);
  dialog.show();
  Control<QRadioButton>(dialog, 259)->click();
  Control<QRadioButton>(dialog, 255)->click();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    messages_->clear();
    Control<QLineEdit>(dialog, 172)->setText(c.start);
    Control<QLineEdit>(dialog, 173)->setText(c.end);
    Control<QPushButton>(dialog, 1)->click();
    EXPECT_EQ(Shown(), std::vector<std::string>{c.message});
    EXPECT_EQ(messages_->shown().front().caption, "Message");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(Control<QLineEdit>(dialog, 172)->text().toStdString(), c.start);
  }
  // Nothing was recorded or saved.
  EXPECT_FALSE(dir_.exists("kvqt.tsk"));
  EXPECT_FALSE(dir_.exists("kvqt.ini"));
}

TEST_F(DownloadDialogTest, ClosingKeepsTheModeExceptASingleSymbol) {
  const struct {
    int button;
    const char* saved;
  } steps[] = {{259, "0"}, {260, "0"}, {258, "1"}, {260, "1"}};
  for (const auto& s : steps) {
    SCOPED_TRACE(s.button);
    DlgDownload dialog(app_, nullptr);
    dialog.show();
    Control<QRadioButton>(dialog, s.button)->click();
    Control<QPushButton>(dialog, 2)->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(std::string(PersonalProfile(dir_.file("kvqt.ini")).getString(kDownloadDomainKey, "none")), s.saved);
  }
  // Escape closes as well.
  DlgDownload dialog(app_, nullptr);
  dialog.show();
  Control<QRadioButton>(dialog, 259)->click();
  dialog.reject();
  EXPECT_EQ(PersonalProfile(dir_.file("kvqt.ini")).getInt(kDownloadDomainKey, -1), 0);
}

TEST_F(DownloadDialogTest, TheEditorsOpenAndTheCombosAreRefilledAfterwards) {
  DlgDownload dialog(app_, nullptr);
  dialog.show();
  bool listEditorShown = false;
  OnceOpen<ListEditorDialog>([&](ListEditorDialog& editor) {
    listEditorShown = true;
    EXPECT_EQ(editor.shownFormat(), &Ms());
    Ms().addList(std::make_unique<List>("Banks", kMetaStockId));
    Ms().setCurrentList("Banks");
  });
  Control<QPushButton>(dialog, 269)->click();
  EXPECT_TRUE(listEditorShown);
  EXPECT_EQ(Items(Control<QComboBox>(dialog, 194)), (std::vector<std::string>{"Banks", "Daily"}));
  EXPECT_EQ(Control<QComboBox>(dialog, 194)->currentText().toStdString(), "Banks");

  Control<QRadioButton>(dialog, 259)->click();
  bool directoryEditorShown = false;
  const std::string added = charts_.path() + "more/";
  OnceOpen<DirectoryEditorDialog>([&](DirectoryEditorDialog&) {
    directoryEditorShown = true;
    Ms().addDirectory(std::make_unique<Directory>(added, kMetaStockId));
    Ms().setCurrentDirectory(added);
  });
  Control<QPushButton>(dialog, 270)->click();
  EXPECT_TRUE(directoryEditorShown);
  EXPECT_EQ(Items(Control<QComboBox>(dialog, 267)).size(), 2u);
  EXPECT_EQ(Control<QComboBox>(dialog, 267)->currentText().toStdString(), added);
  EXPECT_EQ(Control<QComboBox>(dialog, 268)->currentText().toStdString(), added);
  EXPECT_TRUE(dialog.isVisible());
}

TEST_F(DownloadDialogTest, RunDownloadDialogOpensModallyAndCloses) {
  bool shown = false;
  OnceOpen<DlgDownload>([&](DlgDownload& dialog) {
    shown = true;
    EXPECT_TRUE(dialog.isModal());
    Control<QRadioButton>(dialog, 259)->click();
    Control<QPushButton>(dialog, 2)->click();
  });
  RunDownloadDialog(app_, nullptr);
  EXPECT_TRUE(shown);
  EXPECT_EQ(PersonalProfile(dir_.file("kvqt.ini")).getInt(kDownloadDomainKey, -1), 0);
}

TEST_F(DownloadDialogTest, TheDownloadCommandAndTheEnterKeyOpenItOverTheMainWindow) {
  MainWindow window;
  ConnectDialogCommands(window, app_);
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  int opened = 0;
  const auto expectOverWindow = [&](DlgDownload& dialog) {
    ++opened;
    EXPECT_EQ(dialog.parentWidget(), &window);
    EXPECT_TRUE(dialog.isModal());
  };
  OnceOpen<DlgDownload>(expectOverWindow);
  window.command(1012)->trigger();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  OnceOpen<DlgDownload>(expectOverWindow);
  QTest::keyClick(&window, Qt::Key_Return);
  EXPECT_EQ(opened, 2);
}

// The store's ABC: nine weekdays from 2 January 2024, closes 10.5, 11.5, ...
void ExpectStoreAbc(const std::vector<PriceRecord>& records) {
  const int days[] = {20240102, 20240103, 20240104, 20240105, 20240108, 20240109, 20240110, 20240111, 20240112};
  ASSERT_EQ(records.size(), 9u);
  for (std::size_t i = 0; i < records.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(records[i].date.value(), days[i]);
    EXPECT_FLOAT_EQ(records[i].close, 10.5f + static_cast<float>(i));
  }
}

// A list into MetaStock (replacing yesterday's real-time price) and a one-day
// date range of a directory into ASCII (reloading the symbol table), each
// recorded in kvqt.tsk; run again as a task file over the databases as they
// were before, the lines write the same files.
TEST_F(DownloadDialogTest, DownloadsAListAndADirectoryAndRecordsThemForTheTaskFile) {
  const auto msBefore = Snapshot(ms_);
  const auto ascBefore = Snapshot(asc_);

  StartServer(1, app_.data().userInfo());
  {
    DlgDownload dialog(app_, nullptr);
    dialog.show();
    Control<QRadioButton>(dialog, 258)->click();
    Control<QCheckBox>(dialog, 352)->setChecked(true);
    EXPECT_EQ(PressDownload(dialog), "");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
  }
  EXPECT_EQ(server_->Join().outcome, "sent");
  ExpectStoreAbc(Records(ms_, kMetaStockId, "ABC"));
  ASSERT_EQ(Records(ms_, kMetaStockId, "NEW").size(), 1u);
  EXPECT_EQ(dir_.read("kvqt.tsk"), "=Download(1, 17, \"MS\", \"Daily\", \"\", 0, 0)\r\n");
  EXPECT_EQ(PersonalProfile(dir_.file("kvqt.ini")).getInt(kDownloadDomainKey, -1), 1);

  ASSERT_TRUE(dir_.exists("kvqt.sdb"));  // the symbol table came with the first result
  StartServer(1, app_.data().userInfo());
  {
    DlgDownload dialog(app_, nullptr);
    dialog.show();
    Control<QComboBox>(dialog, 266)->setCurrentText("Ascii: Comma Delimited");
    Control<QRadioButton>(dialog, 259)->click();
    Control<QRadioButton>(dialog, 255)->click();
    Control<QLineEdit>(dialog, 172)->setText("4/1/2024");
    Control<QCheckBox>(dialog, 683)->setChecked(true);
    EXPECT_EQ(PressDownload(dialog), "");
    EXPECT_FALSE(dialog.isVisible());
  }
  const server::SessionReport& report = server_->Join();
  EXPECT_EQ(report.outcome, "sent");
  // "Reload Symbol Table": the whole table is asked for again.
  EXPECT_NE(report.upload.find("REQUEST 3|17\r\n"), std::string::npos) << report.upload;
  const std::vector<PriceRecord> day = Records(asc_, kAsciiId, "ABC");
  ASSERT_EQ(day.size(), 1u);
  EXPECT_EQ(day[0].date.value(), 20240104);
  EXPECT_EQ(testing::ReadFileBytes(asc_ + "ABC.prn"), "240104,12.000,13.500,11.500,12.500,1004\r\n");
  const std::string recorded = "=Download(1, 17, \"MS\", \"Daily\", \"\", 0, 0)\r\n"
                               "=Download(0, 34, \"ASC\", \"\", \"" + asc_ + "\", 20240104, 20240104)\r\n";
  EXPECT_EQ(dir_.read("kvqt.tsk"), recorded);
  EXPECT_EQ(PersonalProfile(dir_.file("kvqt.ini")).getInt(kDownloadDomainKey, -1), 0);

  // The recorded lines, run as a task file by a program that starts afresh.
  const auto msAfter = Snapshot(ms_);
  const auto ascAfter = Snapshot(asc_);
  Restore(ms_, msBefore);
  Restore(asc_, ascBefore);
  dir_.write("again.tsk", recorded);
  Formats formats;
  BuildModel(formats);
  UserInfo user = app_.data().userInfo();
  LoginRecord login = app_.data().login();
  StartServer(2, user);
  ActionInfo action;
  action.formats = &formats;
  action.userInfo = &user;
  action.login = &login;
  std::FILE* file = std::fopen(dir_.file("again.tsk").c_str(), "rb");
  ASSERT_NE(file, nullptr);
  prepareTaskFile(action, file);
  HeadlessProgress host;
  EXPECT_EQ(host.run(interpretTaskFile, action, 1), kStepFinished);
  EXPECT_TRUE(host.errors().empty()) << host.errors().front();
  closeTaskFile(action);
  action.network.reset();
  action.importState.reset();
  server_.reset();
  EXPECT_EQ(Snapshot(ms_), msAfter);
  EXPECT_EQ(Snapshot(asc_), ascAfter);
}

TEST_F(DownloadDialogTest, DownloadsASingleSymbolWithoutRecordingIt) {
  StartServer(1, app_.data().userInfo());
  dir_.write("kvqt.ini", "[configure]\r\nDefaultDownloadDomain=0\r\n");
  {
    DlgDownload dialog(app_, nullptr);
    dialog.show();
    Control<QRadioButton>(dialog, 260)->click();
    Control<QComboBox>(dialog, 279)->setCurrentText("Renamed Holding");
    EXPECT_EQ(PressDownload(dialog), "");
    EXPECT_FALSE(dialog.isVisible());
  }
  const server::SessionReport& report = server_->Join();
  EXPECT_EQ(report.outcome, "sent");
  EXPECT_EQ(report.upload.find("ABC"), std::string::npos) << report.upload;
  const std::vector<PriceRecord> renamed = Records(ms_, kMetaStockId, "NEW");
  ASSERT_EQ(renamed.size(), 1u);
  EXPECT_EQ(renamed[0].date.value(), 20240112);
  EXPECT_FLOAT_EQ(renamed[0].close, 20.25f);
  EXPECT_TRUE(Records(ms_, kMetaStockId, "ABC").empty());
  // A single symbol is neither recorded nor kept as the mode.
  EXPECT_FALSE(dir_.exists("kvqt.tsk"));
  EXPECT_EQ(PersonalProfile(dir_.file("kvqt.ini")).getInt(kDownloadDomainKey, -1), 0);
}

// From the main window alone: Enter, the directory mode, "Do&wnload !".
TEST_F(DownloadDialogTest, DownloadsADirectoryFromTheMainWindow) {
  MainWindow window;
  ConnectDialogCommands(window, app_);
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  StartServer(1, app_.data().userInfo());
  std::string stopped = "not opened";
  OnceOpen<DlgDownload>([&](DlgDownload& dialog) {
    Control<QRadioButton>(dialog, 259)->click();
    stopped = PressDownload(dialog);
    EXPECT_FALSE(dialog.isVisible());
  });
  QTest::keyClick(&window, Qt::Key_Return);
  EXPECT_EQ(stopped, "");
  EXPECT_EQ(server_->Join().outcome, "sent");
  ExpectStoreAbc(Records(ms_, kMetaStockId, "ABC"));
  EXPECT_EQ(Records(ms_, kMetaStockId, "NEW").size(), 1u);
  EXPECT_EQ(dir_.read("kvqt.tsk"), "=Download(0, 1, \"MS\", \"\", \"" + ms_ + "\", 0, 0)\r\n");
  EXPECT_EQ(PersonalProfile(dir_.file("kvqt.ini")).getInt(kDownloadDomainKey, -1), 0);
}

}  // namespace
}  // namespace kvqt::ui
