#include "ui/data_manager_dialog.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSplitter>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

#include "app/model/directory.h"
#include "app/model/format.h"
#include "maintenance/data_manager.h"
#include "ui/edit_price_dialog.h"
#include "ui/goto_dialog.h"
#include "ui/price_chart.h"
#include "ui/price_record_model.h"
#include "ui/split_dialog.h"
#include "ui/dialog_controls.h"

namespace kvqt::ui {
namespace {

// The first tick after opening, which proposes an announced split.
constexpr int kFirstTickMs = 20;

QLineEdit* Field(const std::string& text, int id, int maxLength, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(ControlName(id));
  // Never shorter than what it shows, so an unchanged field reads back unchanged.
  edit->setMaxLength(std::max(maxLength, static_cast<int>(text.size())));
  edit->setText(QString::fromStdString(text));
  edit->setCursorPosition(0);
  return edit;
}

QLabel* Shown(const std::string& text, int id, QWidget* parent) {
  auto* label = new QLabel(QString::fromStdString(text), parent);
  label->setObjectName(ControlName(id));
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

}  // namespace

DataManagerDialog::DataManagerDialog(DataManager& manager, QWidget* parent) : QDialog(parent), manager_(manager) {
  setObjectName("KORV_DATAMANAGER");
  setWindowTitle(tr("Data Manager"));
  setModal(true);
  setSizeGripEnabled(true);

  auto* format = Shown(manager.format().name(), 266, this);
  format->setAccessibleName(tr("Format"));
  auto* directory = Shown(manager.directory().name(), 267, this);
  directory->setAccessibleName(tr("Directory"));
  const int nameLength = manager.nameLength() > 0 ? manager.nameLength() : static_cast<int>(kManagerNameLimit);
  name_ = Field(manager.nameText(), 101, nameLength, this);
  name_->setReadOnly(!manager.nameEditable());
  name_->setMinimumWidth(200);
  symbol_ = Field(manager.symbolText(), 279, static_cast<int>(kManagerSymbolLimit), this);
  symbol_->setMaximumWidth(90);
  factor_ = Field(manager.factorText(), 423, static_cast<int>(kManagerFactorLimit), this);
  factor_->setMaximumWidth(70);
  auto* nameLabel = new QLabel(tr("&Name:"), this);
  nameLabel->setBuddy(name_);
  auto* symbolLabel = new QLabel(tr("S&ymbol:"), this);
  symbolLabel->setBuddy(symbol_);
  auto* factorLabel = new QLabel(tr("F&actor:"), this);
  factorLabel->setBuddy(factor_);
  range_ = Shown("", 680, this);
  range_->setAccessibleName(tr("Range"));

  model_ = new PriceRecordModel(manager, this);
  list_ = new QTreeView(this);
  list_->setObjectName("id456");
  list_->setAccessibleName(tr("Prices"));
  list_->setModel(model_);
  list_->setRootIsDecorated(false);
  list_->setItemsExpandable(false);
  list_->setUniformRowHeights(true);
  list_->setAllColumnsShowFocus(true);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->header()->setStretchLastSection(true);
  list_->header()->setSectionsMovable(false);
  list_->setMinimumHeight(200);
  chart_ = new PriceChart(this);
  chart_->setRecords(&manager.records(), manager.kind());

  auto* splitter = new QSplitter(Qt::Vertical, this);
  splitter->addWidget(list_);
  splitter->addWidget(chart_);
  splitter->setChildrenCollapsible(false);
  splitter->setStretchFactor(0, 3);
  splitter->setStretchFactor(1, 2);
  prices_ = new QGroupBox(this);
  prices_->setObjectName("id455");
  auto* pricesLayout = new QVBoxLayout(prices_);
  pricesLayout->addWidget(splitter);

  auto* editButton = PlainButton(tr("&Edit..."), 342, this);
  auto* gotoButton = PlainButton(tr("&Goto..."), 374, this);
  auto* deleteButton = PlainButton(tr("Delete..."), 375, this);
  auto* splitButton = PlainButton(tr("Split,,,"), 186, this);
  recordButtons_ = {editButton, gotoButton, deleteButton, splitButton};
  auto* save = PlainButton(tr("&Save and Close"), 1, this);
  save->setDefault(true);
  auto* cancel = PlainButton(tr("Cancel"), 2, this);

  auto* fields = new QGridLayout;
  fields->addWidget(new QLabel(tr("Format:"), this), 0, 0);
  fields->addWidget(format, 0, 1, 1, 5);
  fields->addWidget(new QLabel(tr("Directory:"), this), 1, 0);
  fields->addWidget(directory, 1, 1, 1, 5);
  fields->addWidget(nameLabel, 2, 0);
  fields->addWidget(name_, 2, 1);
  fields->addWidget(symbolLabel, 2, 2);
  fields->addWidget(symbol_, 2, 3);
  fields->addWidget(factorLabel, 2, 4);
  fields->addWidget(factor_, 2, 5);
  fields->addWidget(new QLabel(tr("Range:"), this), 3, 0);
  fields->addWidget(range_, 3, 1, 1, 5);
  fields->setColumnStretch(1, 1);

  auto* side = new QVBoxLayout;
  for (QPushButton* button : recordButtons_) side->addWidget(button);
  side->addStretch();
  auto* middle = new QHBoxLayout;
  middle->addWidget(prices_, 1);
  middle->addLayout(side);
  auto* bottom = new QHBoxLayout;
  bottom->addStretch();
  bottom->addWidget(save);
  bottom->addWidget(cancel);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addLayout(middle, 1);
  layout->addLayout(bottom);

  connect(editButton, &QPushButton::clicked, this, &DataManagerDialog::edit);
  connect(gotoButton, &QPushButton::clicked, this, &DataManagerDialog::gotoDate);
  connect(deleteButton, &QPushButton::clicked, this, &DataManagerDialog::deleteRecords);
  connect(splitButton, &QPushButton::clicked, this, &DataManagerDialog::split);
  connect(save, &QPushButton::clicked, this, &DataManagerDialog::saveAndClose);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(list_, &QTreeView::doubleClicked, this, &DataManagerDialog::edit);
  connect(chart_, &PriceChart::recordClicked, this, [this](int k) { showRecord(k, true); });
  connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this] { chart_->setSelectedRecord(currentRecord()); });
  connect(list_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this] { chart_->setSelectedRecord(currentRecord()); });

  updateTexts();
  sizeColumns();
  // Room for the chart to show a jump in the prices.
  setMinimumSize(660, 600);
}

