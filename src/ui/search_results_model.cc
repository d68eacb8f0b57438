#include "ui/search_results_model.h"

#include "maintenance/instrument_search.h"
#include "service/symbols/sintable.h"

namespace kvqt::ui {

SearchResultsModel::SearchResultsModel(const TSintable& table, QObject* parent)
    : QAbstractTableModel(parent), table_(table) {}

void SearchResultsModel::setHits(std::vector<std::int32_t> hits) {
  beginResetModel();
  hits_ = std::move(hits);
  endResetModel();
}

const SinInstrument* SearchResultsModel::instrumentAt(int row) const {
  if (row < 0 || row >= static_cast<int>(hits_.size())) return nullptr;
  return table_.instrument(hits_[static_cast<std::size_t>(row)]);
}

int SearchResultsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(hits_.size());
}

int SearchResultsModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 2; }

QVariant SearchResultsModel::data(const QModelIndex& index, int role) const {
  const SinInstrument* instrument = index.isValid() ? instrumentAt(index.row()) : nullptr;
  if (!instrument) return {};
  if (role == kResultLineRole) return QString::fromStdString(ResultLine(*instrument));
  if (role == Qt::TextAlignmentRole && index.column() == 1)
    return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
  if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
  if (index.column() == 0) return QString::fromStdString(instrument->name.str());
  return QString::number(instrument->sincode);
}

QVariant SearchResultsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  return section == 0 ? tr("Name") : tr("Sincode");
}

}  // namespace kvqt::ui
