// The search dialog's results as rows of a view, read from the symbol table
// when the view asks: the name and the sincode of each instrument found (the
// results line "name<tab>sincode" split into its two columns).
#pragma once

#include <QAbstractTableModel>
#include <cstdint>
#include <vector>

namespace kvqt {
class TSintable;
struct SinInstrument;
}  // namespace kvqt

namespace kvqt::ui {

class SearchResultsModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // The whole results line of a row, "%s\t%d".
  static constexpr int kResultLineRole = Qt::UserRole;

  // `table` outlives the model.
  SearchResultsModel(const TSintable& table, QObject* parent);

  // The positions in the table of the instruments found, in table order.
  void setHits(std::vector<std::int32_t> hits);
  // The instrument of a row, or null.
  const SinInstrument* instrumentAt(int row) const;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const TSintable& table_;
  std::vector<std::int32_t> hits_;
};

}  // namespace kvqt::ui
