// The configuration wizard driven through its controls: pages, languages,
// messages, and what it leaves in the data model.
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include "app/application.h"
#include "app/model/format_ids.h"
#include "maintenance/wizard_texts.h"
#include "platform/path.h"
#include "qt_test_app.h"
#include "ui/config_wizard.h"
#include "ui/config_wizard_dialog.h"
#include "ui/first_run_wizard.h"

namespace kvqt {
namespace {

class ConfigWizardTest : public testing::QtTest {
 protected:
  void SetUp() override {
    QtTest::SetUp();
    if (const char* h = std::getenv("HOME")) oldHome_ = h;
    ::setenv("HOME", dir_.path().c_str(), 1);
    ::unsetenv("WINEPREFIX");
    ASSERT_EQ(0, app_.start(dir_.path()));
  }
  void TearDown() override {
    ::setenv("HOME", oldHome_.c_str(), 1);
    QtTest::TearDown();
  }

  template <typename W>
  static W* Find(QWidget* wizard, const char* name) {
    W* w = wizard->findChild<W*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  static void Click(QWidget* wizard, const char* name) { Find<QPushButton>(wizard, name)->click(); }

  // Language and user pages, then the formats page with the given boxes.
  void ToFormats(ui::ConfigWizard& wizard, std::initializer_list<const char*> boxes) {
    Click(&wizard, "next");
    Find<QLineEdit>(&wizard, "userNumber")->setText("12345");
    Find<QLineEdit>(&wizard, "password")->setText("secretpw");
    Click(&wizard, "next");
    for (const char* box : boxes) Find<QCheckBox>(&wizard, box)->setChecked(true);
  }

  void AddTyped(ui::ConfigWizard& wizard, const std::string& typed) {
    Find<QLineEdit>(&wizard, "directory")->setText(QString::fromStdString(typed));
    Click(&wizard, "add");
  }

  Application app_{{}};
  std::string oldHome_;
};

TEST_F(ConfigWizardTest, MainPathLeavesLoginFormatsAndDirectories) {
  ui::ConfigWizard wizard(app_, nullptr);
  EXPECT_EQ("Norvale Korvane", wizard.windowTitle().toStdString());
  EXPECT_EQ(kWizardDutch, wizard.language());
  ToFormats(wizard, {"id2004", "id2015"});
  EXPECT_EQ("12345vqx", app_.data().login().userNumber);
  EXPECT_EQ("secretpw", app_.data().login().password);
  Click(&wizard, "next");
  ASSERT_EQ(kFormatIdMetastock, wizard.flow().setupFormatId());
  // The proposed directory is drive c's Equis/Data.
  EXPECT_EQ(dir_.path() + "Equis/Data/", Find<QLineEdit>(&wizard, "directory")->text().toStdString());
  messages_->answerNext(true);
  AddTyped(wizard, "ms");
  EXPECT_EQ(1, Find<QListWidget>(&wizard, "chosenDirectories")->count());
  Click(&wizard, "next");
  EXPECT_EQ(dir_.path() + "ms/", app_.formats().findById(4)->currentDirectory()->name());
  ASSERT_EQ(kFormatIdAsciiYyyymmdd, wizard.flow().setupFormatId());
  // The MetaStock directory is refused for the ASCII format, captioned in Dutch.
  const std::string ms = dir_.path() + "ms/";
  platform::MakeDirectories(ms);
  std::string master(106, '\0');
  master[0] = 1;
  master[53 + 33] = 'D';
  testing::WriteFileBytes(ms + "MASTER", master);
  messages_->clear();
  AddTyped(wizard, "ms");
  ASSERT_EQ(1u, messages_->shown().size());
  EXPECT_EQ("Fout", messages_->shown()[0].caption);
  EXPECT_EQ("FOUT: " + ms + " bevat al een ander formaat", messages_->shown()[0].text);
  messages_->answerNext(true);
  AddTyped(wizard, "ascii");
  Click(&wizard, "next");
  EXPECT_TRUE(wizard.flow().isFinish());
  EXPECT_EQ("Vol&tooien", Find<QPushButton>(&wizard, "next")->text().toStdString());
  EXPECT_EQ(dir_.path() + "ascii/", app_.formats().findById(15)->currentDirectory()->name());
  EXPECT_EQ(15, app_.formats().current()->formatId());
  Click(&wizard, "next");
  EXPECT_EQ(QDialog::Accepted, wizard.result());
}

TEST_F(ConfigWizardTest, LanguageButtonsAndUserPageMessages) {
  ui::ConfigWizard wizard(app_, nullptr);
  Click(&wizard, "id671");
  EXPECT_EQ("&Next...", Find<QPushButton>(&wizard, "next")->text().toStdString());
  Click(&wizard, "id672");
  EXPECT_EQ("&Suivant...", Find<QPushButton>(&wizard, "next")->text().toStdString());
  Click(&wizard, "next");
  Find<QLineEdit>(&wizard, "userNumber")->setText("1234a");
  Find<QLineEdit>(&wizard, "password")->setText("secretpw");
  Click(&wizard, "next");
  ASSERT_EQ(1u, messages_->shown().size());
  EXPECT_EQ("Erreur", messages_->shown()[0].caption);
  EXPECT_EQ(WizardPage::User, wizard.flow().page());
  Click(&wizard, "id670");
  Find<QLineEdit>(&wizard, "userNumber")->setText("12345");
  Find<QLineEdit>(&wizard, "password")->setText("secretp");
  Click(&wizard, "next");
  EXPECT_EQ("FOUT: Ongeldig wachtwoord", messages_->shown().back().text);
  EXPECT_EQ(WizardPage::User, wizard.flow().page());
  EXPECT_TRUE(app_.data().login().userNumber.empty());
}

TEST_F(ConfigWizardTest, BackFromTheFirstSetupPageKeepsTheBoxes) {
  ui::ConfigWizard wizard(app_, nullptr);
  ToFormats(wizard, {"id2009", "id645"});
  Click(&wizard, "next");
  EXPECT_EQ(kFormatIdTab, wizard.flow().setupFormatId());
  Click(&wizard, "back");
  EXPECT_EQ(WizardPage::Formats, wizard.flow().page());
  EXPECT_TRUE(Find<QCheckBox>(&wizard, "id2009")->isChecked());
  EXPECT_TRUE(Find<QCheckBox>(&wizard, "id645")->isChecked());
  EXPECT_FALSE(Find<QCheckBox>(&wizard, "id2004")->isChecked());
  Click(&wizard, "cancel");
  EXPECT_EQ(QDialog::Rejected, wizard.result());
}

TEST_F(ConfigWizardTest, SearchRunsOnATimerAndCanBeStopped) {
  for (const char* name : {"a/ms/", "b/ms/"}) {
    platform::MakeDirectories(dir_.path() + name);
    std::string master(53, '\0');
    testing::WriteFileBytes(dir_.path() + name + "MASTER", master);
  }
  ui::ConfigWizard wizard(app_, nullptr);
  ToFormats(wizard, {"id2004"});
  Click(&wizard, "next");
  Click(&wizard, "search");
  EXPECT_TRUE(wizard.searching());
  EXPECT_EQ("Annuleren", Find<QPushButton>(&wizard, "search")->text().toStdString());
  ASSERT_TRUE(testing::QtWaitUntil([&] { return !wizard.searching(); }));
  EXPECT_EQ((std::vector<std::string>{dir_.path() + "a/ms/", dir_.path() + "b/ms/"}), wizard.chosenDirectories(4));
  EXPECT_EQ("Zoeken...", Find<QPushButton>(&wizard, "search")->text().toStdString());
}

// A first start runs the wizard; finishing it leaves login and directory.
TEST_F(ConfigWizardTest, FirstRunShowsTheWizard) {
  ASSERT_TRUE(app_.needsWizard());
  bool shown = false;
  QTimer::singleShot(0, [&] {
    auto* wizard = qobject_cast<ui::ConfigWizard*>(QApplication::activeModalWidget());
    ASSERT_NE(wizard, nullptr);
    shown = true;
    ToFormats(*wizard, {"id2004"});
    Click(wizard, "next");
    messages_->answerNext(true);
    AddTyped(*wizard, "ms");
    Click(wizard, "next");
    Click(wizard, "next");
  });
  ui::RunFirstRunWizard(app_);
  EXPECT_TRUE(shown);
  EXPECT_EQ("12345vqx", app_.data().login().userNumber);
  EXPECT_EQ(dir_.path() + "ms/", app_.formats().findById(4)->currentDirectory()->name());
}

}  // namespace
}  // namespace kvqt