QSize DataManagerDialog::sizeHint() const { return QDialog::sizeHint().expandedTo(QSize(760, 660)); }

int DataManagerDialog::currentRecord() const {
  const QItemSelectionModel* selection = list_->selectionModel();
  const QModelIndex current = selection->currentIndex();
  if (current.isValid() && selection->isRowSelected(current.row(), QModelIndex())) return current.row() + 1;
  const QModelIndexList rows = selection->selectedRows();
  if (rows.isEmpty()) return 0;
  int lowest = rows.front().row();
  for (const QModelIndex& row : rows) lowest = std::min(lowest, row.row());
  return lowest + 1;
}

std::vector<int> DataManagerDialog::selectedRecords() const {
  std::vector<int> records;
  for (const QModelIndex& row : list_->selectionModel()->selectedRows()) records.push_back(row.row() + 1);
  std::sort(records.begin(), records.end());
  return records;
}

void DataManagerDialog::showRecord(int k, bool select) {
  if (k < 1 || k > manager_.count()) return;
  const QModelIndex index = model_->index(k - 1, 0);
  list_->selectionModel()->setCurrentIndex(
      index, select ? QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows : QItemSelectionModel::NoUpdate);
  list_->scrollTo(index, QAbstractItemView::EnsureVisible);
  chart_->setSelectedRecord(currentRecord());
}

void DataManagerDialog::updateTexts() {
  prices_->setTitle(QString::fromStdString(manager_.groupText()));
  range_->setText(QString::fromStdString(manager_.rangeText()));
  const bool enabled = manager_.recordsEnabled();
  list_->setEnabled(enabled);
  for (QPushButton* button : recordButtons_) button->setEnabled(enabled);
}

