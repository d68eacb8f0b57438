#include "ui/instrument_list_model.h"

#include <vector>

#include "app/model/datafile.h"

namespace kvqt::ui {

void InstrumentListModel::fill(const Directory* directory, bool intraday) {
  beginResetModel();
  intraday_ = intraday;
  rows_.fill(directory);
  endResetModel();
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

int InstrumentListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_.count(); }

int InstrumentListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kFileManagerColumns;
}

QVariant InstrumentListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole) return QVariant();
  const Datafile* datafile = rows_.at(index.row());
  if (!datafile) return QVariant();
  return QString::fromStdString(FileManagerCellText(*datafile, index.column(), intraday_));
}

QVariant InstrumentListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return QVariant();
  return tr(FileManagerHeader(section));
}

}  // namespace kvqt::ui
