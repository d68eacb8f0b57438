#include "ui/search_dialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>
#include <vector>

#include "app/application.h"
#include "app/model/format.h"
#include "maintenance/found_instruments.h"
#include "maintenance/instrument_search.h"
#include "maintenance/search_memory.h"
#include "maintenance/security_types.h"
#include "service/symbols/sintable.h"
#include "ui/add_confirm_dialog.h"
#include "ui/search_results_model.h"
#include "ui/dialog_controls.h"

namespace kvqt::ui {
namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

// The detail fields, in the order of InstrumentDetails.
struct DetailField {
  int id;
  const char* label;
};
constexpr DetailField kDetails[7] = {{385, "Sincode:"},  {101, "Name:"},          {279, "Symbol:"},
                                     {384, "Exchange:"}, {102, "Currency:"},      {383, "Security type:"},
                                     {172, "Startdate:"}};

// The names of a list of the symbol table, sorted for the eye, after an empty
// item that sets no condition.
template <typename At>
void FillCombo(QComboBox* combo, std::int32_t count, At at) {
  QStringList names;
  for (std::int32_t i = 0; i < count; ++i)
    if (const SinItem* item = at(i)) names << Text(item->name.str());
  names.sort(Qt::CaseInsensitive);
  names.removeDuplicates();
  combo->addItem(QString());
  combo->addItems(names);
}

void SelectText(QComboBox* combo, const std::string& text) {
  const int index = text.empty() ? 0 : combo->findText(Text(text), Qt::MatchFixedString | Qt::MatchCaseSensitive);
  combo->setCurrentIndex(index < 0 ? 0 : index);
}

// Enter in the results list means the dialog's button 1, not another search.
class EnterFilter : public QObject {
 public:
  EnterFilter(QObject* parent, std::function<void()> enter) : QObject(parent), enter_(std::move(enter)) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        enter_();
        return true;
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> enter_;
};

}  // namespace

SearchDialog::SearchDialog(const std::string& programDirectory, QWidget* parent)
    : QDialog(parent), table_(std::make_unique<TSintable>(programDirectory)) {
  build();
}

SearchDialog::SearchDialog(const std::string& programDirectory, Format& format, Directory& directory, int interval,
                           QWidget* parent)
    : QDialog(parent),
      table_(std::make_unique<TSintable>(programDirectory)),
      format_(&format),
      directory_(&directory),
      interval_(interval) {
  build();
}

SearchDialog::~SearchDialog() {
  // The list and its model read the symbol table, which goes before the children.
  delete list_;
  delete model_;
}

