#include "ui/file_manager_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>
#include <iterator>

#include "app/application.h"
#include "app/core/messages.h"
#include "app/model/datafile.h"
#include "app/model/directory.h"
#include "app/model/formats.h"
#include "app/model/text_field.h"
#include "datetime/date_time.h"
#include "maintenance/add_instrument.h"
#include "maintenance/file_manager_actions.h"
#include "maintenance/file_manager_fields.h"
#include "maintenance/file_manager_list.h"
#include "maintenance/list_editor.h"
#include "maintenance/new_instrument.h"
#include "maintenance/print_pages.h"
#include "maintenance/start_date_text.h"
#include "ui/directory_editor_dialog.h"
#include "ui/download_dialog.h"
#include "ui/find_dialog.h"
#include "ui/instrument_list_model.h"
#include "ui/page_printer.h"
#include "ui/search_dialog.h"
#include "ui/dialog_controls.h"

namespace kvqt::ui {
namespace {

QLineEdit* Field(int id, QWidget* parent) {
  auto* field = new QLineEdit(parent);
  field->setObjectName(ControlName(id));
  return field;
}

}  // namespace

FileManagerDialog::FileManagerDialog(Application& application, QWidget* parent)
    : QDialog(parent), application_(application), choices_(FileManagerFormats(application.formats())) {
  setObjectName("KORV_FILEMANAGER");
  setWindowTitle(tr("File Manager"));
  setModal(true);

  format_ = new QComboBox(this);
  format_->setObjectName("id266");
  for (const Format* f : choices_) format_->addItem(QString::fromStdString(f->name()));
  auto* formatLabel = BuddyLabel(tr("For&mat:"), format_, this);

  directory_ = new QComboBox(this);
  directory_->setObjectName("id348");
  directory_->setMinimumContentsLength(36);
  directory_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  auto* directoryLabel = BuddyLabel(tr("Director&y:"), directory_, this);
  auto* dirEditor = PlainButton(tr("Dir &Editor..."), 346, this);

  model_ = new InstrumentListModel(this);
  list_ = new QTreeView(this);
  list_->setObjectName("id347");
  list_->setAccessibleName(tr("Instruments"));
  list_->setModel(model_);
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  list_->setAllColumnsShowFocus(true);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  QHeaderView* header = list_->header();
  header->setSectionsClickable(true);
  header->setSortIndicatorShown(true);
  header->setSortIndicator(kColumnName, Qt::AscendingOrder);
  header->setStretchLastSection(false);
  // The name takes what the other three, sized to their texts, leave.
  header->setMinimumSectionSize(80);
  header->setSectionResizeMode(kColumnName, QHeaderView::Stretch);
  for (int column : {kColumnSymbol, kColumnFrom, kColumnTo})
    header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
  list_->setMinimumSize(200 + 3 * 80 + 40, 220);
  counter_ = new QLabel(this);
  counter_->setObjectName("id660");

  auto* findButton = PlainButton(tr("&Find..."), 468, this);
  open_ = PlainButton(tr("&Open"), 340, this);
  delete_ = PlainButton(tr("Delete"), 351, this);
  auto* printButton = PlainButton(tr("&Print"), 171, this);
  auto* downloadButton = PlainButton(tr("&Download..."), 341, this);
  search_ = PlainButton(tr("&Search in catalog..."), 391, this);
  new_ = PlainButton(tr("New"), 465, this);
  add_ = PlainButton(tr("&Add instrument"), 349, this);
  auto* close = PlainButton(tr("&Close"), 1, this);
  close->setDefault(true);

  name_ = Field(101, this);
  name_->setMinimumWidth(240);
  nameLabel_ = BuddyLabel(tr("&Name:"), name_, this);
  symbol_ = Field(279, this);
  symbol_->setMaxLength(static_cast<int>(kSymbolSize));
  symbolLabel_ = BuddyLabel(tr("Sym&bol:"), symbol_, this);
  startDate_ = Field(172, this);
  startDate_->setText(QString::fromStdString(DefaultStartDateText()));
  startDateLabel_ = BuddyLabel(tr("Start da&te:"), startDate_, this);
  intervalField_ = Field(681, this);
  intervalField_->setMaxLength(2);
  intervalLabel_ = BuddyLabel(tr("&Interval:"), intervalField_, this);
  factor_ = Field(423, this);
  factor_->setText(QStringLiteral("1.00"));
  factor_->setMaxLength(20);
  factorLabel_ = BuddyLabel(tr("Facto&r:"), factor_, this);
  // Short texts in short fields.
  const int digit = fontMetrics().horizontalAdvance(QLatin1Char('0'));
  symbol_->setFixedWidth(digit * 12);
  factor_->setFixedWidth(digit * 12);
  startDate_->setMaximumWidth(digit * 14);
  intervalField_->setMaximumWidth(digit * 6);
  for (QLineEdit* field : {name_, symbol_, startDate_, intervalField_, factor_}) field->installEventFilter(this);

  auto* top = new QGridLayout;
  top->addWidget(formatLabel, 0, 0);
  top->addWidget(format_, 0, 1, 1, 2);
  top->addWidget(directoryLabel, 1, 0);
  top->addWidget(directory_, 1, 1);
  top->addWidget(dirEditor, 1, 2);
  top->setColumnStretch(1, 1);

  auto* commands = new QVBoxLayout;
  for (QPushButton* button : {findButton, open_, delete_, printButton, downloadButton, search_})
    commands->addWidget(button);
  commands->addStretch();

  auto* listColumn = new QVBoxLayout;
  listColumn->addWidget(list_, 1);
  listColumn->addWidget(counter_);
  auto* middle = new QHBoxLayout;
  middle->addLayout(listColumn, 1);
  middle->addLayout(commands);

  auto* instrument = new QGroupBox(tr("New instrument"), this);
  auto* fields = new QGridLayout(instrument);
  fields->addWidget(nameLabel_, 0, 0);
  fields->addWidget(name_, 0, 1);
  fields->addWidget(symbolLabel_, 0, 2);
  fields->addWidget(symbol_, 0, 3);
  fields->addWidget(startDateLabel_, 1, 0);
  auto* dateRow = new QHBoxLayout;
  dateRow->addWidget(startDate_);
  dateRow->addSpacing(12);
  dateRow->addWidget(intervalLabel_);
  dateRow->addWidget(intervalField_);
  dateRow->addStretch();
  fields->addLayout(dateRow, 1, 1);
  fields->addWidget(factorLabel_, 1, 2);
  fields->addWidget(factor_, 1, 3);
  auto* instrumentButtons = new QHBoxLayout;
  instrumentButtons->addStretch();
  instrumentButtons->addWidget(new_);
  instrumentButtons->addWidget(add_);
  fields->addLayout(instrumentButtons, 2, 0, 1, 4);
  fields->setColumnStretch(1, 1);

  auto* bottom = new QHBoxLayout;
  bottom->addStretch();
  bottom->addWidget(close);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(middle, 1);
  layout->addWidget(instrument);
  layout->addLayout(bottom);

  // Top to bottom, the list's commands before the new instrument's fields.
  QWidget* order[] = {format_, directory_, dirEditor, list_, findButton, open_, delete_, printButton,
                      downloadButton, search_, name_, symbol_, startDate_, intervalField_, factor_,
                      new_, add_, close};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

  connect(dirEditor, &QPushButton::clicked, this, &FileManagerDialog::editDirectories);
  connect(header, &QHeaderView::sectionClicked, this, &FileManagerDialog::sortBy);
  connect(list_, &QTreeView::doubleClicked, this, &FileManagerDialog::openRow);
  connect(findButton, &QPushButton::clicked, this, &FileManagerDialog::find);
  connect(open_, &QPushButton::clicked, this, &FileManagerDialog::open);
  connect(delete_, &QPushButton::clicked, this, &FileManagerDialog::remove);
  connect(printButton, &QPushButton::clicked, this, &FileManagerDialog::print);
  connect(downloadButton, &QPushButton::clicked, this, &FileManagerDialog::download);
  connect(search_, &QPushButton::clicked, this, &FileManagerDialog::searchCatalog);
  connect(add_, &QPushButton::clicked, this, &FileManagerDialog::addInstrument);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);

