#include "ui/download_dialog.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

#include "app/application.h"
#include "app/core/messages.h"
#include "app/core/personal_profile.h"
#include "automation/task_line_writer.h"
#include "maintenance/download_choices.h"
#include "maintenance/list_editor.h"
#include "ui/directory_editor_dialog.h"
#include "ui/list_editor_dialog.h"
#include "ui/session_progress.h"
#include "ui/dialog_controls.h"

namespace kvqt::ui {
namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

// A combo that shows a long path or name without making the dialog grow with it.
QComboBox* WideCombo(int id, QWidget* parent) {
  auto* combo = Named(new QComboBox(parent), id);
  combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  combo->setMinimumContentsLength(36);
  return combo;
}

void Enable(bool on, std::initializer_list<QWidget*> widgets) {
  for (QWidget* w : widgets) w->setEnabled(on);
}

}  // namespace

DlgDownload::DlgDownload(Application& application, QWidget* parent)
    : QDialog(parent), application_(application), choices_(DownloadFormats(application.formats())) {
  setObjectName("KORV_DOWNLOAD");
  setWindowTitle(tr("Download from Norvale group"));
  setModal(true);

  // Update type and options.
  types_ = new QButtonGroup(this);
  auto* typeBox = new QGroupBox(tr("Update"), this);
  auto* typeLayout = new QVBoxLayout(typeBox);
  const struct {
    const char* text;
    int id;
    int type;
  } typeButtons[] = {{"&Normal Update", 254, kUpdateNormal},
                     {"Date &range Update", 255, kUpdateDateRange},
                     {"Real &Time Update", 256, kUpdateRealtime},
                     {"Normal &and Real Time Update", 257, kUpdateNormalAndRealtime}};
  for (const auto& t : typeButtons) {
    auto* button = Named(new QRadioButton(tr(t.text), typeBox), t.id);
    types_->addButton(button, t.type);
    typeLayout->addWidget(button);
  }
  replaceYesterday_ = Named(new QCheckBox(tr("Replace &Yesterday's Real Time Price"), typeBox), 352);
  reloadSymbols_ = Named(new QCheckBox(tr("Reload Symbol Table"), typeBox), 683);
  typeLayout->addSpacing(6);
  typeLayout->addWidget(replaceYesterday_);
  typeLayout->addWidget(reloadSymbols_);
  typeLayout->addStretch();

  // Dates of a date-range update.
  auto* dateBox = new QGroupBox(tr("Date range"), this);
  start_ = Named(new QLineEdit(dateBox), 172);
  end_ = Named(new QLineEdit(dateBox), 173);
  for (QLineEdit* field : {start_, end_}) {
    field->setMaxLength(10);
    field->setPlaceholderText(QStringLiteral("D/M/YYYY"));
    field->setMaximumWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000000")));
  }
  startLabel_ = BuddyLabel(tr("&Start:"), start_, dateBox, 451);
  endLabel_ = BuddyLabel(tr("&End:"), end_, dateBox, 452);
  auto* dateLayout = new QGridLayout(dateBox);
  dateLayout->addWidget(startLabel_, 0, 0);
  dateLayout->addWidget(start_, 0, 1);
  dateLayout->addWidget(endLabel_, 1, 0);
  dateLayout->addWidget(end_, 1, 1);
  dateLayout->setColumnStretch(2, 1);

  // Format and selection.
  format_ = Named(new QComboBox(this), 266);
  for (const Format* f : choices_) format_->addItem(Text(f->name()));
  FitDropDown(format_);
  auto* formatLabel = new QLabel(tr("&Format:"), this);
  formatLabel->setBuddy(format_);

  modes_ = new QButtonGroup(this);
  auto* selectionBox = new QGroupBox(tr("Selection"), this);
  auto* listMode = Named(new QRadioButton(tr("&List"), selectionBox), 258);
  auto* directoryMode = Named(new QRadioButton(tr("&Directory"), selectionBox), 259);
  auto* symbolMode = Named(new QRadioButton(tr("Single symb&ol"), selectionBox), 260);
  modes_->addButton(listMode, kSelectList);
  modes_->addButton(directoryMode, kSelectDirectory);
  modes_->addButton(symbolMode, kSelectSymbol);
  list_ = WideCombo(194, selectionBox);
  list_->setAccessibleName(tr("List"));
  listEditor_ = Named(new QPushButton(tr("List Editor..."), selectionBox), 269);
  directory_ = WideCombo(267, selectionBox);
  directory_->setAccessibleName(tr("Directory"));
  dirEditor_ = Named(new QPushButton(tr("Dir Editor..."), selectionBox), 270);
  symbolDirectory_ = WideCombo(268, selectionBox);
  symbolDirectoryLabel_ = BuddyLabel(tr("Dire&ctory:"), symbolDirectory_, selectionBox, 453);
  symbol_ = WideCombo(279, selectionBox);
  symbolLabel_ = BuddyLabel(tr("Sy&mbol:"), symbol_, selectionBox, 454);
  auto* selection = new QGridLayout(selectionBox);
  selection->addWidget(listMode, 0, 0, 1, 2);
  selection->addWidget(list_, 0, 2);
  selection->addWidget(listEditor_, 0, 3);
  selection->addWidget(directoryMode, 1, 0, 1, 2);
  selection->addWidget(directory_, 1, 2);
  selection->addWidget(dirEditor_, 1, 3);
  selection->addWidget(symbolMode, 2, 0, 1, 3);
  selection->addItem(new QSpacerItem(16, 0), 3, 0);
  selection->addWidget(symbolDirectoryLabel_, 3, 1);
  selection->addWidget(symbolDirectory_, 3, 2);
  selection->addWidget(symbolLabel_, 4, 1);
  selection->addWidget(symbol_, 4, 2);
  selection->setColumnStretch(2, 1);

  auto* downloadButton = Named(new QPushButton(tr("Do&wnload !"), this), 1);
  downloadButton->setDefault(true);
  auto* close = Named(new QPushButton(tr("Close"), this), 2);

  auto* formatRow = new QHBoxLayout;
  formatRow->addWidget(formatLabel);
  formatRow->addWidget(format_, 1);
  auto* left = new QVBoxLayout;
  left->addWidget(typeBox);
  left->addWidget(dateBox);
  auto* right = new QVBoxLayout;
  right->addLayout(formatRow);
  right->addWidget(selectionBox);
  right->addStretch();
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(downloadButton);
  buttons->addWidget(close);
  auto* top = new QHBoxLayout;
  top->addLayout(left);
  top->addLayout(right, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(buttons);

  // Opening: a normal update, the current format, the saved selection mode.
  types_->button(kUpdateNormal)->setChecked(true);
  modes_->button(ReadDownloadMode(profile()))->setChecked(true);
  format_->setCurrentIndex(DownloadFormatIndex(choices_, application_.formats().current()));

  connect(format_, &QComboBox::currentIndexChanged, this, &DlgDownload::chooseFormat);
  connect(types_, &QButtonGroup::idClicked, this, &DlgDownload::chooseType);
  connect(replaceYesterday_, &QCheckBox::toggled, this, &DlgDownload::chooseType);
  connect(modes_, &QButtonGroup::idClicked, this, &DlgDownload::chooseMode);
  connect(list_, &QComboBox::currentIndexChanged, this, &DlgDownload::chooseList);
  connect(directory_, &QComboBox::currentIndexChanged, this, &DlgDownload::chooseDirectory);
  connect(symbolDirectory_, &QComboBox::currentIndexChanged, this, &DlgDownload::chooseDirectory);
  connect(listEditor_, &QPushButton::clicked, this, &DlgDownload::editLists);
  connect(dirEditor_, &QPushButton::clicked, this, &DlgDownload::editDirectories);
  connect(downloadButton, &QPushButton::clicked, this, &DlgDownload::download);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);

  refillLists();
  refillDirectories();
  applyType();
  applyMode();
}

