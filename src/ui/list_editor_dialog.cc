#include "ui/list_editor_dialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

#include "app/model/formats.h"
#include "datetime/date_time.h"
#include "maintenance/directory_editor.h"
#include "maintenance/list_editor.h"
#include "maintenance/list_selection.h"
#include "maintenance/print_pages.h"
#include "ui/add_directory_dialog.h"
#include "ui/add_list_dialog.h"
#include "ui/instrument_selection_model.h"
#include "ui/page_printer.h"

namespace kvqt::ui {
namespace {

QPushButton* Button(const QString& text, int id, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QString("id%1").arg(id));
  return button;
}

}  // namespace

ListEditorDialog::ListEditorDialog(Formats& formats, QWidget* parent)
    : QDialog(parent), formats_(formats), choices_(DirectoryFormats(formats)) {
  setObjectName("KORV_LIST_EDITOR");
  setWindowTitle(tr("List Editor"));
  setModal(true);

  format_ = new QComboBox(this);
  format_->setObjectName("id266");
  for (const Format* f : choices_) format_->addItem(QString::fromStdString(f->name()));
  auto* formatLabel = new QLabel(tr("&Format:"), this);
  formatLabel->setBuddy(format_);

  list_ = new QComboBox(this);
  list_->setObjectName("id194");
  list_->setMinimumContentsLength(24);
  auto* listLabel = new QLabel(tr("&List:"), this);
  listLabel->setBuddy(list_);
  auto* addList = Button(tr("&Add..."), 278, this);
  auto* deleteList = Button(tr("Delete"), 265, this);
  deleteList->setAccessibleName(tr("Delete list"));
  auto* print = Button(tr("&Print..."), 171, this);

  directories_ = new QListWidget(this);
  directories_->setObjectName("id267");
  directories_->setMinimumWidth(260);
  auto* directoriesLabel = new QLabel(tr("Di&rectories:"), this);
  directoriesLabel->setBuddy(directories_);
  auto* addDirectory = Button(tr("A&dd..."), 275, this);
  auto* deleteDirectory = Button(tr("Delete"), 276, this);
  deleteDirectory->setAccessibleName(tr("Delete directory"));

  model_ = new InstrumentSelectionModel(this);
  instruments_ = new QTreeView(this);
  instruments_->setObjectName("id279");
  instruments_->setModel(model_);
  instruments_->setRootIsDecorated(false);
  instruments_->setUniformRowHeights(true);
  instruments_->setAllColumnsShowFocus(true);
  instruments_->header()->setStretchLastSection(false);
  instruments_->header()->resizeSection(0, 200);
  instruments_->header()->resizeSection(1, 80);
  instruments_->setMinimumWidth(300);
  instruments_->installEventFilter(this);
  counter_ = new QLabel(this);
  counter_->setObjectName("counter");
  counter_->setBuddy(instruments_);

  modes_ = new QButtonGroup(this);
  auto* modeBox = new QHBoxLayout;
  const struct {
    const char* text;
    int id;
    int mode;
  } modeButtons[] = {{"All", 357, 1}, {"Selection", 358, 2}, {"None", 356, 0}};
  for (const auto& m : modeButtons) {
    auto* button = new QRadioButton(tr(m.text), this);
    button->setObjectName(QString("id%1").arg(m.id));
    modes_->addButton(button, m.mode);
    modeBox->addWidget(button);
  }
  modeBox->addStretch();

  auto* done = Button(tr("&Done"), 1, this);
  done->setDefault(true);

  auto* listRow = new QHBoxLayout;
  listRow->addWidget(listLabel);
  listRow->addWidget(list_, 1);
  listRow->addWidget(addList);
  listRow->addWidget(deleteList);
  listRow->addWidget(print);
  auto* directoryButtons = new QHBoxLayout;
  directoryButtons->addWidget(addDirectory);
  directoryButtons->addWidget(deleteDirectory);
  directoryButtons->addStretch();
  auto* bottom = new QHBoxLayout;
  bottom->addStretch();
  bottom->addWidget(done);

  auto* grid = new QGridLayout(this);
  grid->addWidget(formatLabel, 0, 0);
  grid->addWidget(format_, 0, 1, 1, 2);
  grid->addLayout(listRow, 1, 0, 1, 3);
  grid->addWidget(directoriesLabel, 2, 0, 1, 2);
  grid->addWidget(counter_, 2, 2);
  grid->addWidget(directories_, 3, 0, 1, 2);
  grid->addWidget(instruments_, 3, 2);
  grid->addLayout(directoryButtons, 4, 0, 1, 2);
  grid->addLayout(modeBox, 4, 2);
  grid->addLayout(bottom, 5, 0, 1, 3);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(2, 1);
  grid->setRowStretch(3, 1);

  connect(addList, &QPushButton::clicked, this, &ListEditorDialog::addList);
  connect(deleteList, &QPushButton::clicked, this, &ListEditorDialog::deleteList);
  connect(print, &QPushButton::clicked, this, &ListEditorDialog::printList);
  connect(addDirectory, &QPushButton::clicked, this, &ListEditorDialog::addDirectory);
  connect(deleteDirectory, &QPushButton::clicked, this, &ListEditorDialog::deleteDirectory);
  connect(done, &QPushButton::clicked, this, &QDialog::accept);
  connect(modes_, &QButtonGroup::idClicked, this, &ListEditorDialog::setMode);
  connect(instruments_, &QTreeView::clicked, this, &ListEditorDialog::clickInstrument);

  // The current format first, else the first one offered.
  const auto current = std::find(choices_.begin(), choices_.end(), formats_.current());
  format_->setCurrentIndex(choices_.empty() ? -1 : current == choices_.end() ? 0 : int(current - choices_.begin()));
  connect(format_, &QComboBox::currentIndexChanged, this, &ListEditorDialog::chooseFormat);
  connect(list_, &QComboBox::currentIndexChanged, this, &ListEditorDialog::chooseList);
  connect(directories_, &QListWidget::currentRowChanged, this, &ListEditorDialog::chooseDirectory);
  refillLists();
}