  // The current format, else the first one offered.
  Formats& formats = application_.formats();
  const auto current = std::find(choices_.begin(), choices_.end(), formats.current());
  format_->setCurrentIndex(choices_.empty() ? -1 : current == choices_.end() ? 0 : int(current - choices_.begin()));
  connect(format_, &QComboBox::currentIndexChanged, this, &FileManagerDialog::chooseFormat);
  connect(directory_, &QComboBox::currentIndexChanged, this, &FileManagerDialog::chooseDirectory);
  showFormat();
}

Format* FileManagerDialog::shownFormat() const {
  const int index = format_->currentIndex();
  return index < 0 || index >= static_cast<int>(choices_.size()) ? nullptr : choices_[index];
}

Directory* FileManagerDialog::shownDirectory() const {
  const Format* format = shownFormat();
  return format ? format->directoryAt(directory_->currentIndex()) : nullptr;
}

void FileManagerDialog::chooseFormat(int) {
  Formats& formats = application_.formats();
  if (Format* format = shownFormat()) formats.setCurrentIndex(formats.indexOf(format));
  showFormat();
}

void FileManagerDialog::chooseDirectory(int index) {
  if (Format* format = shownFormat()) format->setCurDi(index);
  refill(0);
}

void FileManagerDialog::showFormat() {
  setFieldAvailability();
  refillDirectories();
}

