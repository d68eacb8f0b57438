// "KORV_FILEDOWNLOAD" (mode 1003) and "KORV_DEFFILEDOWNLOAD" (mode 1004): a
// download into one file, by the dialog's choices or by a definition file.
#pragma once

#include <QDialog>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/core/action_info.h"
#include "maintenance/file_download_choices.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kvqt {
class Application;
class Format;
}  // namespace kvqt

namespace kvqt::ui {

class FileDownloadDialog : public QDialog {
  Q_OBJECT

 public:
  // `mode` is kFileDownloadMode or kDefinitionFileDownloadMode.
  FileDownloadDialog(Application& application, int mode, QWidget* parent);

  FileDownloadMode mode() const { return mode_; }
  // The record of the last run started here.
  const ActionInfo& lastAction() const { return action_; }

 public slots:
  // "Do&wnload !": the checks, the settings and the task-file line, then the
  // session in the progress dialog. The dialog stays open.
  void download();
  // Closing keeps the selection and the type.
  void done(int result) override;

 private slots:
  void chooseInputFormat(int index);
  void chooseSelection(int selection);
  void chooseType(int type);
  void chooseList(int index);
  void chooseDirectory(int index);
  void editLists();
  void editDirectories();
  void browseInputFile();
  void browseOutputFile();
  void editInputFile();
  void editOutputFile();

 private:
  void buildChoiceControls();
  void buildDefinitionControls();
  QWidget* buildOutputControls(bool definitionMode);
  void layOut(std::initializer_list<QWidget*> groups, const char* closeText);
  void fillOutputFormats(const std::string& symbol);
  void refillInputFormats();
  void refillSelection();
  void refillSymbols();
  void enableSelection();
  void enableDates();
  Format* inputFormat() const;
  Format* outputFormat() const;
  int selection() const;
  int type() const;
  void browseInto(QLineEdit* field, const char* windowsFilter);
  void focus(FileDownloadField field);

  Application& application_;
  FileDownloadMode mode_;
  ActionInfo action_;
  std::vector<Format*> inputFormats_;
  std::vector<Format*> outputFormats_;

  // The choice mode.
  QComboBox* inputFormat_ = nullptr;
  QButtonGroup* selection_ = nullptr;
  QComboBox* list_ = nullptr;
  QPushButton* listEditor_ = nullptr;
  QComboBox* directory_ = nullptr;
  QPushButton* directoryEditor_ = nullptr;
  QLabel* symbolDirectoryLabel_ = nullptr;
  QComboBox* symbolDirectory_ = nullptr;
  QLabel* symbolLabel_ = nullptr;
  QComboBox* symbol_ = nullptr;
  QButtonGroup* type_ = nullptr;
  QLineEdit* singleDay_ = nullptr;
  QLabel* startLabel_ = nullptr;
  QLineEdit* start_ = nullptr;
  QLabel* endLabel_ = nullptr;
  QLineEdit* end_ = nullptr;
  QComboBox* periodicity_ = nullptr;
  // The directory whose data files the Symbol combo shows.
  const Directory* symbolsOf_ = nullptr;

  // The definition-file mode.
  QLineEdit* inputFile_ = nullptr;

  // Both modes.
  QComboBox* outputFormat_ = nullptr;
  QLineEdit* outputFile_ = nullptr;
};

// Opens the dialog modally in `mode` (kFileDownloadMode or
// kDefinitionFileDownloadMode); it stays open after a run.
void RunFileDownloadDialog(Application& application, int mode, QWidget* parent);

}  // namespace kvqt::ui
