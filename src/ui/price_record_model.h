// The data manager's price list as a model: row r shows record r + 1 of the
// records in memory and carries its number; the texts are made when the view
// asks for them, so a data file of any length lists at once.
#pragma once

#include <QAbstractTableModel>

namespace kvqt {
class DataManager;
}

namespace kvqt::ui {

class PriceRecordModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  PriceRecordModel(const DataManager& manager, QObject* parent);

  // The record number a row carries (Qt::UserRole).
  static constexpr int kRecordRole = Qt::UserRole;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // After records were deleted or split: every row anew.
  void refill();
  // After record k was edited: its row anew.
  void recordChanged(int k);

 private:
  const DataManager& manager_;
};

}  // namespace kvqt::ui
