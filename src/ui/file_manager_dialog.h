// "KORV_FILEMANAGER": the instruments of one directory, with find, delete,
// open into the data manager, print, download and adding an instrument.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "maintenance/instrument_find.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace kvqt {
class Application;
class Directory;
class Format;
}  // namespace kvqt

namespace kvqt::ui {

class InstrumentListModel;

class FileManagerDialog : public QDialog {
  Q_OBJECT

 public:
  FileManagerDialog(Application& application, QWidget* parent);

  Format* shownFormat() const;
  Directory* shownDirectory() const;
  // The interval of the instrument last added by hand (0: none yet).
  int interval() const { return interval_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private slots:
  void chooseFormat(int index);
  void chooseDirectory(int index);
  void editDirectories();
  void sortBy(int column);
  void find();
  void open();
  void openRow(const QModelIndex& index);
  void remove();
  void print();
  void download();
  void searchCatalog();
  void addInstrument();

 private:
  void showFormat();
  void refillDirectories();
  // Reads the directory's master again and shows its instruments; the row
  // given (clamped to the rows) becomes current, -1 for none.
  void refill(int currentRow);
  // The list lets go of the directory while a dialog that can remove
  // directories (their editor, the download dialog) is open.
  void detachList();
  void setFieldAvailability();
  void selectRow(int row);
  // The selected row the commands work on: the current one when selected,
  // else the first selected one; -1 for none.
  int selectedRow() const;
  std::vector<int> selectedRows() const;
  void setName(const std::string& name);
  void clearNameLimit();

  Application& application_;
  std::vector<Format*> choices_;
  InstrumentFind finder_;
  int interval_ = 0;
  bool canOpen_ = false;

  QComboBox* format_;
  QComboBox* directory_;
  QTreeView* list_;
  InstrumentListModel* model_;
  QLabel* counter_;
  QPushButton* open_;
  QPushButton* delete_;
  QPushButton* search_;
  QPushButton* new_;
  QPushButton* add_;
  QLineEdit* name_;
  QLineEdit* symbol_;
  QLineEdit* startDate_;
  QLineEdit* intervalField_;
  QLineEdit* factor_;
  QLabel* nameLabel_;
  QLabel* symbolLabel_;
  QLabel* startDateLabel_;
  QLabel* intervalLabel_;
  QLabel* factorLabel_;
};

// Opens the file manager modally (the File Manager command).
void RunFileManager(Application& application, QWidget* parent);

}  // namespace kvqt::ui