Format* ListEditorDialog::shownFormat() const {
  const int index = format_->currentIndex();
  return index < 0 || index >= static_cast<int>(choices_.size()) ? nullptr : choices_[index];
}

List* ListEditorDialog::shownList() const {
  const Format* format = shownFormat();
  return format ? format->listAt(list_->currentIndex()) : nullptr;
}

Directory* ListEditorDialog::shownDirectory() const {
  const List* list = shownList();
  return list ? list->directoryAt(directories_->currentRow()) : nullptr;
}

void ListEditorDialog::chooseFormat(int) {
  if (Format* format = shownFormat()) formats_.setCurrentIndex(formats_.indexOf(format));
  refillLists();
}

void ListEditorDialog::chooseList(int index) {
  if (Format* format = shownFormat()) format->setCurLi(index);
  refillDirectories();
}

void ListEditorDialog::chooseDirectory(int row) {
  if (List* list = shownList()) list->setCurDir(row);
  refillInstruments();
}

void ListEditorDialog::refillLists() {
  {
    const QSignalBlocker blocker(list_);
    list_->clear();
    if (const Format* format = shownFormat()) {
      for (int i = 0; i < format->listCount(); ++i) list_->addItem(QString::fromStdString(format->listAt(i)->name()));
      list_->setCurrentIndex(format->curLi() < format->listCount() ? format->curLi() : -1);
    }
  }
  refillDirectories();
}

void ListEditorDialog::refillDirectories() {
  {
    const QSignalBlocker blocker(directories_);
    directories_->clear();
    if (const List* list = shownList()) {
      for (int i = 0; i < list->directoryCount(); ++i)
        directories_->addItem(QString::fromStdString(list->directoryAt(i)->name()));
      if (list->curDir() >= 0 && list->curDir() < list->directoryCount()) directories_->setCurrentRow(list->curDir());
    }
  }
  refillInstruments();
}

