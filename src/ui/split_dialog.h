// "KORV_SPLIT": a split (or reverse split) of the prices over a date range,
// "Split" B "for" A, proposed from the selected record of the data manager.
#pragma once

#include <QDialog>

#include "maintenance/split_proposal.h"

class QLineEdit;

namespace kvqt {
class DataManager;
}

namespace kvqt::ui {

class SplitDialog : public QDialog {
  Q_OBJECT

 public:
  // Proposes the split for record k (asking whether the last day is split
  // too when the proposal needs to know).
  SplitDialog(DataManager& manager, int k, QWidget* parent);

  const SplitProposal& proposal() const { return proposal_; }

 private slots:
  void split();

 private:
  DataManager& manager_;
  SplitProposal proposal_;
  QLineEdit* start_;
  QLineEdit* end_;
  QLineEdit* a_;
  QLineEdit* b_;
};

}  // namespace kvqt::ui
