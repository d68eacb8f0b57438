// From a first start to downloaded quotes: the wizard sets up the login, a
// MetaStock and an ASCII directory; kvqt-info shows them in the saved data
// file; kvqt then downloads into both from kvqt-server on 127.0.0.1.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <regex>

#include "app/application.h"
#include "dialog_test_util.h"
#include "qt_test_app.h"
#include "ui/config_wizard_dialog.h"
#include "ui/first_run_wizard.h"

namespace kvqt {
namespace {

using testing::Quoted;
using testing::Shell;
using testing::ShellRun;

class FirstRunDownloadTest : public testing::QtTest {
 protected:
  void SetUp() override {
    QtTest::SetUp();
    if (const char* h = std::getenv("HOME")) oldHome_ = h;
    ::setenv("HOME", home_.path().c_str(), 1);
    ::unsetenv("WINEPREFIX");
  }
  void TearDown() override {
    ::setenv("HOME", oldHome_.c_str(), 1);
    QtTest::TearDown();
  }
  // kvqt without a display, with its own program, settings and runtime directories.
  ShellRun Kvqt(const std::string& args) {
    return Shell(testing::WithoutDisplay(dir_.path(), config_.path(), config_.path(), runtime_.path()) + KVQT_PATH +
                 " " + args);
  }

  testing::TempDir home_;
  testing::TempDir config_;
  testing::TempDir runtime_;
  testing::TempDir server_;
  std::string oldHome_;
};

void Click(QWidget* w, const char* name) { w->findChild<QPushButton*>(name)->click(); }
void Type(QWidget* w, const char* name, const std::string& text) {
  w->findChild<QLineEdit*>(name)->setText(QString::fromStdString(text));
}

TEST_F(FirstRunDownloadTest, WizardThenDatafileThenDownload) {
  const std::string ms = home_.path() + "charts/ms/";
  const std::string asc = home_.path() + "charts/asc/";

  // A first start: no login record, so the wizard comes first.
  Application app({});
  ASSERT_EQ(0, app.start(dir_.path()));
  ASSERT_TRUE(app.needsWizard());
  bool shown = false;
  QTimer::singleShot(0, [&] {
    QWidget* wizard = QApplication::activeModalWidget();
    ASSERT_NE(qobject_cast<ui::ConfigWizard*>(wizard), nullptr);
    shown = true;
    Click(wizard, "id671");
    Click(wizard, "next");
    Type(wizard, "userNumber", "12345");
    Type(wizard, "password", "secretpw");
    Click(wizard, "next");
    wizard->findChild<QCheckBox*>("id2004")->setChecked(true);
    wizard->findChild<QCheckBox*>("id2015")->setChecked(true);
    Click(wizard, "next");
    messages_->answerNext(true);
    Type(wizard, "directory", "charts/ms");  // a bare name: on drive c:
    Click(wizard, "add");
    Click(wizard, "next");
    messages_->answerNext(true);
    Type(wizard, "directory", asc);
    Click(wizard, "add");
    Click(wizard, "next");
    Click(wizard, "next");  // Finish
  });
  ui::RunFirstRunWizard(app);
  ASSERT_TRUE(shown);
  ASSERT_EQ(0, app.save());

  ShellRun info = Shell(std::string(KVQT_INFO_PATH) + " datafile " + Quoted(dir_.path() + "kvqt.dat"));
  ASSERT_EQ(0, info.status) << info.out;
  EXPECT_NE(std::string::npos, info.out.find(ms)) << info.out;
  EXPECT_NE(std::string::npos, info.out.find(asc)) << info.out;

  // The server, with the wizard's user.
  const std::string db = server_.file("demo.db");
  ASSERT_EQ(0, Shell(std::string(KVQT_SERVER_PATH) + " init-demo " + Quoted(db)).status);
  ASSERT_EQ(0, Shell(std::string(KVQT_SERVER_PATH) + " add-user " + Quoted(db) + " 12345vqx secretpw").status);
  FILE* serve = ::popen((std::string(KVQT_SERVER_PATH) + " serve " + Quoted(db) +
                         " --port 0 --sessions 2 --timeout 20 2>" + Quoted(server_.file("log.txt")))
                            .c_str(),
                        "r");
  ASSERT_NE(serve, nullptr);
  char line[128] = {};
  ASSERT_NE(std::fgets(line, sizeof line, serve), nullptr);
  std::smatch match;
  const std::string text = line;
  ASSERT_TRUE(std::regex_match(text, match, std::regex("listening on 127\\.0\\.0\\.1:([0-9]+)\n"))) << text;
  ShellRun config = Shell(std::string(KVQT_CONFIG_PATH) + " --dir " + Quoted(dir_.path()) + " server 127.0.0.1:" +
                     match[1].str());
  ASSERT_EQ(0, config.status) << config.out;

  dir_.write("instruments.txt", "ALVR|Alvero Holding\nBRMT|Bramant Industries\n");
  ASSERT_EQ(0, Kvqt("-nowindow -add2master instruments.txt MS " + Quoted(ms) + " 20200101").status);
  ASSERT_EQ(0, Kvqt("-nowindow -add2master instruments.txt ASCYYYY " + Quoted(asc) + " 20200101").status);
  dir_.write("get.tsk", "=Download(0, 1, \"MS\", \"\", \"" + ms + "\", 0, 0)\r\n=Download(0, 1, \"ASCYYYY\", \"\", \"" +
                            asc + "\", 0, 0)\r\n");
  ShellRun download = Kvqt("-nowindow get.tsk");
  EXPECT_EQ(0, download.status) << download.out;
  ::pclose(serve);
  const std::string log = server_.read("log.txt");
  EXPECT_NE(std::string::npos, log.find("session 1: request \"ALVR")) << log;
  EXPECT_NE(std::string::npos, log.find("session 2: sent")) << log;

  for (const std::string& directory : {ms, asc}) {
    ShellRun listing = Shell(std::string(KVQT_INFO_PATH) + " dir " + Quoted(directory));
    ASSERT_EQ(0, listing.status) << listing.out;
    EXPECT_NE(std::string::npos, listing.out.find("ALVR")) << listing.out;
    ShellRun records = Shell(std::string(KVQT_INFO_PATH) + " records " + Quoted(directory) + " ALVR");
    EXPECT_EQ(0, records.status) << records.out;
    EXPECT_GT(std::count(records.out.begin(), records.out.end(), '\n'), 5) << records.out;
  }
}

}  // namespace
}  // namespace kvqt
