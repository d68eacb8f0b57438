// "KORV_DOWNLOAD": updates the chart databases of one format for a list, a
// directory or one symbol in a download session.
#pragma once

#include <QDialog>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kvqt {
class Application;
class Format;
}  // namespace kvqt

namespace kvqt::ui {

class DlgDownload : public QDialog {
  Q_OBJECT

 public:
  DlgDownload(Application& application, QWidget* parent);

  // The format chosen, or null when no format keeps directories.
  Format* shownFormat() const;

 public slots:
  // Every way of closing keeps the selection mode for the next opening.
  void done(int result) override;

 private slots:
  void chooseFormat(int index);
  void chooseType();
  void chooseMode();
  void chooseList(int index);
  void chooseDirectory(int index);
  void editLists();
  void editDirectories();
  void download();

 private:
  void refillAll();
  void refillLists();
  void refillDirectories();
  void refillSymbols();
  void applyType();
  void applyMode();

  Application& application_;
  std::vector<Format*> choices_;
  QButtonGroup* types_;
  QButtonGroup* modes_;
  QCheckBox* replaceYesterday_;
  QCheckBox* reloadSymbols_;
  QLineEdit* start_;
  QLineEdit* end_;
  QLabel* startLabel_;
  QLabel* endLabel_;
  QComboBox* format_;
  QComboBox* list_;
  QPushButton* listEditor_;
  QComboBox* directory_;
  QPushButton* dirEditor_;
  QComboBox* symbolDirectory_;
  QLabel* symbolDirectoryLabel_;
  QComboBox* symbol_;
  QLabel* symbolLabel_;
};

// Opens the download dialog modally (the Download command, the Enter key and
// the file manager's "&Download...").
void RunDownloadDialog(Application& application, QWidget* parent);

}  // namespace kvqt::ui