Format* DlgDownload::shownFormat() const {
  const int index = format_->currentIndex();
  return index < 0 || index >= static_cast<int>(choices_.size()) ? nullptr : choices_[index];
}

void DlgDownload::done(int result) {
  SaveDownloadMode(profile(), modes_->checkedId());
  QDialog::done(result);
}

void DlgDownload::chooseFormat(int) {
  Formats& formats = application_.formats();
  if (Format* format = shownFormat()) formats.setCurrentIndex(formats.indexOf(format));
  refillLists();
  refillDirectories();
  applyType();
  if (modes_->checkedId() == kSelectSymbol) refillSymbols();
}

void DlgDownload::chooseType() { applyType(); }

void DlgDownload::chooseMode() { applyMode(); }

void DlgDownload::chooseList(int index) {
  if (Format* format = shownFormat()) format->setCurLi(index);
}

void DlgDownload::chooseDirectory(int index) {
  Format* format = shownFormat();
  if (!format) return;
  format->setCurDi(index);
  // Both directory combos show the format's current directory.
  for (QComboBox* combo : {directory_, symbolDirectory_}) {
    const QSignalBlocker blocker(combo);
    combo->setCurrentIndex(index);
  }
  if (modes_->checkedId() == kSelectSymbol) refillSymbols();
}