void SearchDialog::build() {
  setObjectName("KORV_SEARCH");
  setWindowTitle(tr("Search"));
  setModal(true);

  // The conditions.
  name_ = new QLineEdit(this);
  name_->setObjectName("id387");
  name_->setMaxLength(static_cast<int>(kSearchTextLength));
  symbol_ = new QLineEdit(this);
  symbol_->setObjectName("id386");
  symbol_->setMaxLength(static_cast<int>(kSearchTextLength));
  exchange_ = new QComboBox(this);
  exchange_->setObjectName("id388");
  exchange_->setMinimumContentsLength(20);
  exchange_->setAccessibleName(tr("Exchange"));
  currency_ = new QComboBox(this);
  currency_->setObjectName("id389");
  currency_->setMinimumContentsLength(20);
  currency_->setAccessibleName(tr("Currency"));
  auto* conditions = new QFormLayout;
  const std::pair<const char*, QWidget*> rows[] = {
      {"&Name:", name_}, {"S&ymbol:", symbol_}, {"&Exchange:", exchange_}, {"C&urrency:", currency_}};
  for (const auto& [label, field] : rows) {
    auto* l = new QLabel(tr(label), this);
    l->setBuddy(field);
    conditions->addRow(l, field);
  }

  auto* typeBox = new QGroupBox(tr("Security type"), this);
  types_ = new QButtonGroup(this);
  auto* typeGrid = new QGridLayout(typeBox);
  auto addType = [&](int id, const char* label, int at) {
    auto* button = new QRadioButton(tr(label), typeBox);
    button->setObjectName(ControlName(id));
    types_->addButton(button, id);
    const int perColumn = 7;
    typeGrid->addWidget(button, at % perColumn, at / perColumn);
  };
  addType(kAllTypesButtonId, "All", 0);
  int at = 1;
  for (const SecurityTypeButton& type : SecurityTypeButtons()) addType(type.id, type.label, at++);

  auto* search = new QPushButton(tr("&Search"), this);
  search->setObjectName("search");
  search->setDefault(true);

  auto* criteria = new QGroupBox(tr("Search conditions"), this);
  auto* criteriaLayout = new QVBoxLayout(criteria);
  criteriaLayout->addLayout(conditions);
  criteriaLayout->addWidget(typeBox);
  auto* searchRow = new QHBoxLayout;
  searchRow->addStretch();
  searchRow->addWidget(search);
  criteriaLayout->addLayout(searchRow);
  criteriaLayout->addStretch();

  // The results.
  instruments_ = new QGroupBox(tr("Instruments"), this);
  instruments_->setObjectName("id454");
  model_ = new SearchResultsModel(*table_, this);
  list_ = new QTreeView(instruments_);
  list_->setObjectName("id347");
  list_->setAccessibleName(tr("Instruments found"));
  list_->setModel(model_);
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  list_->setAllColumnsShowFocus(true);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setSelectionMode(pickMode() ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
  list_->header()->setStretchLastSection(false);
  list_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  list_->header()->resizeSection(1, 70);
  list_->setMinimumSize(340, 220);
  list_->installEventFilter(new EnterFilter(list_, [this] { closeButton(); }));
  auto* listLayout = new QVBoxLayout(instruments_);
  listLayout->addWidget(list_);

  auto* detailsBox = new QGroupBox(tr("Details"), this);
  auto* detailsLayout = new QFormLayout(detailsBox);
  for (int i = 0; i < 7; ++i) {
    details_[i] = new QLineEdit(detailsBox);
    details_[i]->setObjectName(ControlName(kDetails[i].id));
    details_[i]->setReadOnly(true);
    auto* label = new QLabel(tr(kDetails[i].label), detailsBox);
    label->setBuddy(details_[i]);
    detailsLayout->addRow(label, details_[i]);
  }

  close_ = new QPushButton(this);
  close_->setObjectName("id1");
  auto* cancel = new QPushButton(tr("Cancel"), this);
  cancel->setObjectName("id2");
  cancel->setVisible(pickMode());

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(close_);
  buttons->addWidget(cancel);

  auto* grid = new QGridLayout(this);
  grid->addWidget(criteria, 0, 0, 2, 1);
  grid->addWidget(instruments_, 0, 1);
  grid->addWidget(detailsBox, 1, 1);
  grid->addLayout(buttons, 2, 0, 1, 2);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(0, 1);

  connect(search, &QPushButton::clicked, this, &SearchDialog::search);
  connect(close_, &QPushButton::clicked, this, &SearchDialog::closeButton);
  connect(cancel, &QPushButton::clicked, this, [this] {
    pick_ = {};
    reject();
  });
  connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &SearchDialog::selectionChanged);
  connect(list_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) { showDetails(current.row()); });

  fillLists();
  restoreLastSearch();
  selectionChanged();
}

void SearchDialog::fillLists() {
  const TSintable& table = *table_;
  FillCombo(exchange_, table.exchangeCount(), [&table](std::int32_t i) { return table.exchange(i); });
  FillCombo(currency_, table.currencyCount(), [&table](std::int32_t i) { return table.currency(i); });
}

void SearchDialog::restoreLastSearch() {
  const RememberedSearch& last = LastSearch();
  if (!last.exists) {
    types_->button(kAllTypesButtonId)->setChecked(true);
    name_->setFocus();
    return;
  }
  const SearchFields fields = FieldsOfCriteria(last.criteria, *table_);
  name_->setText(Text(fields.name));
  symbol_->setText(Text(fields.symbol));
  SelectText(exchange_, fields.exchange);
  SelectText(currency_, fields.currency);
  if (QAbstractButton* type = types_->button(fields.typeButton)) type->setChecked(true);
  const std::vector<std::int32_t> hits = SearchInstruments(last.criteria, *table_);
  showResults(hits, RowToReselect(last, static_cast<int>(hits.size())));
}

