// The data files of one directory as the rows of a list view, one line per
// data file (its name), read from the directory's entries when the view asks.
#pragma once

#include <QAbstractListModel>

namespace kvqt {
class Directory;
}

namespace kvqt::ui {

class DatafileListModel : public QAbstractListModel {
  Q_OBJECT

 public:
  explicit DatafileListModel(QObject* parent) : QAbstractListModel(parent) {}

  // Shows `directory` (null: nothing); it must outlive the model or be
  // replaced. The row count is taken now: a run that adds data files to the
  // directory changes what the view shows only when it is set again.
  void setDirectory(Directory* directory);
  Directory* directory() const { return directory_; }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;

 private:
  Directory* directory_ = nullptr;
  int rows_ = 0;
};

}  // namespace kvqt::ui
