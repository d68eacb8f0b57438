#include "ui/convert_dialog.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

#include "app/application.h"
#include "app/model/formats.h"
#include "app/runner/window_position.h"
#include "automation/task_line_writer.h"
#include "maintenance/convert_choices.h"
#include "maintenance/list_editor.h"
#include "ui/datafile_list_model.h"
#include "ui/directory_editor_dialog.h"
#include "ui/progress_dialog.h"
#include "ui/dialog_controls.h"

namespace kvqt::ui {
namespace {

// The rows of a symbol list that the "selected only" steps take.
class ViewSelection : public ListSelection {
 public:
  explicit ViewSelection(const QListView* view) : view_(view) {}
  bool isSelected(int index) const override {
    return view_->selectionModel() && view_->selectionModel()->isRowSelected(index, QModelIndex());
  }

 private:
  const QListView* view_;
};

}  // namespace

ConvertDialog::ConvertDialog(Formats& formats, bool append, QWidget* parent)
    : QDialog(parent), formats_(formats), append_(append) {
  setObjectName(append ? "KORV_APPEND" : "KORV_CONVERT");
  setWindowTitle(append ? tr("Append") : tr("Convert"));
  setModal(true);

  source_.formats = ConvertSourceFormats(formats);
  destination_.formats = ConvertDestinationFormats(formats);
  const struct {
    Side* side;
    int formatId, directoryId, symbolsId;
    const char *formatText, *directoryText, *symbolsText;
  } sides[] = {
      {&source_, 315, 317, 319, "&Source Format:", "Source Di&rectory:", "Source Sy&mbols:"},
      {&destination_, 316, 318, 320, "&Destination Format:", "Destination Director&y:", "Destination Sym&bols:"},
  };
  auto* columns = new QHBoxLayout;
  for (const auto& s : sides) {
    Side& side = *s.side;
    side.format = new QComboBox(this);
    side.format->setObjectName(ControlName(s.formatId));
    for (const Format* f : side.formats) side.format->addItem(QString::fromStdString(f->name()));
    side.directory = new QComboBox(this);
    side.directory->setObjectName(ControlName(s.directoryId));
    side.directory->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    side.directory->setMinimumContentsLength(32);
    side.model = new DatafileListModel(this);
    side.symbols = new QListView(this);
    side.symbols->setObjectName(ControlName(s.symbolsId));
    side.symbols->setModel(side.model);
    side.symbols->setSelectionMode(QAbstractItemView::ExtendedSelection);
    side.symbols->setUniformItemSizes(true);
    side.symbols->setMinimumHeight(200);

    auto* grid = new QGridLayout;
    grid->addWidget(BuddyLabel(tr(s.formatText), side.format, this), 0, 0);
    grid->addWidget(side.format, 1, 0);
    grid->addWidget(BuddyLabel(tr(s.directoryText), side.directory, this), 2, 0);
    grid->addWidget(side.directory, 3, 0);
    grid->addWidget(BuddyLabel(tr(s.symbolsText), side.symbols, this), 4, 0);
    grid->addWidget(side.symbols, 5, 0);
    grid->setRowStretch(5, 1);
    columns->addLayout(grid, 1);
  }

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns, 1);

  if (!append) {
    startDate_ = new QLineEdit(this);
    startDate_->setObjectName(ControlName(172));
    startDate_->setMaxLength(static_cast<int>(kStartDateFieldLength));
    startDate_->setPlaceholderText(tr("D/M/YYYY"));
    startDate_->setMaximumWidth(fontMetrics().horizontalAdvance(QString(14, '0')));
    overwrite_ = new QRadioButton(tr("&Overwrite Existing Files"), this);
    overwrite_->setObjectName(ControlName(361));
    skip_ = new QRadioButton(tr("S&kip Existing Data Files"), this);
    skip_->setObjectName(ControlName(362));
    skip_->setChecked(true);
    auto* options = new QButtonGroup(this);
    options->addButton(overwrite_);
    options->addButton(skip_);
    auto* row = new QHBoxLayout;
    row->addWidget(BuddyLabel(tr("Start Date for Conversio&n:"), startDate_, this));
    row->addWidget(startDate_);
    row->addSpacing(16);
    row->addWidget(overwrite_);
    row->addWidget(skip_);
    row->addStretch();
    layout->addLayout(row);
  }

  auto* editor = PlainButton(tr("Dir &Editor..."), 270, this);
  QPushButton* one = append ? PlainButton(tr("&Append"), 321, this) : PlainButton(tr("Con&vert"), 343, this);
  QPushButton* all = append ? PlainButton(tr("Append A&ll"), 322, this) : PlainButton(tr("Convert &All"), 323, this);
  auto* close = PlainButton(tr("&Close"), 1, this);
  close->setDefault(true);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(editor);
  buttons->addStretch();
  buttons->addWidget(one);
  buttons->addWidget(all);
  buttons->addWidget(close);
  layout->addLayout(buttons);

