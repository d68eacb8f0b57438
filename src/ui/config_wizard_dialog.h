// The configuration wizard's window: one dialog whose pages follow the page
// flow of the core, with the language buttons above every page.
#pragma once

#include <QDialog>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "maintenance/wizard_flow.h"
#include "maintenance/wizard_search.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QStackedWidget;
class QTimer;

namespace kvqt {
class Application;
}

namespace kvqt::ui {

class ConfigWizard : public QDialog {
  Q_OBJECT

 public:
  ConfigWizard(Application& application, QWidget* parent);
  ~ConfigWizard() override;

  int language() const { return language_; }
  const WizardFlow& flow() const { return flow_; }
  // The chosen directories of a format's setup page.
  std::vector<std::string> chosenDirectories(int formatId) const;
  bool searching() const;

  void setLanguage(int language);
  void goNext();
  void goBack();
  void reject() override;

 private:
  struct SetupState {
    std::string typed;
    std::vector<std::string> chosen;
    std::string programFolder;
    bool visited = false;
    std::unique_ptr<WizardSearch> search;
  };

  void buildPages();
  void showPage();
  void retranslate();
  void saveSetupFields();
  void loadSetupPage();
  SetupState& setup() { return setups_[flow_.setupFormatId()]; }

  void addDirectory();
  void browseDirectory();
  void deleteDirectory();
  void toggleSearch(bool programFolder);
  void stopSearch();
  void searchSlice();

  Application& application_;
  WizardFlow flow_;
  int language_;
  std::map<int, SetupState> setups_;

  QStackedWidget* pages_ = nullptr;
  QPushButton* back_ = nullptr;
  QPushButton* next_ = nullptr;
  QPushButton* cancel_ = nullptr;
  // language page
  QLabel* welcome_ = nullptr;
  QLabel* description_ = nullptr;
  // user page
  QLabel* userHelp_ = nullptr;
  QLabel* userLabel_ = nullptr;
  QLineEdit* userNumber_ = nullptr;
  QLabel* passwordHelp_ = nullptr;
  QLabel* passwordLabel_ = nullptr;
  QLineEdit* password_ = nullptr;
  QLabel* lostLogin_ = nullptr;
  // formats page
  QLabel* formatsHelp_ = nullptr;
  std::map<int, QCheckBox*> boxes_;
  // setup page
  QLabel* formatLine_ = nullptr;
  QLabel* directoryHelp_ = nullptr;
  QLineEdit* directory_ = nullptr;
  QListWidget* chosen_ = nullptr;
  QComboBox* drives_ = nullptr;
  QPushButton* add_ = nullptr;
  QPushButton* browse_ = nullptr;
  QPushButton* search_ = nullptr;
  QPushButton* delete_ = nullptr;
  QLabel* programHelp_ = nullptr;
  QLineEdit* programFolder_ = nullptr;
  QPushButton* programBrowse_ = nullptr;
  QPushButton* programSearch_ = nullptr;
  QWidget* programRow_ = nullptr;
  // finish page
  QLabel* configured_ = nullptr;
  QLabel* finishText_ = nullptr;

  QTimer* searchTimer_ = nullptr;
  bool searchingProgram_ = false;
};

}  // namespace kvqt::ui