void FileManagerDialog::refillDirectories() {
  {
    const QSignalBlocker blocker(directory_);
    directory_->clear();
    if (const Format* format = shownFormat()) {
      for (int i = 0; i < format->directoryCount(); ++i)
        directory_->addItem(QString::fromStdString(format->directoryAt(i)->name()));
      const int current = format->curDi();
      directory_->setCurrentIndex(current >= 0 && current < format->directoryCount() ? current : -1);
    }
  }
  refill(0);
}

void FileManagerDialog::setFieldAvailability() {
  const FileManagerFields fields = FileManagerFieldsFor(shownFormat());
  for (QPushButton* button : {delete_, new_, search_, add_}) button->setEnabled(fields.instrumentButtons);
  const struct {
    QLineEdit* field;
    QLabel* label;
    bool enabled;
  } allowed[] = {{name_, nameLabel_, fields.name},
                 {symbol_, symbolLabel_, fields.symbol},
                 {startDate_, startDateLabel_, fields.startDate},
                 {intervalField_, intervalLabel_, fields.interval},
                 {factor_, factorLabel_, fields.factor}};
  for (const auto& a : allowed) {
    a.field->setEnabled(a.enabled);
    a.label->setEnabled(a.enabled);
  }
  canOpen_ = fields.open;
  open_->setEnabled(fields.open);
  symbol_->setMaxLength(fields.symbolLength);
  name_->setReadOnly(fields.nameReadOnly);
  clearNameLimit();
}

void FileManagerDialog::clearNameLimit() {
  const FileManagerFields fields = FileManagerFieldsFor(shownFormat());
  // A format without names still shows a name taken from the catalogue.
  name_->setMaxLength(fields.nameReadOnly ? static_cast<int>(kInstrumentNameSize) : fields.nameLength);
}

void FileManagerDialog::setName(const std::string& name) {
  // A name from the catalogue may be longer than the format keeps: the field
  // holds it whole, so that adding asks to shorten it.
  const QString text = QString::fromStdString(name);
  if (text.size() > name_->maxLength()) name_->setMaxLength(static_cast<int>(text.size()));
  name_->setText(text);
}

