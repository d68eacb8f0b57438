// The file-download dialog in both modes, driven by its control ids: what it
// opens with, its checks, its settings, and real downloads from the reference
// server on 127.0.0.1 into one file, whose recorded task-file lines then run
// again from the command line with the same result.
#include "ui/file_download_dialog.h"

#include <QAction>
#include <QApplication>
#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <sys/stat.h>
#include <sys/wait.h>

#include <filesystem>
#include <functional>
#include <memory>

#include "app/application.h"
#include "app/model/directory.h"
#include "app/model/format.h"
#include "app/model/list.h"
#include "formats/datafile_entry.h"
#include "formats/directory_refresh.h"
#include "formats/format_driver.h"
#include "maintenance/split_factors.h"
#include "platform/clock.h"
#include "server_thread.h"
#include "small_store.h"
#include "ui/commands.h"
#include "ui/dialog_commands.h"
#include "ui/dialog_test_util.h"
#include "ui/main_window.h"
#include "ui/progress_dialog.h"
#include "ui/qt_test_app.h"

namespace kvqt::ui {
namespace {

using kvqt::testing::Closing;
using kvqt::testing::Control;
using kvqt::testing::MakeChartDirectory;
using kvqt::testing::OpenedBy;
using kvqt::testing::OpenedDialog;
using kvqt::testing::QtTest;
using kvqt::testing::Quoted;
using kvqt::testing::ReadFileBytes;
using kvqt::testing::Shell;
using kvqt::testing::ShellRun;
using kvqt::testing::TempDir;
using kvqt::testing::WithoutDisplay;

void Click(QWidget& dialog, int id) { Control<QAbstractButton>(dialog, id)->click(); }
void Type(QWidget& dialog, int id, const std::string& text) {
  Control<QLineEdit>(dialog, id)->setText(QString::fromStdString(text));
}
std::string Field(QWidget& dialog, int id) { return Control<QLineEdit>(dialog, id)->text().toStdString(); }
void Choose(QWidget& dialog, int id, const std::string& text) {
  QComboBox* combo = Control<QComboBox>(dialog, id);
  const int index = combo->findText(QString::fromStdString(text));
  ASSERT_GE(index, 0) << text;
  combo->setCurrentIndex(index);
  emit combo->activated(index);
}
std::string Current(QWidget& dialog, int id) { return Control<QComboBox>(dialog, id)->currentText().toStdString(); }
bool Enabled(QWidget& dialog, int id) { return dialog.findChild<QWidget*>(QStringLiteral("id%1").arg(id))->isEnabled(); }

class FileDownloadDialogTest : public QtTest {
 protected:
  void SetUp() override {
    QtTest::SetUp();
    previousRefresh_ = Directory::SetRefreshHook(nullptr);
    previousListFile_ = Directory::SetListFileHook(nullptr);
    InstallDirectoryRefresh();
    InstallSplitFactorStep();
    // The message of the day, and the edit buttons, open the file with this.
    dir_.write("editor.sh", "#!/bin/sh\necho \"$1\" >> " + dir_.file("edited.txt") + "\n");
    ::chmod(dir_.file("editor.sh").c_str(), 0755);
    editor_.set(dir_.file("editor.sh"));

    ASSERT_EQ(0, app_.start(dir_.path()));
    metastock_ = app_.formats().findBySymbol("MS");
    ASSERT_NE(metastock_, nullptr);
    chartDir_ = charts_.path() + "ms/";
    ASSERT_NO_FATAL_FAILURE(
        MakeChartDirectory(chartDir_, metastock_->formatId(), {{"ABC", "ABC Inc"}, {"X.Y", "X.Y Inc"}}));
    metastock_->addDirectory(std::make_unique<Directory>(chartDir_, metastock_->formatId()));
    metastock_->setCurDi(0);
    app_.formats().setCurrentIndex(app_.formats().indexOf(metastock_));
    app_.data().login().userNumber = "demo0vqx";
    app_.data().login().password = "demopass";
    app_.data().userInfo().connection = 4;
  }

  void TearDown() override {
    server_.reset();
    Directory::SetRefreshHook(previousRefresh_);
    Directory::SetListFileHook(previousListFile_);
    QtTest::TearDown();
  }

