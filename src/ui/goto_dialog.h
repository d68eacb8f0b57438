// "KORV_GOTO": a date to jump to in the data manager's list; the first
// record on or after it is chosen.
#pragma once

#include <QDialog>

class QLineEdit;

namespace kvqt {
class DataManager;
}

namespace kvqt::ui {

class GotoDialog : public QDialog {
  Q_OBJECT

 public:
  // `selected`: the selected row's record, 0 for none (the last record).
  GotoDialog(DataManager& manager, int selected, QWidget* parent);

  // The record chosen by "Goto"; 0 before.
  int chosen() const { return chosen_; }

 private slots:
  void go();

 private:
  DataManager& manager_;
  int selected_;
  int chosen_ = 0;
  QLineEdit* date_;
};

}  // namespace kvqt::ui
