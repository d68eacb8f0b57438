#include "ui/configure_dialog.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>

#include "app/application.h"
#include "app/datafile/writer_settings.h"
#include "ui/commands.h"
#include "ui/dialog_commands.h"
#include "ui/dialog_test_util.h"
#include "ui/main_window.h"
#include "ui/qt_test_app.h"

namespace kvqt::ui {
namespace {

using kvqt::testing::Control;
using kvqt::testing::QtTest;

class ConfigureDialogTest : public QtTest {
 protected:
  void SetUp() override {
    QtTest::SetUp();
    ResetWriterSettings();
    app_.data().login().userNumber = "12345vqx";
    app_.data().login().password = "abcdefgh";
  }
  void TearDown() override {
    ResetWriterSettings();
    QtTest::TearDown();
  }

  Application app_{{}};
};

TEST_F(ConfigureDialogTest, OpensWithTheStoredValues) {
  app_.data().userInfo().tpvft = "AD";
  ConfigureDialog dialog(app_, nullptr);
  EXPECT_EQ(dialog.windowTitle().toStdString(), "Configure");
  EXPECT_EQ(dialog.findChild<QLineEdit*>("userNumber")->text().toStdString(), "12345vqx");
  EXPECT_EQ(Control<QLineEdit>(dialog, 621)->text().toStdString(), "<default>");
  EXPECT_TRUE(Control<QLabel>(dialog, 620)->isEnabled());
  EXPECT_TRUE(Control<QRadioButton>(dialog, 428)->isChecked());
  auto* ti = dialog.findChild<QComboBox*>("technicalInvestorFileType");
  EXPECT_EQ(ti->count(), 14);
  EXPECT_EQ(ti->currentText().toStdString(), "1D");
  auto* tv = dialog.findChild<QComboBox*>("topVestFileType");
  EXPECT_EQ(tv->count(), 20);
  EXPECT_EQ(tv->currentText().toStdString(), "AD");
  EXPECT_EQ(Control<QLineEdit>(dialog, 601)->text().toStdString(), "4000");
  EXPECT_TRUE(Control<QCheckBox>(dialog, 392)->isChecked());
  EXPECT_FALSE(Control<QCheckBox>(dialog, 421)->isChecked());
  EXPECT_FALSE(Control<QCheckBox>(dialog, 393)->isChecked());
  EXPECT_TRUE(Control<QCheckBox>(dialog, 422)->isChecked());
  EXPECT_EQ(Control<QLineEdit>(dialog, 417)->text().toStdString(), "c:\\Program Files\\Orvista2000");
  EXPECT_EQ(Control<QSpinBox>(dialog, 416)->value(), 48);
  EXPECT_EQ(Control<QPushButton>(dialog, 641)->text().toStdString(), "Configuration &wizard...");
}

TEST_F(ConfigureDialogTest, OkStoresTheValues) {
  ConfigureDialog dialog(app_, nullptr);
  dialog.show();
  dialog.findChild<QLineEdit*>("userNumber")->setText("54321vqx");
  Control<QLineEdit>(dialog, 621)->setText("quotes.example 9000");
  dialog.findChild<QComboBox*>("technicalInvestorFileType")->setCurrentText("7");
  dialog.findChild<QComboBox*>("topVestFileType")->setCurrentText("AD");
  Control<QLineEdit>(dialog, 601)->setText("9999");
  Control<QLineEdit>(dialog, 603)->setText("250");
  Control<QCheckBox>(dialog, 393)->setChecked(true);
  Control<QCheckBox>(dialog, 422)->setChecked(false);
  Control<QSpinBox>(dialog, 416)->setValue(24);
  QTest::mouseClick(Control<QPushButton>(dialog, 1), Qt::LeftButton);

  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_TRUE(messages_->shown().empty());
  EXPECT_EQ(app_.data().login().userNumber, "54321vqx");
  const UserInfo& info = app_.data().userInfo();
  EXPECT_EQ(info.NetworkDestination, "quotes.example 9000");
  EXPECT_EQ(info.savft, "7");
  EXPECT_EQ(info.tpvft, "AD");
  EXPECT_EQ(info.savmr, 9999);
  EXPECT_EQ(info.tpvmr, 250);
  EXPECT_EQ(writerSettings().topVestFileType, 266);
  EXPECT_EQ(dir_.read("kvqt.ini"),
            "[configure]\r\nsinchanges=yes\r\noptionchanges=no\r\nsplitfactors=yes\r\nnewversion=no\r\n"
            "orvista2kpath=c:\\Program Files\\Orvista2000\r\norvista2k_months_new_share=24\r\n"
            "uploadprotocol=Zmodem\r\n");
}

TEST_F(ConfigureDialogTest, RefusedMaximumKeepsTheDialogOpen) {
  ConfigureDialog dialog(app_, nullptr);
  dialog.show();
  dialog.findChild<QLineEdit*>("userNumber")->setText("54321vqx");
  Control<QLineEdit>(dialog, 601)->setText("10000");
  QTest::mouseClick(Control<QPushButton>(dialog, 1), Qt::LeftButton);

  EXPECT_TRUE(dialog.isVisible());
  ASSERT_EQ(messages_->shown().size(), 1u);
  EXPECT_EQ(messages_->shown()[0].text,
            "The maximum number of records for the Technical Investor must be a number between 1 and 10000");
  EXPECT_EQ(Control<QLineEdit>(dialog, 601)->selectedText().toStdString(), "10000");
  EXPECT_EQ(app_.data().login().userNumber, "12345vqx");
  EXPECT_FALSE(dir_.exists("kvqt.ini"));

  messages_->clear();
  Control<QLineEdit>(dialog, 601)->setText("9999");
  Control<QLineEdit>(dialog, 603)->setText("10000");
  QTest::mouseClick(Control<QPushButton>(dialog, 1), Qt::LeftButton);
  EXPECT_TRUE(dialog.isVisible());
  ASSERT_EQ(messages_->shown().size(), 1u);
  EXPECT_EQ(messages_->shown()[0].text,
            "The maximum number of records for TopVest must be a number between 1 and 10000");
  dialog.close();
}

TEST_F(ConfigureDialogTest, CancelChangesNothing) {
  ConfigureDialog dialog(app_, nullptr);
  dialog.show();
  dialog.findChild<QLineEdit*>("userNumber")->setText("54321vqx");
  Control<QCheckBox>(dialog, 421)->setChecked(true);
  Control<QLineEdit>(dialog, 621)->setText("elsewhere");
  QTest::mouseClick(Control<QPushButton>(dialog, 2), Qt::LeftButton);

  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(app_.data().login().userNumber, "12345vqx");
  EXPECT_EQ(app_.data().userInfo().NetworkDestination, "");
  EXPECT_FALSE(dir_.exists("kvqt.ini"));
}

TEST_F(ConfigureDialogTest, WizardButtonFillsTheDialogAgain) {
  ConfigureDialog dialog(app_, nullptr);
  dialog.findChild<QLineEdit*>("userNumber")->setText("typed");
  // Whatever the wizard shows is cancelled.
  QTimer::singleShot(100, &dialog, [] {
    if (auto* wizard = qobject_cast<QDialog*>(QApplication::activeModalWidget())) wizard->reject();
  });
  QTest::mouseClick(Control<QPushButton>(dialog, 641), Qt::LeftButton);
  EXPECT_EQ(dialog.findChild<QLineEdit*>("userNumber")->text().toStdString(), "12345vqx");
}

TEST_F(ConfigureDialogTest, ConfigureCommandOpensTheDialogOnTheMainWindow) {
  MainWindow window;
  ConnectDialogCommands(window, app_);
  QAction* configure = window.command(kCmdConfigure);
  ASSERT_TRUE(configure->isEnabled());
  bool seen = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<ConfigureDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    seen = dialog->parentWidget() == &window && dialog->isModal();
    dialog->findChild<QPushButton*>("id2")->click();
  });
  configure->trigger();
  EXPECT_TRUE(seen);
}

}  // namespace
}  // namespace kvqt::ui