  void StartServer() {
    store_ = testing::MakeSmallStore(storeDir_.file("store.db"));
    ASSERT_NE(store_, nullptr);
    server::ServerOptions options = testing::TestOptions();
    options.sessions = 0;
    options.timeout = std::chrono::seconds(20);
    server_ = std::make_unique<testing::ServerThread>(*store_, options);
    ASSERT_TRUE(server_->listening());
    app_.data().userInfo().NetworkDestination = "127.0.0.1 " + std::to_string(server_->port());
  }

  // Presses "Do&wnload !"; the session runs in its progress dialog, which
  // closes when it finishes. One that stops with an error is closed with OK,
  // and its error kept.
  void Download(QWidget& dialog) {
    progressError_.clear();
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [this] {
      auto* progress = qobject_cast<ProgressDialog*>(QApplication::activeModalWidget());
      if (progress == nullptr || !progress->runOver()) return;
      for (QLabel* label : progress->findChildren<QLabel*>()) progressError_ += label->text().toStdString() + "|";
      progress->close();
    });
    watch.start(50);
    Click(dialog, 1);
  }

  // The messages shown since the last call.
  std::vector<std::string> Messages() {
    std::vector<std::string> texts = Shown();
    messages_->clear();
    return texts;
  }

  // kvqt without a display, in this program directory, with its own settings
  // and runtime directories.
  ShellRun Kvqt(const std::string& args) {
    return Shell(WithoutDisplay(dir_.path(), config_.path(), config_.path(), runtime_.path()) + "KVQT_EDITOR=true " +
                 KVQT_PATH + " " + args);
  }

