// The file manager's instruments as rows of a view: "name", "symbol", "from"
// and "to", in the order of the column sorted by. The view gets the rows in
// batches as it scrolls down, and each cell's text is made when the view asks
// for it.
#pragma once

#include <QAbstractTableModel>

#include "maintenance/file_manager_list.h"

namespace kvqt {
class Directory;
}

namespace kvqt::ui {

class InstrumentListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit InstrumentListModel(QObject* parent) : QAbstractTableModel(parent) {}

  // Shows the data files `directory` holds now (null: nothing), sorted by the
  // last sort column; the directory must outlive the model or be replaced.
  void fill(const Directory* directory, bool intraday);
  void sortBy(int column);
  // Every row of the directory, also those the view has not fetched yet.
  const FileManagerRows& rows() const { return rows_; }
  // Hands the view the rows up to `row` (a find or a new instrument may
  // select a row further down).
  void fetchUpTo(int row);

  bool canFetchMore(const QModelIndex& parent) const override;
  void fetchMore(const QModelIndex& parent) override;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  FileManagerRows rows_;
  int fetched_ = 0;
  bool intraday_ = false;
};

}  // namespace kvqt::ui