void DataManagerDialog::sizeColumns() {
  const PriceKind kind = manager_.kind();
  const auto widest = WidestRowTexts(kind, manager_.records());
  const auto titles = PriceColumnTitles(kind);
  const QFontMetrics rows(list_->font());
  const QFontMetrics header(list_->header()->font());
  // The cell's and the header section's margins.
  const int margin = 2 * list_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list_) + 12;
  for (int column = 0; column < kPriceColumns; ++column) {
    const std::size_t c = static_cast<std::size_t>(column);
    const int width = std::max({40, rows.horizontalAdvance(QString::fromStdString(widest[c])),
                                header.horizontalAdvance(QString::fromStdString(titles[c]))}) + margin;
    list_->header()->resizeSection(column, width);
    // Tick data has no open, high and low.
    list_->header()->setSectionHidden(column, PriceColumnHidden(kind, column));
  }
  // Wide enough for every column beside the scroll bar.
  int total = 0;
  for (int column = 0; column < kPriceColumns; ++column)
    if (!list_->header()->isSectionHidden(column)) total += list_->header()->sectionSize(column);
  list_->setMinimumWidth(total + list_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list_) +
                         2 * list_->frameWidth() + 4);
}

void DataManagerDialog::refill() {
  model_->refill();
  updateTexts();
  sizeColumns();
  chart_->redraw();
  chart_->setSelectedRecord(0);
}

void DataManagerDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous() || ticked_) return;
  // With an announced split its first record is selected; otherwise the end
  // of the data shows (unless a row was chosen before the window showed).
  if (currentRecord() == 0) showRecord(manager_.openingRecord(), manager_.announcedSplit() != nullptr);
  else list_->scrollTo(list_->currentIndex(), QAbstractItemView::PositionAtCenter);
  ticked_ = true;
  QTimer::singleShot(kFirstTickMs, this, &DataManagerDialog::firstTick);
}

void DataManagerDialog::firstTick() {
  const AnnouncedSplit* announced = manager_.announcedSplit();
  if (!announced || manager_.splitProposed()) return;
  // Nothing before the split date: nothing to split.
  if (manager_.count() < 1 || announced->date.value() <= manager_.record(1).date.value()) {
    reject();
    return;
  }
  runSplit(manager_.openingRecord());
  manager_.saveAndClose(name_->text().toStdString(), symbol_->text().toStdString(), factor_->text().toStdString());
  done(2);
}

void DataManagerDialog::edit() {
  const int k = currentRecord();
  if (k < 1) return;
  EditPriceDialog dialog(manager_, k, this);
  if (dialog.exec() != QDialog::Accepted) return;
  model_->recordChanged(k);
  showRecord(k, true);
  chart_->redraw();
}

void DataManagerDialog::gotoDate() {
  if (manager_.count() < 1) return;
  GotoDialog dialog(manager_, currentRecord(), this);
  if (dialog.exec() != QDialog::Accepted) return;
  showRecord(dialog.chosen(), true);
}

void DataManagerDialog::deleteRecords() {
  const std::vector<int> selected = selectedRecords();
  if (selected.empty()) return;
  const int before = manager_.count();
  const int scrollTo = manager_.deleteRecords(selected);
  if (manager_.count() == before) return;
  refill();
  showRecord(scrollTo, false);
}

void DataManagerDialog::split() {
  const int k = currentRecord();
  if (k < 1) return;
  if (runSplit(k) == QDialog::Accepted && !manager_.announcedSplit()) showRecord(k, true);
}

int DataManagerDialog::runSplit(int k) {
  SplitDialog dialog(manager_, k, this);
  // The chart shows where the proposed split ends while the user decides.
  chart_->setSplitRecord(dialog.proposal().endIndex + 1);
  const int result = dialog.exec();
  if (result == QDialog::Accepted) {
    refill();
  } else {
    chart_->setSplitRecord(0);
  }
  return result;
}

void DataManagerDialog::saveAndClose() {
  manager_.saveAndClose(name_->text().toStdString(), symbol_->text().toStdString(), factor_->text().toStdString());
  accept();
}

void DataManagerWindow::run(DataManager& manager) {
  QWidget* parent = QApplication::activeModalWidget();
  if (!parent) parent = QApplication::activeWindow();
  DataManagerDialog dialog(manager, parent);
  dialog.exec();
}

ScopedDataManagerWindow::ScopedDataManagerWindow(bool install) : installed_(install) {
  if (installed_) previous_ = setDataManagerView(&window_);
}

ScopedDataManagerWindow::~ScopedDataManagerWindow() {
  if (installed_) setDataManagerView(previous_);
}

}  // namespace kvqt::ui
