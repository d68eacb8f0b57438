// "KORV_ADD_LIST": the name of a new list.
#pragma once

#include <QDialog>
#include <string>

class QLineEdit;

namespace kvqt::ui {

class AddListDialog : public QDialog {
  Q_OBJECT

 public:
  explicit AddListDialog(QWidget* parent);

  std::string name() const;

  // Runs the dialog; the typed name, or empty after Cancel.
  static std::string Ask(QWidget* parent);

 private:
  QLineEdit* name_;
};

}  // namespace kvqt::ui