void FileManagerDialog::refill(int currentRow) {
  Format* format = shownFormat();
  Directory* directory = shownDirectory();
  const bool read = directory && RefreshListDirectory(*directory);
  model_->fill(read ? directory : nullptr, format && format->intraday());
  counter_->setText(QString::fromStdString(InstrumentCounterText(model_->rows().count())));
  if (read && format->intradayFields() && directory->size() > 0 && directory->at(0)->interval() > 0)
    intervalField_->setText(QString::number(directory->at(0)->interval()));
  const int count = model_->rows().count();
  if (currentRow >= 0 && count > 0) selectRow(std::min(currentRow, count - 1));
}

void FileManagerDialog::selectRow(int row) {
  model_->fetchUpTo(row);
  const QModelIndex index = model_->index(row, 0);
  list_->selectionModel()->setCurrentIndex(
      index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  list_->scrollTo(index);
}

std::vector<int> FileManagerDialog::selectedRows() const {
  std::vector<int> rows;
  for (const QModelIndex& index : list_->selectionModel()->selectedRows()) rows.push_back(index.row());
  std::sort(rows.begin(), rows.end());
  return rows;
}

int FileManagerDialog::selectedRow() const {
  const QModelIndex current = list_->currentIndex();
  if (current.isValid() && list_->selectionModel()->isRowSelected(current.row(), QModelIndex())) return current.row();
  const std::vector<int> rows = selectedRows();
  return rows.empty() ? -1 : rows.front();
}

void FileManagerDialog::detachList() {
  model_->fill(nullptr, false);
}

void FileManagerDialog::editDirectories() {
  detachList();
  {
    DirectoryEditorDialog editor(application_.formats(), this);
    editor.exec();
  }
  // The editor may have made another format current.
  const auto current = std::find(choices_.begin(), choices_.end(), application_.formats().current());
  if (current != choices_.end()) {
    const QSignalBlocker blocker(format_);
    format_->setCurrentIndex(int(current - choices_.begin()));
  }
  showFormat();
}

void FileManagerDialog::sortBy(int column) {
  model_->sortBy(column);
  list_->header()->setSortIndicator(column, Qt::AscendingOrder);
  if (list_->currentIndex().isValid()) list_->scrollTo(list_->currentIndex());
}

void FileManagerDialog::find() {
  const std::optional<std::string> text = FindDialog::Ask(finder_.lastText(), this);
  if (!text) return;
  const FileManagerRows& rows = model_->rows();
  const int row = finder_.find(*text, selectedRow(), [&rows](int r) -> const Datafile* { return rows.at(r); });
  if (row < 0) {
    userMessages().show(kInstrumentNotFoundText, kFindInstrumentCaption, MessageButton::Ok);
    return;
  }
  selectRow(row);
}

void FileManagerDialog::open() {
  Format* format = shownFormat();
  Directory* directory = shownDirectory();
  if (!format || !directory) {
    message(kSelectDirectoryText);
    return;
  }
  const int row = selectedRow();
  Datafile* datafile = model_->rows().at(row);
  if (!datafile) return;
  const int position = directory->indexOf(datafile);
  Datafile* shown = OpenInstrument(*format, *directory, *datafile);
  // The name (or symbol) may have changed: sorted again without reading the
  // master, which the data manager has written already.
  model_->fill(directory, format->intraday());
  counter_->setText(QString::fromStdString(InstrumentCounterText(model_->rows().count())));
  const int again = shown ? model_->rows().rowOf(shown) : model_->rows().rowOfPosition(position);
  selectRow(again >= 0 ? again : std::min(row, model_->rows().count() - 1));
}

void FileManagerDialog::openRow(const QModelIndex& index) {
  if (!canOpen_ || !index.isValid()) return;
  selectRow(index.row());
  open();
}

void FileManagerDialog::remove() {
  Format* format = shownFormat();
  Directory* directory = shownDirectory();
  if (!format || !directory) {
    message(kSelectDirectoryText);
    return;
  }
  const std::vector<int> rows = selectedRows();
  if (rows.empty()) return;
  std::vector<Datafile*> datafiles;
  for (int row : rows) datafiles.push_back(model_->rows().at(row));
  DeleteInstruments(*format, *directory, datafiles);
  refill(-1);
  // The row at the first deleted place, or the last row, comes into view.
  const int row = std::min(rows.front(), model_->rows().count() - 1);
  if (row >= 0) {
    model_->fetchUpTo(row);
    const QModelIndex index = model_->index(row, 0);
    list_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    list_->scrollTo(index);
  }
}

void FileManagerDialog::print() {
  const Format* format = shownFormat();
  const Directory* directory = shownDirectory();
  if (!format || !directory) {
    message(kSelectDirectoryText);
    return;
  }
  const DateTime now = DateTime::Now();
  PrintWithDialog(this, QStringLiteral("KORV Print Directory"), [format, directory, now](int lines) {
    return ComposeDirectoryPrint(*format, *directory, lines, now);
  });
}

void FileManagerDialog::download() {
  detachList();
  RunDownloadDialog(application_, this);
  refillDirectories();
}

void FileManagerDialog::searchCatalog() {
  Format* format = shownFormat();
  Directory* directory = shownDirectory();
  if (!format || !format->addInstruments()) return;
  if (!directory) {
    message(kSelectDirectoryText);
    return;
  }
  // The interval shown, else the one last added with, else the default.
  int interval = ParseIntervalText(intervalField_->text().toStdString());
  if (interval < 1 || interval > 60) interval = interval_ > 0 ? interval_ : kDefaultIntradayInterval;
  const CatalogPick pick = RunSearchDialogToPick(application_, *format, *directory, interval, this);
  if (pick.added) {
    refill(selectedRow());
    name_->clear();
    clearNameLimit();
    symbol_->clear();
  } else if (pick.selected == 1) {
    setName(pick.name);
    symbol_->setText(QString::fromStdString(pick.symbol));
  }
  name_->setFocus();
}

void FileManagerDialog::addInstrument() {
  Format* format = shownFormat();
  if (!format) return;
  const std::string name = name_->text().toStdString();
  const std::string symbol = symbol_->text().toStdString();
  const std::string start = startDate_->text().toStdString();
  const std::string factor = factor_->text().toStdString();
  const std::string interval = intervalField_->text().toStdString();
  const AddInstrumentResult added = kvqt::addInstrument({name, symbol, start, factor, interval}, *format,
                                                        shownDirectory());
  if (added.result == kAddNotSupported) return;
  if (added.writeBackName) {
    clearNameLimit();
    name_->setText(QString::fromStdString(added.name));
  }
  if (added.rememberInterval) interval_ = added.interval;
  QLineEdit* focus = name_;
  if (added.result == kInstrumentAdded) {
    const std::string addedSymbol = added.datafile ? added.datafile->symbol() : symbol;
    refill(-1);
    const int row = model_->rows().rowOfSymbol(addedSymbol);
    if (row >= 0) selectRow(row);
    name_->clear();
    symbol_->clear();
  } else if (added.result == kAddRefused) {
    switch (added.field) {
      case InstrumentField::kSymbol: focus = symbol_; break;
      case InstrumentField::kStartDate: focus = startDate_; break;
      case InstrumentField::kFactor: focus = factor_; break;
      case InstrumentField::kInterval: focus = intervalField_; break;
      default: break;
    }
  }
  if (!focus->isEnabled()) focus = symbol_;
  focus->setFocus();
}

bool FileManagerDialog::eventFilter(QObject* watched, QEvent* event) {
  // Enter in a field of the new instrument adds it rather than closing.
  if (event->type() == QEvent::KeyPress && qobject_cast<QLineEdit*>(watched)) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      if (add_->isEnabled()) addInstrument();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void RunFileManager(Application& application, QWidget* parent) {
  FileManagerDialog dialog(application, parent);
  dialog.exec();
}

}  // namespace kvqt::ui
