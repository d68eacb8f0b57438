#include "ui/datafile_list_model.h"

#include "app/model/directory.h"

namespace kvqt::ui {

void DatafileListModel::setDirectory(Directory* directory) {
  beginResetModel();
  directory_ = directory;
  rows_ = directory ? directory->size() : 0;
  endResetModel();
}

int DatafileListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

QVariant DatafileListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !directory_ || index.row() >= rows_) return QVariant();
  const Datafile* datafile = directory_->at(index.row());
  return datafile ? QVariant(QString::fromStdString(datafile->text(1))) : QVariant();
}

}  // namespace kvqt::ui
