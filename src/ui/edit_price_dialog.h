// "KORV_EDIT_PRICE": the five prices of one record of the data manager,
// stored in the record on "&Save".
#pragma once

#include <QDialog>

class QLineEdit;

namespace kvqt {
class DataManager;
}

namespace kvqt::ui {

class EditPriceDialog : public QDialog {
  Q_OBJECT

 public:
  // Edits record k of the manager's records.
  EditPriceDialog(DataManager& manager, int k, QWidget* parent);

 private slots:
  void save();

 private:
  DataManager& manager_;
  int record_;
  QLineEdit* open_;
  QLineEdit* high_;
  QLineEdit* low_;
  QLineEdit* close_;
  QLineEdit* volume_;
};

}  // namespace kvqt::ui
