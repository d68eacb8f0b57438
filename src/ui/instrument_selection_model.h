// The instruments of a list's directory as rows of a view: "name" and
// "selected", read from the directory's entries when the view asks.
#pragma once

#include <QAbstractTableModel>

namespace kvqt {
class Directory;
}

namespace kvqt::ui {

class InstrumentSelectionModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit InstrumentSelectionModel(QObject* parent) : QAbstractTableModel(parent) {}

  // Shows `directory` (null: nothing); it must outlive the model or be replaced.
  void setDirectory(Directory* directory);
  Directory* directory() const { return directory_; }
  // The "selected" column of every row is read again.
  void selectionChanged();

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  Directory* directory_ = nullptr;
};

}  // namespace kvqt::ui
