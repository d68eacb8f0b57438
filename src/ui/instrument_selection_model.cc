#include "ui/instrument_selection_model.h"

#include "app/model/directory.h"
#include "maintenance/list_selection.h"

namespace kvqt::ui {

void InstrumentSelectionModel::setDirectory(Directory* directory) {
  beginResetModel();
  directory_ = directory;
  endResetModel();
}

void InstrumentSelectionModel::selectionChanged() {
  if (rowCount() > 0) emit dataChanged(index(0, 1), index(rowCount() - 1, 1), {Qt::DisplayRole});
}

int InstrumentSelectionModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() || !directory_ ? 0 : directory_->size();
}

int InstrumentSelectionModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 2; }

QVariant InstrumentSelectionModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !directory_) return QVariant();
  const Datafile* entry = directory_->at(index.row());
  if (!entry) return QVariant();
  if (index.column() == 0) return QString::fromStdString(entry->name());
  return QString::fromLatin1(SelectedText(entry->selected()));
}

QVariant InstrumentSelectionModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return QVariant();
  return section == 0 ? tr("name") : tr("selected");
}

}  // namespace kvqt::ui
