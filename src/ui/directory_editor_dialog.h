// "KORV_DIR_EDITOR": the directories of each format, added through the
// add-directory dialog and removed from the program's data (never from disk).
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QListWidget;

namespace kvqt {
class Format;
class Formats;
}  // namespace kvqt

namespace kvqt::ui {

class DirectoryEditorDialog : public QDialog {
  Q_OBJECT

 public:
  DirectoryEditorDialog(Formats& formats, QWidget* parent);

  // The format shown, or null when no format keeps directories.
  Format* shownFormat() const;

 private slots:
  void showFormat(int index);
  void add();
  void remove();

 private:
  void refill();

  Formats& formats_;
  std::vector<Format*> choices_;
  QComboBox* format_;
  QListWidget* directories_;
};

}  // namespace kvqt::ui
