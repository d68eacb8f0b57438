#include "ui/instrument_list_model.h"

#include <algorithm>
#include <vector>

#include "app/model/datafile.h"

namespace kvqt::ui {
namespace {

constexpr int kFetchBatch = 256;

}  // namespace

void InstrumentListModel::fill(const Directory* directory, bool intraday) {
  beginResetModel();
  intraday_ = intraday;
  rows_.fill(directory);
  fetched_ = std::min(rows_.count(), kFetchBatch);
  endResetModel();
}

bool InstrumentListModel::canFetchMore(const QModelIndex& parent) const {
  return !parent.isValid() && fetched_ < rows_.count();
}

void InstrumentListModel::fetchMore(const QModelIndex& parent) {
  if (!canFetchMore(parent)) return;
  fetchUpTo(fetched_ + kFetchBatch - 1);
}

void InstrumentListModel::fetchUpTo(int row) {
  const int end = std::min(rows_.count(), row + 1);
  if (end <= fetched_) return;
  beginInsertRows(QModelIndex(), fetched_, end - 1);
  fetched_ = end;
  endInsertRows();
}

void InstrumentListModel::sortBy(int column) {
  emit layoutAboutToBeChanged();
  // The selection and the current row follow their data files.
  const QModelIndexList before = persistentIndexList();
  std::vector<const Datafile*> held;
  for (const QModelIndex& index : before) held.push_back(rows_.at(index.row()));
  rows_.sortBy(column);
  QModelIndexList after;
  for (int i = 0; i < before.size(); ++i) {
    const int row = rows_.rowOf(held[i]);
    after.push_back(row < 0 ? QModelIndex() : index(row, before[i].column()));
  }
  changePersistentIndexList(before, after);
  emit layoutChanged();
}

int InstrumentListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : fetched_; }

int InstrumentListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kFileManagerColumns;
}

QVariant InstrumentListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole) return QVariant();
  const Datafile* datafile = index.row() < fetched_ ? rows_.at(index.row()) : nullptr;
  if (!datafile) return QVariant();
  return QString::fromStdString(FileManagerCellText(*datafile, index.column(), intraday_));
}

QVariant InstrumentListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return QVariant();
  return tr(FileManagerHeader(section));
}

}  // namespace kvqt::ui
