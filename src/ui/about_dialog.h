// "KORV_ABOUT": the program's version and a Close button.
#pragma once

#include <QDialog>

namespace kvqt::ui {

class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  explicit AboutDialog(QWidget* parent);
};

}  // namespace kvqt::ui