  connect(editor, &QPushButton::clicked, this, &ConvertDialog::editDirectories);
  connect(one, &QPushButton::clicked, this,
          [this] { run(append_ ? ConvertCommand::kAppend : ConvertCommand::kConvert); });
  connect(all, &QPushButton::clicked, this,
          [this] { run(append_ ? ConvertCommand::kAppendAll : ConvertCommand::kConvertAll); });
  connect(close, &QPushButton::clicked, this, &QDialog::accept);

  const ConvertPreselection chosen = PreselectConvertFormats(formats);
  source_.format->setCurrentIndex(chosen.source);
  destination_.format->setCurrentIndex(chosen.destination);
  connect(source_.format, &QComboBox::currentIndexChanged, this, &ConvertDialog::chooseSourceFormat);
  connect(destination_.format, &QComboBox::currentIndexChanged, this, &ConvertDialog::chooseDestinationFormat);
  connect(source_.directory, &QComboBox::currentIndexChanged, this, &ConvertDialog::chooseSourceDirectory);
  connect(destination_.directory, &QComboBox::currentIndexChanged, this,
          &ConvertDialog::chooseDestinationDirectory);
  refillDirectories(source_);
  refillDirectories(destination_);
}

Format* ConvertDialog::shownFormat(const Side& side) const {
  const int index = side.format->currentIndex();
  return index < 0 || index >= static_cast<int>(side.formats.size()) ? nullptr : side.formats[index];
}

Directory* ConvertDialog::shownDirectory(const Side& side) const {
  const Format* format = shownFormat(side);
  if (!format || side.directory->currentIndex() < 0) return nullptr;
  return format->directoryByName(side.directory->currentText().toStdString());
}

Format* ConvertDialog::sourceFormat() const { return shownFormat(source_); }
Format* ConvertDialog::destinationFormat() const { return shownFormat(destination_); }
Directory* ConvertDialog::sourceDirectory() const { return shownDirectory(source_); }
Directory* ConvertDialog::destinationDirectory() const { return shownDirectory(destination_); }

void ConvertDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (placed_) return;
  placed_ = true;
  QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  const QRect r = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  const WindowRect desktop{r.left(), r.top(), r.width(), r.height()};
  const QRect frame = frameGeometry();
  const WindowPoint at = CenterOver(desktop, frame.width(), frame.height(), desktop);
  move(static_cast<int>(at.x), static_cast<int>(at.y));
}

void ConvertDialog::chooseSourceFormat(int) {
  if (Format* format = shownFormat(source_)) formats_.setCurrentIndex(formats_.indexOf(format));
  refillDirectories(source_);
}

void ConvertDialog::chooseDestinationFormat(int) { refillDirectories(destination_); }
void ConvertDialog::chooseSourceDirectory(int) { refillSymbols(source_); }
void ConvertDialog::chooseDestinationDirectory(int) { refillSymbols(destination_); }

void ConvertDialog::refillDirectories(Side& side) {
  {
    const QSignalBlocker blocker(side.directory);
    side.directory->clear();
    if (const Format* format = shownFormat(side)) {
      for (int i = 0; i < format->directoryCount(); ++i)
        side.directory->addItem(QString::fromStdString(format->directoryAt(i)->name()));
      side.directory->setCurrentIndex(format->curDi() < format->directoryCount() ? format->curDi() : -1);
    }
    FitDropDown(side.directory);
  }
  refillSymbols(side);
}

void ConvertDialog::refillSymbols(Side& side) {
  Directory* directory = shownDirectory(side);
  if (directory && !RefreshListDirectory(*directory)) directory = nullptr;
  side.model->setDirectory(directory);
}

void ConvertDialog::editDirectories() {
  // The editor may remove the directories the lists show.
  source_.model->setDirectory(nullptr);
  destination_.model->setDirectory(nullptr);
  {
    DirectoryEditorDialog editor(formats_, this);
    editor.exec();
  }
  refillDirectories(source_);
  refillDirectories(destination_);
}

void ConvertDialog::run(ConvertCommand command) {
  const ConvertRun what = ConvertRunOf(command);
  ConvertChoices choices;
  choices.formats = &formats_;
  choices.owner = static_cast<QWidget*>(this);  // the window the run's messages belong to
  choices.sourceFormat = sourceFormat();
  choices.sourceDirectory = sourceDirectory();
  choices.destinationFormat = destinationFormat();
  choices.destinationDirectory = destinationDirectory();
  if (startDate_) choices.startDate = startDate_->text().toStdString();
  choices.overwrite = overwrite_ && overwrite_->isChecked();
  ActionInfo action;
  if (!PrepareConvertAction(command, choices, action)) return;

  const QListView* list = what.listId == kSourceSymbolsId ? source_.symbols : destination_.symbols;
  const ViewSelection selection(list);
  action.selection = &selection;
  if (what.recorded) writeTaskLine(what.append ? kActionAppend : kActionConvert, action);
  {
    ProgressDialog progress(this, ProgressVariant::Cancel, what.step, &action, list->model()->rowCount(),
                            what.title);
    progress.run();
  }
  refillSymbols(destination_);
}

void RunConvertDialog(Application& application, bool append, QWidget* parent) {
  ConvertDialog dialog(application.formats(), append, parent);
  dialog.exec();
}

}  // namespace kvqt::ui