void ListEditorDialog::refillInstruments() {
  Directory* directory = shownDirectory();
  if (directory) RefreshListDirectory(*directory);
  model_->setDirectory(directory);
  if (directory && directory->size() > 0) instruments_->setCurrentIndex(model_->index(0, 0));
  for (QAbstractButton* button : modes_->buttons()) button->setEnabled(directory != nullptr);
  if (QAbstractButton* mode = directory ? modes_->button(directory->selectionMode()) : nullptr) {
    mode->setChecked(true);
  } else if (QAbstractButton* checked = modes_->checkedButton()) {
    modes_->setExclusive(false);
    checked->setChecked(false);
    modes_->setExclusive(true);
  }
  counter_->setText(directory ? QString::fromStdString(SelectionCounterText(*directory)) : tr("Instruments"));
}

void ListEditorDialog::selectionChanged() {
  model_->selectionChanged();
  if (const Directory* directory = shownDirectory())
    counter_->setText(QString::fromStdString(SelectionCounterText(*directory)));
}

void ListEditorDialog::addList() {
  Format* format = shownFormat();
  if (!format) return;
  const std::string name = AddListDialog::Ask(this);
  if (AddEditorList(name, formats_, *format)) refillLists();
}

void ListEditorDialog::deleteList() {
  Format* format = shownFormat();
  if (!format) return;
  if (RemoveEditorList(*format, list_->currentIndex())) refillLists();
}

void ListEditorDialog::printList() {
  const Format* format = shownFormat();
  const List* list = shownList();
  if (!format || !list) return;
  const DateTime now = DateTime::Now();
  PrintWithDialog(this, QStringLiteral("KORV Print List"),
                  [format, list, now](int lines) { return ComposeListPrint(*format, *list, lines, now); });
}

void ListEditorDialog::addDirectory() {
  Format* format = shownFormat();
  List* list = shownList();
  if (!format || !ListChosen(list)) return;
  const std::string path = AddDirectoryDialog::Ask(*format, this);
  if (path.empty()) return;
  if (AddEditorListDirectory(path, formats_, *format, *list)) refillDirectories();
}

void ListEditorDialog::deleteDirectory() {
  List* list = shownList();
  if (!list) {
    ListChosen(list);
    return;
  }
  const QListWidgetItem* item = directories_->currentItem();
  const int row = item && item->isSelected() ? directories_->row(item) : -1;
  if (RemoveEditorListDirectory(*list, row)) refillDirectories();
}

void ListEditorDialog::setMode(int mode) {
  Directory* directory = shownDirectory();
  if (!directory) return;
  SetSelectionMode(*directory, mode);
  refillInstruments();
}

void ListEditorDialog::clickInstrument(const QModelIndex& index) {
  Directory* directory = shownDirectory();
  if (!directory || !index.isValid()) return;
  ClickSelectionRow(*directory, index.row());
  selectionChanged();
}

bool ListEditorDialog::eventFilter(QObject* watched, QEvent* event) {
  Directory* directory = shownDirectory();
  if (watched != instruments_ || event->type() != QEvent::KeyPress || !directory ||
      directory->selectionMode() != Directory::kSelectStored)
    return QDialog::eventFilter(watched, event);
  SelectionKey key;
  switch (static_cast<QKeyEvent*>(event)->key()) {
    case Qt::Key_Space: key = SelectionKey::kSpace; break;
    case Qt::Key_Up: key = SelectionKey::kUp; break;
    case Qt::Key_Down: key = SelectionKey::kDown; break;
    default: return QDialog::eventFilter(watched, event);
  }
  const int row = PressSelectionKey(*directory, instruments_->currentIndex().row(), key);
  if (row >= 0) instruments_->setCurrentIndex(model_->index(row, 0));
  selectionChanged();
  return true;
}

}  // namespace kvqt::ui