  Application app_{{}};
  Format* metastock_ = nullptr;
  TempDir charts_;
  TempDir storeDir_;
  TempDir config_;
  TempDir runtime_;
  std::string chartDir_;
  std::unique_ptr<server::Store> store_;
  std::unique_ptr<testing::ServerThread> server_;
  std::string progressError_;
  testing::ScopedEnv editor_{"KVQT_EDITOR"};
  Directory::RefreshHook previousRefresh_ = nullptr;
  Directory::ListFileHook previousListFile_ = nullptr;
};

TEST_F(FileDownloadDialogTest, OpensWithTheSavedChoicesAndTheLastCompleteTradingDay) {
  const struct {
    platform::LocalDateTime now;
    const char* settings;
    const char* day;
    int selectionButton;
    int typeButton;
    const char* outputFormat;
  } cases[] = {
      // Monday morning: the Friday before; nothing saved: directory, real time, ASCII.
      {{2024, 1, 15, 9, 0, 0}, "", "12/1/2024", 259, 256, "Ascii: Comma Delimited"},
      // Tuesday evening: that Tuesday.
      {{2024, 1, 16, 19, 0, 0},
       "[configure]\r\nDefaultFileDownloadDomain=4\r\nDefaultFileDownloadType=1\r\noutputformat=TAB\r\n"
       "outputfilename=/data/prices.dat\r\n",
       "16/1/2024", 258, 254, "Ascii: Tab Delimited"},
      // Sunday; a saved one symbol reads as directory, an unknown type as real time, a
      // format that is no output format as the first one.
      {{2024, 1, 14, 12, 0, 0},
       "[configure]\r\nDefaultFileDownloadDomain=5\r\nDefaultFileDownloadType=9\r\noutputformat=MS\r\n", "12/1/2024",
       259, 256, "Ascii: Comma Delimited"},
  };
  for (const auto& c : cases) {
    dir_.write("kvqt.ini", c.settings);
    platform::ScopedFixedClock clock(c.now);
    FileDownloadDialog dialog(app_, kFileDownloadMode, nullptr);
    EXPECT_EQ(dialog.objectName().toStdString(), "KORV_FILEDOWNLOAD");
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Download file from Norvale group");
    EXPECT_EQ(Field(dialog, 110), c.day);
    EXPECT_EQ(Field(dialog, 173), c.day);
    EXPECT_EQ(Field(dialog, 172), "");
    EXPECT_EQ(Current(dialog, 363), "Daily");
    EXPECT_TRUE(Control<QRadioButton>(dialog, c.selectionButton)->isChecked()) << c.day;
    EXPECT_TRUE(Control<QRadioButton>(dialog, c.typeButton)->isChecked()) << c.day;
    EXPECT_EQ(Current(dialog, 369), c.outputFormat);
    EXPECT_EQ(Current(dialog, 266), "Metastock");
    EXPECT_EQ(Current(dialog, 267), chartDir_);
    EXPECT_EQ(Control<QComboBox>(dialog, 266)->count(), 11);
    EXPECT_EQ(Control<QComboBox>(dialog, 369)->count(), 6);
  }
}

TEST_F(FileDownloadDialogTest, TheMainWindowCommandsOpenBothModesOverTheWindow) {
  MainWindow window;
  ConnectDialogCommands(window, app_);
  const struct {
    int command;
    const char* dialog;
  } cases[] = {{kCmdFileDownload, "KORV_FILEDOWNLOAD"}, {kCmdDefinitionFileDownload, "KORV_DEFFILEDOWNLOAD"}};
  for (const auto& c : cases) {
    QAction* command = window.command(c.command);
    ASSERT_TRUE(command->isEnabled()) << c.command;
    const OpenedDialog opened = OpenedBy(*command, Closing::kReject);
    EXPECT_EQ(opened.name, c.dialog);
    EXPECT_EQ(opened.parent, &window);
  }
}

TEST_F(FileDownloadDialogTest, OnlyTheControlsOfTheChoicesAreEnabled) {
  FileDownloadDialog dialog(app_, kFileDownloadMode, nullptr);
  const struct {
    int button;
    std::vector<int> on, off;
  } cases[] = {
      {254, {110, 363}, {172, 173, 451, 452}},
      {255, {172, 173, 451, 452, 363}, {110}},
      {256, {}, {110, 172, 173, 451, 452, 363}},
      {258, {194, 269}, {267, 270, 268, 279, 453, 454}},
      {259, {267, 270}, {194, 269, 268, 279, 453, 454}},
      {260, {268, 279, 453, 454}, {194, 269, 267, 270}},
  };
  for (const auto& c : cases) {
    Click(dialog, c.button);
    for (int id : c.on) EXPECT_TRUE(Enabled(dialog, id)) << c.button << " " << id;
    for (int id : c.off) EXPECT_FALSE(Enabled(dialog, id)) << c.button << " " << id;
  }
  // One symbol: the directory's data files by name, the first selected.
  QComboBox* symbols = Control<QComboBox>(dialog, 279);
  ASSERT_EQ(symbols->count(), 2);
  EXPECT_EQ(symbols->itemText(0).toStdString(), "ABC Inc");
  EXPECT_EQ(symbols->currentIndex(), 0);
}

TEST_F(FileDownloadDialogTest, TheEditorsOpenOverTheDialogAndTheCombosAreRefilled) {
  FileDownloadDialog dialog(app_, kFileDownloadMode, nullptr);
  const struct {
    int selectionButton;
    int editorButton;
    const char* editor;
    int combo;
    std::function<void(Format&)> change;
    const char* added;
  } cases[] = {
      {258, 269, "KORV_LIST_EDITOR", 194,
       [](Format& f) { f.addList(std::make_unique<List>("Banks", f.formatId())); }, "Banks"},
      {259, 270, "KORV_DIR_EDITOR", 267,
       [](Format& f) { f.addDirectory(std::make_unique<Directory>("/charts/more/", f.formatId())); }, "/charts/more/"},
  };
  for (const auto& c : cases) {
    Click(dialog, c.selectionButton);
    std::string opened;
    QTimer::singleShot(0, [&] {
      QWidget* modal = QApplication::activeModalWidget();
      if (!modal) return;
      opened = modal->objectName().toStdString();
      EXPECT_EQ(modal->parentWidget(), &dialog);
      c.change(*metastock_);
      if (auto* editor = qobject_cast<QDialog*>(modal)) editor->accept();
    });
    Click(dialog, c.editorButton);
    EXPECT_EQ(opened, c.editor);
    EXPECT_GE(Control<QComboBox>(dialog, c.combo)->findText(c.added), 0) << c.added;
  }
  // The directory combos of both selections show the same directories.
  EXPECT_EQ(Control<QComboBox>(dialog, 268)->count(), 2);
}

TEST_F(FileDownloadDialogTest, EveryCheckLeavesTheSettingsAndTheTaskFileAlone) {
  metastock_->addList(std::make_unique<List>("Banks", metastock_->formatId()));
  ASSERT_NE(app_.formats().findBySymbol("ASC"), nullptr);
  const struct {
    std::vector<std::pair<int, std::string>> fields;
    std::vector<int> clicks;
    std::string inputFormat;  // empty: Metastock
    std::string message;
  } cases[] = {
      {{{110, "31/2/2024"}, {377, "out.dat"}}, {254}, "", "Invalid date\n\nEnter as YYYYMMDD or D/M/YYYY"},
      {{{172, ""}, {377, "out.dat"}}, {255}, "", "Invalid start date\n\nEnter as YYYYMMDD or D/M/YYYY"},
      {{{172, "1/1/2024"}, {173, "2024"}, {377, "out.dat"}}, {255}, "",
       "Invalid end date\n\nEnter as YYYYMMDD or D/M/YYYY"},
      {{{172, "20240113"}, {173, "12-1-2024"}, {377, "out.dat"}}, {255}, "", "Start date past end date"},
      {{{377, "out.dat"}}, {256, 259}, "Ascii: Comma Delimited", "No directory selected"},
      {{{377, "out.dat"}}, {256, 258}, "Ascii: Comma Delimited", "No list selected"},
      {{{377, "out.dat"}}, {256, 260}, "Ascii: Comma Delimited", "No directory selected"},
      {{{377, ""}}, {256, 258}, "", "No output filename specified"},
      {{{377, "/anywhere/KVQT.DAT"}}, {256, 259}, "", "Output filename not allowed: /anywhere/KVQT.DAT"},
      {{{377, "query.dat"}}, {256, 259}, "", "Output filename not allowed: query.dat"},
  };
  for (const auto& c : cases) {
    dir_.write("kvqt.ini", "");
    {
      FileDownloadDialog dialog(app_, kFileDownloadMode, nullptr);
      if (!c.inputFormat.empty()) Choose(dialog, 266, c.inputFormat);
      for (int id : c.clicks) Click(dialog, id);
      for (const auto& [id, text] : c.fields) Type(dialog, id, text);
      Click(dialog, 1);
      EXPECT_EQ(Messages(), std::vector<std::string>{c.message});
      EXPECT_EQ(dir_.read("kvqt.ini"), "") << c.message;
    }
    EXPECT_FALSE(dir_.exists("kvqt.tsk")) << c.message;
    app_.formats().setCurrentIndex(app_.formats().indexOf(metastock_));
  }
  // An empty directory has no symbol to take.
  const std::string empty = charts_.path() + "empty/";
  std::filesystem::create_directory(empty);
  DatafileEntry entry;
  ASSERT_EQ(1, CreateEntry("ZZZ", "Zzz", 0, entry, metastock_->formatId(), empty));
  ASSERT_EQ(0, DeleteEntry("ZZZ", entry, metastock_->formatId(), empty));
  metastock_->addDirectory(std::make_unique<Directory>(empty, metastock_->formatId()));
  FileDownloadDialog dialog(app_, kFileDownloadMode, nullptr);
  Click(dialog, 260);
  Choose(dialog, 268, empty);
  EXPECT_EQ(Control<QComboBox>(dialog, 279)->count(), 0);
  Type(dialog, 377, "out.dat");
  Click(dialog, 1);
  EXPECT_EQ(Messages(), std::vector<std::string>{"No symbol selected"});
}

TEST_F(FileDownloadDialogTest, ClosingKeepsTheTypeAndTheSelectionButNotOneSymbol) {
  dir_.write("kvqt.ini", "");
  {
    FileDownloadDialog dialog(app_, kFileDownloadMode, nullptr);
    Click(dialog, 258);
    Click(dialog, 255);
    Click(dialog, 2);
  }
  EXPECT_EQ(dir_.read("kvqt.ini"), "[configure]\r\nDefaultFileDownloadDomain=4\r\nDefaultFileDownloadType=2\r\n");
  {
    FileDownloadDialog dialog(app_, kFileDownloadMode, nullptr);
    EXPECT_TRUE(Control<QRadioButton>(dialog, 258)->isChecked());
    EXPECT_TRUE(Control<QRadioButton>(dialog, 255)->isChecked());
    Click(dialog, 260);
    Click(dialog, 254);
    dialog.reject();  // Escape
  }
  EXPECT_EQ(dir_.read("kvqt.ini"), "[configure]\r\nDefaultFileDownloadDomain=4\r\nDefaultFileDownloadType=1\r\n");
  {
    FileDownloadDialog dialog(app_, kDefinitionFileDownloadMode, nullptr);
    Click(dialog, 2);
  }
  EXPECT_EQ(dir_.read("kvqt.ini"), "[configure]\r\nDefaultFileDownloadDomain=4\r\nDefaultFileDownloadType=1\r\n");
}

TEST_F(FileDownloadDialogTest, DefinitionFileModeOpensWithItsSettingsAndChecksItsFiles) {
  dir_.write("kvqt.ini", "[configure]\r\ninputfilename=my.qry\r\noutputformat=PEL\r\noutputfilename=out.dat\r\n");
  FileDownloadDialog dialog(app_, kDefinitionFileDownloadMode, nullptr);
  EXPECT_EQ(dialog.objectName().toStdString(), "KORV_DEFFILEDOWNLOAD");
  EXPECT_EQ(dialog.windowTitle().toStdString(), "Download with Definition File");
  EXPECT_EQ(Field(dialog, 397), "my.qry");
  EXPECT_EQ(Field(dialog, 377), "out.dat");
  EXPECT_EQ(Current(dialog, 369), "Pelto");
  EXPECT_EQ(Control<QComboBox>(dialog, 369)->findText("Davi-Effect Import"), -1);
  for (int id : {395, 396, 398, 399}) EXPECT_NE(dialog.findChild<QPushButton*>(QStringLiteral("id%1").arg(id)), nullptr);
  EXPECT_EQ(Control<QPushButton>(dialog, 398)->text().toStdString(), "&Edit definition file...");
  EXPECT_EQ(Control<QPushButton>(dialog, 399)->text().toStdString(), "Edit o&utput file...");

  const struct {
    std::string input, output, message;
  } cases[] = {
      {"", "out.dat", "No input filename specified"},
      {"/x/query.dat", "out.dat", "Input filename not allowed: /x/query.dat"},
      {"kvqt.prs", "out.dat", "Input filename not allowed: kvqt.prs"},
      {"my.qry", "  ", "No output filename specified"},
      {"my.qry", "/x/sksdat.dat", "Output filename not allowed: /x/sksdat.dat"},
  };
  const std::string settings = dir_.read("kvqt.ini");
  for (const auto& c : cases) {
    Type(dialog, 397, c.input);
    Type(dialog, 377, c.output);
    Click(dialog, 1);
    EXPECT_EQ(Messages(), std::vector<std::string>{c.message});
  }
  EXPECT_EQ(dir_.read("kvqt.ini"), settings);
  EXPECT_FALSE(dir_.exists("kvqt.tsk"));
}

TEST_F(FileDownloadDialogTest, EditButtonsOpenTheFilesInTheEditor) {
  FileDownloadDialog dialog(app_, kDefinitionFileDownloadMode, nullptr);
  Type(dialog, 397, "  ");
  Click(dialog, 398);
  Type(dialog, 377, "");
  Click(dialog, 399);
  Type(dialog, 377, dir_.file("none.dat"));
  Click(dialog, 399);
  EXPECT_EQ(Messages(), (std::vector<std::string>{"Enter input file name", "Enter output file name",
                                                   "File does not exist\n\nPerform a download first"}));
  EXPECT_FALSE(dir_.exists("edited.txt"));

  dir_.write("prices.dat", "x");
  Type(dialog, 397, "new.qry ");
  Click(dialog, 398);
  ASSERT_TRUE(testing::QtWaitUntil([&] { return dir_.read("edited.txt") == "new.qry\n"; })) << dir_.read("edited.txt");
  Type(dialog, 377, dir_.file("prices.dat"));
  Click(dialog, 399);
  ASSERT_TRUE(testing::QtWaitUntil([&] { return dir_.read("edited.txt") == "new.qry\n" + dir_.file("prices.dat") + "\n"; }))
      << dir_.read("edited.txt");

  ::setenv("KVQT_EDITOR", "/no/such/editor", 1);
  Click(dialog, 399);
  EXPECT_EQ(Messages(), std::vector<std::string>{"Can't find /no/such/editor"});
}

TEST_F(FileDownloadDialogTest, BrowseOffersThePatternsAndFillsTheField) {
  dir_.write("my.qry", "ABC,20240102,20240105,D\r\n");
  dir_.write("out.dat", "");
  FileDownloadDialog dialog(app_, kDefinitionFileDownloadMode, nullptr);
  const struct {
    int button;
    int field;
    const char* file;
    QStringList filters;
  } cases[] = {
      {395, 397, "my.qry", {"Definition files (*.dat *.qry)", "All Files (*)"}},
      {396, 377, "out.dat", {"Output Data Files (*.dat)", "All Files (*)"}},
  };
  for (const auto& c : cases) {
    bool seen = false;
    QTimer::singleShot(0, [&] {
      auto* open = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(open, nullptr);
      seen = true;
      EXPECT_EQ(open->nameFilters(), c.filters);
      EXPECT_EQ(open->fileMode(), QFileDialog::ExistingFile);
      // The first browse starts in the program directory.
      EXPECT_EQ(QDir(open->directory()).canonicalPath(), QDir(QString::fromStdString(dir_.path())).canonicalPath());
      open->selectFile(QString::fromStdString(dir_.file(c.file)));
      QMetaObject::invokeMethod(open, "accept");
    });
    Click(dialog, c.button);
    EXPECT_TRUE(seen);
    EXPECT_EQ(QFileInfo(QString::fromStdString(Field(dialog, c.field))).canonicalFilePath(),
              QFileInfo(QString::fromStdString(dir_.file(c.file))).canonicalFilePath());
  }
}

// A date range of one directory, once as ASCII and once tab delimited; then
// one symbol on a single day, which the task file does not record.
TEST_F(FileDownloadDialogTest, FileDownloadsInTwoOutputFormatsRunAgainFromTheTaskFile) {
  StartServer();
  metastock_->addList(std::make_unique<List>("Aaa", metastock_->formatId()));
  metastock_->addList(std::make_unique<List>("Banks", metastock_->formatId()));
  List& banks = *metastock_->listByName("Banks");
  banks.addDirectory(std::make_unique<Directory>(chartDir_, metastock_->formatId()));
  banks.directoryAt(0)->setSelectionMode(Directory::kSelectAll);
  const std::string list = dir_.file("list.dat");
  const std::string asc = dir_.file("prices-asc.dat");
  const std::string tab = charts_.file("prices-tab.dat");
  {
    FileDownloadDialog dialog(app_, kFileDownloadMode, nullptr);
    dialog.show();
    Click(dialog, 259);
    Click(dialog, 255);
    Type(dialog, 172, "2/1/2024");
    Type(dialog, 173, "20240112");
    Choose(dialog, 369, "Ascii: Comma Delimited");
    Type(dialog, 377, asc);
    Download(dialog);
    EXPECT_EQ(progressError_, "");
    EXPECT_TRUE(dialog.isVisible());  // the dialog stays open for the next one

    Choose(dialog, 369, "Ascii: Tab Delimited");
    Choose(dialog, 363, "Weekly");
    Type(dialog, 377, tab);
    Download(dialog);
    EXPECT_EQ(progressError_, "");
    EXPECT_EQ(dialog.lastAction().kind, 3);
    EXPECT_EQ(dialog.lastAction().period, 1);

    // A list, on a single day.
    Click(dialog, 258);
    Choose(dialog, 194, "Banks");
    Click(dialog, 254);
    Type(dialog, 110, "12/1/2024");
    Choose(dialog, 363, "Daily");
    Choose(dialog, 369, "Ascii: Comma Delimited");
    Type(dialog, 377, list);
    Download(dialog);
    EXPECT_EQ(progressError_, "");
    EXPECT_EQ(dialog.lastAction().kind, 4);

    Choose(dialog, 369, "Ascii: Tab Delimited");
    Click(dialog, 260);
    Type(dialog, 377, dir_.file("one.dat"));
    Download(dialog);
    EXPECT_EQ(progressError_, "");
    EXPECT_EQ(dialog.lastAction().kind, 5);
    dialog.reject();
  }
  EXPECT_TRUE(Messages().empty());

  const std::string ascBytes = ReadFileBytes(asc);
  const std::string tabBytes = ReadFileBytes(tab);
  // Nine trading days of ABC; nothing for X.Y, which the store has no prices for.
  EXPECT_EQ(std::count(ascBytes.begin(), ascBytes.end(), '\n'), 9) << ascBytes;
  EXPECT_EQ(ascBytes.rfind("ABC,", 0), 0u) << ascBytes;
  EXPECT_NE(ascBytes.find("\r\n"), std::string::npos);
  EXPECT_EQ(ascBytes.find('\t'), std::string::npos);
  EXPECT_EQ(tabBytes.rfind("ABC\t", 0), 0u) << tabBytes;
  EXPECT_EQ(std::count(tabBytes.begin(), tabBytes.end(), '\n'), 2) << tabBytes;  // two weeks
  const std::string listBytes = ReadFileBytes(list);
  EXPECT_EQ(std::count(listBytes.begin(), listBytes.end(), '\n'), 1) << listBytes;
  const std::string one = ReadFileBytes(dir_.file("one.dat"));
  EXPECT_EQ(std::count(one.begin(), one.end(), '\n'), 1) << one;
  EXPECT_NE(one.find("20240112"), std::string::npos) << one;

  EXPECT_EQ(dir_.read("kvqt.tsk"),
            "=FileDownload(0, 3, 2, 0, 20240102, 20240112, \"MS\", \"" + chartDir_ + "\", \"ASC\", \"" + asc +
                "\", 0)\r\n"
                "=FileDownload(0, 3, 2, 1, 20240102, 20240112, \"MS\", \"" + chartDir_ + "\", \"TAB\", \"" + tab +
                "\", 0)\r\n"
                "=FileDownload(0, 4, 1, 0, 20240112, 20240112, \"MS\", \"Banks\", \"ASC\", \"" + list + "\", 0)\r\n");
  EXPECT_EQ(profile().getString("outputformat", ""), std::string("TAB"));
  EXPECT_EQ(profile().getString("outputfilename", ""), dir_.file("one.dat"));
  EXPECT_EQ(profile().getString("DefaultFileDownloadDomain", ""), std::string(""));  // one symbol
  EXPECT_EQ(profile().getString("DefaultFileDownloadType", ""), std::string("1"));

  // The recorded lines, run as a task file (start-up deletes kvqt.tsk itself).
  std::filesystem::copy_file(dir_.file("kvqt.tsk"), dir_.file("again.tsk"));
  ASSERT_EQ(0, app_.save());
  std::filesystem::remove(asc);
  std::filesystem::remove(tab);
  std::filesystem::remove(list);
  const ShellRun run = Kvqt("-nowindow again.tsk");
  ASSERT_EQ(run.status, 0) << run.out;
  EXPECT_EQ(ReadFileBytes(asc), ascBytes);
  EXPECT_EQ(ReadFileBytes(tab), tabBytes);
  EXPECT_EQ(ReadFileBytes(list), listBytes);
}

TEST_F(FileDownloadDialogTest, DefinitionFileDownloadRunsAgainFromTheTaskFile) {
  StartServer();
  dir_.write("my.qry", "ABC,20240102,20240105,D\r\nABC,20240108,20240112,W\r\n");
  const std::string out = charts_.file("by-definition.dat");
  {
    FileDownloadDialog dialog(app_, kDefinitionFileDownloadMode, nullptr);
    dialog.show();
    Type(dialog, 397, "my.qry");
    Choose(dialog, 369, "Ascii: Excel Format (YY/MM/DD 0.00)");
    Type(dialog, 377, out);
    Download(dialog);
    EXPECT_EQ(progressError_, "");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.lastAction().kind, 7);
    Click(dialog, 2);
  }
  EXPECT_TRUE(Messages().empty());
  const std::string bytes = ReadFileBytes(out);
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 5) << bytes;  // four days and one week
  EXPECT_EQ(bytes.rfind("ABC\t02/01/2024\t", 0), 0u) << bytes;
  EXPECT_NE(bytes.find("\r\nABC\t12/01/2024\t"), std::string::npos) << bytes;  // the week's line
  EXPECT_EQ(dir_.read("kvqt.tsk"),
            "=FileDownload(0, 7, 0, 0, 0, 0, \"EXC-UK\", \"my.qry\", \"EXC-UK\", \"" + out + "\", 0)\r\n");
  EXPECT_EQ(profile().getString("inputfilename", ""), std::string("my.qry"));
  EXPECT_EQ(profile().getString("outputformat", ""), std::string("EXC-UK"));
  EXPECT_EQ(profile().getString("outputfilename", ""), out);

  std::filesystem::copy_file(dir_.file("kvqt.tsk"), dir_.file("again.tsk"));
  ASSERT_EQ(0, app_.save());
  std::filesystem::remove(out);
  const ShellRun run = Kvqt("-nowindow again.tsk");
  ASSERT_EQ(run.status, 0) << run.out;
  EXPECT_EQ(ReadFileBytes(out), bytes);
}

}  // namespace
}  // namespace kvqt::ui
