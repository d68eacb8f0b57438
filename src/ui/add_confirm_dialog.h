// "KORV_ADD_CONFIRM": before several instruments found in the catalogue are
// added, the start date they get and, for intraday formats, their interval.
#pragma once

#include <QDialog>

#include "maintenance/found_instruments.h"

class QLineEdit;

namespace kvqt::ui {

class AddConfirmDialog : public QDialog {
  Q_OBJECT

 public:
  // `withInterval` shows the interval field, opened with `interval` when that
  // is a valid one. The start date opens a week before today.
  AddConfirmDialog(long count, bool withInterval, int interval, QWidget* parent);

  // The checked start date and interval, after "Add".
  const AddConfirmValues& values() const { return values_; }

 private slots:
  void add();

 private:
  bool withInterval_;
  QLineEdit* start_;
  QLineEdit* interval_;
  AddConfirmValues values_;
};

}  // namespace kvqt::ui