void SearchDialog::search() {
  const std::string name = name_->text().toStdString();
  const std::string symbol = symbol_->text().toStdString();
  const std::string exchange = exchange_->currentText().toStdString();
  const std::string currency = currency_->currentText().toStdString();
  SearchInput input;
  input.name = name;
  input.symbol = symbol;
  input.exchange = exchange;
  input.currency = currency;
  input.securityType = SecurityTypeOfButton(types_->checkedId());
  SearchCriteria criteria;
  SearchField focus = SearchField::kNone;
  if (ReadSearchCriteria(input, *table_, criteria, &focus) != 0) {
    QLineEdit* field = focus == SearchField::kSymbol ? symbol_ : name_;
    field->setFocus();
    field->selectAll();
    return;
  }
  ForgetLastSelection();
  showResults(SearchInstruments(criteria, *table_), 0);
}

void SearchDialog::showResults(const std::vector<std::int32_t>& hits, int row) {
  model_->setHits(hits);
  if (row < 0 || row >= model_->rowCount()) {
    showDetails(-1);
    selectionChanged();
    name_->setFocus();
    return;
  }
  const QModelIndex index = model_->index(row, 0);
  list_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  list_->scrollTo(index);
  showDetails(row);
  list_->setFocus();
}

void SearchDialog::showDetails(int row) {
  const SinInstrument* instrument = model_->instrumentAt(row);
  if (!instrument) {
    for (QLineEdit* field : details_) field->clear();
    return;
  }
  const InstrumentDetails d = DetailsOf(*instrument, *table_);
  const std::string* texts[7] = {&d.sincode, &d.name, &d.symbol, &d.exchange, &d.currency, &d.securityType,
                                 &d.startDate};
  for (int i = 0; i < 7; ++i) {
    details_[i]->setText(Text(*texts[i]));
    details_[i]->setCursorPosition(0);
  }
}

int SearchDialog::selectedCount() const { return static_cast<int>(list_->selectionModel()->selectedRows().size()); }

void SearchDialog::selectionChanged() {
  if (!pickMode()) {
    close_->setText(tr("&Close"));
    return;
  }
  const int selected = selectedCount();
  instruments_->setTitle(Text(SelectionCountText(selected)));
  close_->setText(QString::fromLatin1(PickButtonText(selected)));
}

void SearchDialog::closeButton() {
  if (!pickMode()) {
    accept();
    return;
  }
  const int selected = selectedCount();
  switch (PickOutcomeOf(selected)) {
    case PickOutcome::kNothing:
      pick_ = {};
      accept();
      break;
    case PickOutcome::kPickOne: {
      const int row = list_->selectionModel()->selectedRows().front().row();
      const SinInstrument* instrument = model_->instrumentAt(row);
      if (!instrument) return;
      const PickedInstrument picked = PickOf(*instrument);
      pick_ = {};
      pick_.selected = 1;
      pick_.name = picked.name;
      pick_.symbol = picked.symbol;
      pick_.startDate = picked.startDate;
      RememberLastSelection(row);
      accept();
      break;
    }
    case PickOutcome::kConfirmAdding:
      addSelected();
      break;
  }
}

void SearchDialog::addSelected() {
  // As with adding by hand, nothing happens for a format that takes no new instruments.
  if (!format_->addInstruments()) return;
  QModelIndexList rows = list_->selectionModel()->selectedRows();
  std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
  AddConfirmDialog confirm(static_cast<long>(rows.size()), AddConfirmAsksInterval(*format_), interval_, this);
  if (confirm.exec() != QDialog::Accepted) return;  // "Back"
  std::vector<FoundInstrument> found;
  found.reserve(static_cast<std::size_t>(rows.size()));
  for (const QModelIndex& index : rows) {
    if (const SinInstrument* instrument = model_->instrumentAt(index.row()))
      found.push_back({instrument->symbol.str(), instrument->name.str()});
  }
  addFoundInstruments(found, confirm.values(), *format_, *directory_);
  pick_ = {};
  pick_.selected = static_cast<int>(rows.size());
  pick_.added = true;
  accept();
}

void RunSearchDialog(Application& application, QWidget* parent) {
  SearchDialog dialog(application.programDirectory(), parent);
  dialog.exec();
}

CatalogPick RunSearchDialogToPick(Application& application, Format& format, Directory& directory, int interval,
                                  QWidget* parent) {
  SearchDialog dialog(application.programDirectory(), format, directory, interval, parent);
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.pick();
}

}  // namespace kvqt::ui
