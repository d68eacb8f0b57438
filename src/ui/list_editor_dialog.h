// "KORV_LIST_EDITOR": the lists of each format, their directories, and which
// instruments of each directory a list downloads.
#pragma once

#include <QDialog>
#include <vector>

class QButtonGroup;
class QComboBox;
class QLabel;
class QListWidget;
class QTreeView;

namespace kvqt {
class Directory;
class Format;
class Formats;
class List;
}  // namespace kvqt

namespace kvqt::ui {

class InstrumentSelectionModel;

class ListEditorDialog : public QDialog {
  Q_OBJECT

 public:
  ListEditorDialog(Formats& formats, QWidget* parent);

  Format* shownFormat() const;
  List* shownList() const;
  Directory* shownDirectory() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private slots:
  void chooseFormat(int index);
  void chooseList(int index);
  void chooseDirectory(int row);
  void addList();
  void deleteList();
  void printList();
  void addDirectory();
  void deleteDirectory();
  void setMode(int mode);
  void clickInstrument(const QModelIndex& index);

 private:
  void refillLists();
  void refillDirectories();
  void refillInstruments();
  void selectionChanged();

  Formats& formats_;
  std::vector<Format*> choices_;
  QComboBox* format_;
  QComboBox* list_;
  QListWidget* directories_;
  QTreeView* instruments_;
  InstrumentSelectionModel* model_;
  QButtonGroup* modes_;
  QLabel* counter_;
};

}  // namespace kvqt::ui