void DlgDownload::refillAll() {
  {
    const QSignalBlocker blocker(format_);
    format_->setCurrentIndex(DownloadFormatIndex(choices_, application_.formats().current()));
  }
  refillLists();
  refillDirectories();
  applyType();
  applyMode();
}

void DlgDownload::refillLists() {
  const QSignalBlocker blocker(list_);
  list_->clear();
  const Format* format = shownFormat();
  if (!format) return;
  for (int i = 0; i < format->listCount(); ++i) list_->addItem(Text(format->listAt(i)->name()));
  list_->setCurrentIndex(format->currentList() ? format->curLi() : -1);
  FitDropDown(list_);
}

void DlgDownload::refillDirectories() {
  const Format* format = shownFormat();
  for (QComboBox* combo : {directory_, symbolDirectory_}) {
    const QSignalBlocker blocker(combo);
    combo->clear();
    if (!format) continue;
    for (int i = 0; i < format->directoryCount(); ++i) combo->addItem(Text(format->directoryAt(i)->name()));
    combo->setCurrentIndex(format->currentDirectory() ? format->curDi() : -1);
    FitDropDown(combo);
  }
}

void DlgDownload::refillSymbols() {
  symbol_->clear();
  const Format* format = shownFormat();
  Directory* directory = format ? format->currentDirectory() : nullptr;
  if (!directory || !RefreshListDirectory(*directory)) return;
  for (const std::string& line : SymbolLines(*directory)) symbol_->addItem(Text(line));
  symbol_->setCurrentIndex(symbol_->count() > 0 ? 0 : -1);
  FitDropDown(symbol_);
}

void DlgDownload::applyType() {
  const UpdateTypeChoice choice = ChooseUpdateType(shownFormat(), types_->checkedId(), replaceYesterday_->isChecked());
  types_->button(choice.type)->setChecked(true);
  {
    const QSignalBlocker blocker(replaceYesterday_);
    replaceYesterday_->setChecked(choice.replaceYesterday);
  }
  Enable(choice.realTimeEnabled, {types_->button(kUpdateRealtime), types_->button(kUpdateNormalAndRealtime),
                                  replaceYesterday_});
  Enable(choice.datesEnabled, {start_, end_, startLabel_, endLabel_});
}

void DlgDownload::applyMode() {
  const SelectionControls controls = ControlsForMode(modes_->checkedId());
  Enable(controls.list, {list_, listEditor_});
  Enable(controls.directory, {directory_, dirEditor_});
  Enable(controls.symbol, {symbolDirectory_, symbolDirectoryLabel_, symbol_, symbolLabel_});
  if (controls.symbol) refillSymbols();
}

void DlgDownload::editLists() {
  ListEditorDialog editor(application_.formats(), this);
  editor.exec();
  refillAll();
}

void DlgDownload::editDirectories() {
  DirectoryEditorDialog editor(application_.formats(), this);
  editor.exec();
  refillAll();
}

void DlgDownload::download() {
  DownloadChoices choices;
  choices.format = shownFormat();
  choices.type = types_->checkedId();
  choices.replaceYesterday = replaceYesterday_->isChecked();
  choices.reloadSymbolTable = reloadSymbols_->isChecked();
  choices.mode = modes_->checkedId();
  choices.startText = start_->text().toStdString();
  choices.endText = end_->text().toStdString();
  choices.symbolIndex = symbol_->currentIndex();

  ActionInfo action;
  action.formats = &application_.formats();
  action.userInfo = &application_.data().userInfo();
  action.login = &application_.data().login();
  action.owner = this;
  if (const char* error = FillDownloadAction(choices, action)) {
    message(error);
    return;
  }
  writeTaskLine(kActionDownload, action);
  RunDownloadSession(application_, action, this);
  accept();
}

void RunDownloadDialog(Application& application, QWidget* parent) {
  DlgDownload dialog(application, parent);
  dialog.exec();
}

}  // namespace kvqt::ui
