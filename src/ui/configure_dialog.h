// "KVQT_CONFIGURE": identification, destination, the Technical Investor and
// TopVest file settings, the download options and the Orvista 2000 settings.
// Everything is written at "Ok" only.
#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

namespace kvqt {
class Application;
}

namespace kvqt::ui {

class ConfigureDialog : public QDialog {
  Q_OBJECT

 public:
  ConfigureDialog(Application& application, QWidget* parent);

 public slots:
  void accept() override;
  void runWizard();

 private:
  void fill();

  Application& application_;
  QLineEdit* userNumber_;
  QLineEdit* password_;
  QLineEdit* destination_;
  QComboBox* technicalInvestorFileType_;
  QLineEdit* technicalInvestorMaxRecords_;
  QComboBox* topVestFileType_;
  QLineEdit* topVestMaxRecords_;
  QCheckBox* symbolChanges_;
  QCheckBox* optionChanges_;
  QCheckBox* splitFactors_;
  QCheckBox* newVersion_;
  QLineEdit* orvistaProgramFolder_;
  QSpinBox* orvistaMonths_;
};

}  // namespace kvqt::ui
