#include "ui/price_record_model.h"

#include <algorithm>

#include "maintenance/data_manager.h"

namespace kvqt::ui {

PriceRecordModel::PriceRecordModel(const DataManager& manager, QObject* parent)
    : QAbstractTableModel(parent), manager_(manager) {}

int PriceRecordModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : std::max(0, manager_.count());
}

int PriceRecordModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kPriceColumns; }

QVariant PriceRecordModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= manager_.count()) return QVariant();
  const int k = index.row() + 1;
  if (role == kRecordRole) return k;
  if (role != Qt::DisplayRole) return QVariant();
  const auto texts = PriceRowTexts(manager_.kind(), manager_.record(k));
  return QString::fromStdString(texts[static_cast<std::size_t>(index.column())]);
}

QVariant PriceRecordModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= kPriceColumns)
    return QVariant();
  return QString::fromStdString(PriceColumnTitles(manager_.kind())[static_cast<std::size_t>(section)]);
}

void PriceRecordModel::refill() {
  beginResetModel();
  endResetModel();
}

void PriceRecordModel::recordChanged(int k) {
  if (k < 1 || k > manager_.count()) return;
  emit dataChanged(index(k - 1, 0), index(k - 1, kPriceColumns - 1));
}

}  // namespace kvqt::ui
