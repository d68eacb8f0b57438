#include "ui/file_download_dialog.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
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
#include "app/model/directory.h"
#include "app/model/format.h"
#include "app/model/formats.h"
#include "app/model/list.h"
#include "automation/task_line_writer.h"
#include "datetime/date_field_text.h"
#include "datetime/trading_day.h"
#include "maintenance/list_editor.h"
#include "platform/launcher.h"
#include "service/request_file.h"
#include "ui/commands.h"
#include "ui/directory_editor_dialog.h"
#include "ui/list_editor_dialog.h"
#include "ui/session_progress.h"
#include "ui/dialog_controls.h"

namespace kvqt::ui {
namespace {

constexpr int kFieldLength = static_cast<int>(ActionInfo::kFileNameLimit);

QString Text(const std::string& text) { return QString::fromStdString(text); }
std::string Std(const QString& text) { return text.toStdString(); }

QLineEdit* FileField(int id, QWidget* parent) {
  auto* field = Named(new QLineEdit(parent), id);
  field->setMaxLength(kFieldLength);
  field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QString(40, QChar('x'))));
  return field;
}

QLineEdit* DateField(int id, QWidget* parent) {
  auto* field = Named(new QLineEdit(parent), id);
  field->setMaxLength(10);
  field->setFixedWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + 12);
  return field;
}

// The directory the open-file dialogs start in: the last one a file was
// chosen from in this run, at first the program directory.
QString& LastBrowsedDirectory() {
  static QString directory;
  return directory;
}

}  // namespace

FileDownloadDialog::FileDownloadDialog(Application& application, int mode, QWidget* parent)
    : QDialog(parent),
      application_(application),
      mode_(mode == kDefinitionFileDownloadMode ? FileDownloadMode::kDefinitionFile : FileDownloadMode::kChoice) {
  setModal(true);
  if (mode_ == FileDownloadMode::kDefinitionFile) {
    setObjectName("KORV_DEFFILEDOWNLOAD");
    setWindowTitle(QStringLiteral("Download with Definition File"));
    buildDefinitionControls();
  } else {
    setObjectName("KORV_FILEDOWNLOAD");
    setWindowTitle(QStringLiteral("Download file from Norvale group"));
    buildChoiceControls();
  }
}

void FileDownloadDialog::buildChoiceControls() {
  const FileDownloadSettings settings = ReadFileDownloadSettings(profile());

  // Input: the format and what of it.
  auto* input = new QGroupBox(QStringLiteral("Input"), this);
  inputFormat_ = Named(new QComboBox(input), 266);
  selection_ = new QButtonGroup(this);
  auto* listButton = Named(new QRadioButton(QStringLiteral("&List"), input), 258);
  auto* directoryButton = Named(new QRadioButton(QStringLiteral("&Directory"), input), 259);
  auto* symbolButton = Named(new QRadioButton(QStringLiteral("&One symbol"), input), 260);
  selection_->addButton(listButton, kFileSelectList);
  selection_->addButton(directoryButton, kFileSelectDirectory);
  selection_->addButton(symbolButton, kFileSelectSymbol);
  list_ = Named(new QComboBox(input), 194);
  list_->setAccessibleName(QStringLiteral("List"));
  listEditor_ = PlainButton("List Editor...", 269, input);
  directory_ = Named(new QComboBox(input), 267);
  directory_->setAccessibleName(QStringLiteral("Directory"));
  directoryEditor_ = PlainButton("Dir Editor...", 270, input);
  symbolDirectory_ = Named(new QComboBox(input), 268);
  symbolDirectoryLabel_ = BuddyLabel("Dire&ctory", symbolDirectory_, input, 453);
  symbol_ = Named(new QComboBox(input), 279);
  symbolLabel_ = BuddyLabel("S&ymbol", symbol_, input, 454);
  for (QComboBox* combo : {list_, directory_, symbolDirectory_, symbol_}) {
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(32);
  }
  auto* inputLayout = new QGridLayout(input);
  inputLayout->addWidget(BuddyLabel("&Format", inputFormat_, input), 0, 0);
  inputLayout->addWidget(inputFormat_, 0, 1, 1, 2);
  inputLayout->addWidget(listButton, 1, 0);
  inputLayout->addWidget(list_, 1, 1);
  inputLayout->addWidget(listEditor_, 1, 2);
  inputLayout->addWidget(directoryButton, 2, 0);
  inputLayout->addWidget(directory_, 2, 1);
  inputLayout->addWidget(directoryEditor_, 2, 2);
  inputLayout->addWidget(symbolButton, 3, 0);
  auto* symbolRows = new QGridLayout;
  symbolRows->setContentsMargins(0, 0, 0, 0);
  symbolRows->addWidget(symbolDirectoryLabel_, 0, 0);
  symbolRows->addWidget(symbolDirectory_, 0, 1);
  symbolRows->addWidget(symbolLabel_, 1, 0);
  symbolRows->addWidget(symbol_, 1, 1);
  symbolRows->setColumnStretch(1, 1);
  inputLayout->addLayout(symbolRows, 4, 1);
  inputLayout->setColumnStretch(1, 1);

  // What is downloaded: the type, its dates and the periodicity.
  auto* download = new QGroupBox(QStringLiteral("Download"), this);
  type_ = new QButtonGroup(this);
  auto* singleDayButton = Named(new QRadioButton(QStringLiteral("&Single day"), download), 254);
  auto* rangeButton = Named(new QRadioButton(QStringLiteral("Date &range"), download), 255);
  auto* realtimeButton = Named(new QRadioButton(QStringLiteral("Real&time"), download), 256);
  type_->addButton(singleDayButton, kUpdateNormal);
  type_->addButton(rangeButton, kUpdateDateRange);
  type_->addButton(realtimeButton, kUpdateRealtime);
  singleDay_ = DateField(110, download);
  singleDay_->setAccessibleName(QStringLiteral("Single day"));
  start_ = DateField(172, download);
  startLabel_ = BuddyLabel("St&art", start_, download, 451);
  end_ = DateField(173, download);
  endLabel_ = BuddyLabel("E&nd", end_, download, 452);
  periodicity_ = Named(new QComboBox(download), 363);
  periodicity_->addItems({QStringLiteral("Daily"), QStringLiteral("Weekly"), QStringLiteral("Monthly")});
  auto* downloadLayout = new QGridLayout(download);
  downloadLayout->addWidget(singleDayButton, 0, 0);
  downloadLayout->addWidget(singleDay_, 0, 2);
  downloadLayout->addWidget(rangeButton, 1, 0);
  downloadLayout->addWidget(startLabel_, 1, 1);
  downloadLayout->addWidget(start_, 1, 2);
  downloadLayout->addWidget(endLabel_, 1, 3);
  downloadLayout->addWidget(end_, 1, 4);
  downloadLayout->addWidget(realtimeButton, 2, 0);
  downloadLayout->addWidget(BuddyLabel("&Periodicity", periodicity_, download), 3, 0);
  downloadLayout->addWidget(periodicity_, 3, 1, 1, 2);
  downloadLayout->setColumnStretch(5, 1);

  layOut({input, download, buildOutputControls(false)}, "Close");

  connect(inputFormat_, &QComboBox::activated, this, &FileDownloadDialog::chooseInputFormat);
  connect(selection_, &QButtonGroup::idClicked, this, &FileDownloadDialog::chooseSelection);
  connect(type_, &QButtonGroup::idClicked, this, &FileDownloadDialog::chooseType);
  connect(list_, &QComboBox::currentIndexChanged, this, &FileDownloadDialog::chooseList);
  connect(directory_, &QComboBox::currentIndexChanged, this, &FileDownloadDialog::chooseDirectory);
  connect(symbolDirectory_, &QComboBox::currentIndexChanged, this, &FileDownloadDialog::chooseDirectory);
  connect(listEditor_, &QPushButton::clicked, this, &FileDownloadDialog::editLists);
  connect(directoryEditor_, &QPushButton::clicked, this, &FileDownloadDialog::editDirectories);

  // Opening: the saved type and selection, both dates at the last complete
  // trading day, daily.
  type_->button(settings.type)->setChecked(true);
  const QString lastDay = Text(DateFieldText(LastCompleteTradingDay()));
  singleDay_->setText(lastDay);
  end_->setText(lastDay);
  periodicity_->setCurrentIndex(0);
  selection_->button(settings.selection == kFileSelectDirectory ? kFileSelectDirectory : kFileSelectList)
      ->setChecked(true);
  refillInputFormats();
  fillOutputFormats(settings.outputFormat);
  outputFile_->setText(Text(settings.outputFile));
  enableDates();
  enableSelection();

  setTabOrder(inputFormat_, listButton);
  setTabOrder(listButton, list_);
  setTabOrder(list_, listEditor_);
  setTabOrder(listEditor_, directoryButton);
  setTabOrder(directoryButton, directory_);
  setTabOrder(directory_, directoryEditor_);
  setTabOrder(directoryEditor_, symbolButton);
  setTabOrder(symbolButton, symbolDirectory_);
  setTabOrder(symbolDirectory_, symbol_);
  setTabOrder(symbol_, singleDayButton);
  setTabOrder(singleDayButton, singleDay_);
  setTabOrder(singleDay_, rangeButton);
  setTabOrder(rangeButton, start_);
  setTabOrder(start_, end_);
  setTabOrder(end_, realtimeButton);
  setTabOrder(realtimeButton, periodicity_);
  setTabOrder(periodicity_, outputFormat_);
}

void FileDownloadDialog::buildDefinitionControls() {
  const FileDownloadSettings settings = ReadFileDownloadSettings(profile());

  auto* input = new QGroupBox(QStringLiteral("Input"), this);
  inputFile_ = FileField(397, input);
  auto* browseInput = PlainButton("&Browse...", 395, input);
  auto* editInput = PlainButton("&Edit definition file...", 398, input);
  auto* inputLayout = new QGridLayout(input);
  inputLayout->addWidget(BuddyLabel("&File", inputFile_, input), 0, 0);
  inputLayout->addWidget(inputFile_, 0, 1);
  inputLayout->addWidget(browseInput, 0, 2);
  inputLayout->addWidget(editInput, 1, 2);
  inputLayout->setColumnStretch(1, 1);

  layOut({input, buildOutputControls(true)}, "&Close");

  connect(browseInput, &QPushButton::clicked, this, &FileDownloadDialog::browseInputFile);
  connect(editInput, &QPushButton::clicked, this, &FileDownloadDialog::editInputFile);

  inputFile_->setText(Text(settings.inputFile));
  fillOutputFormats(settings.outputFormat);
  outputFile_->setText(Text(settings.outputFile));

  setTabOrder(inputFile_, browseInput);
  setTabOrder(browseInput, editInput);
  setTabOrder(editInput, outputFormat_);
}

// The groups one under the other, above "Do&wnload !" and the close button;
// the dialog keeps the size they ask for.
void FileDownloadDialog::layOut(std::initializer_list<QWidget*> groups, const char* closeText) {
  auto* start = PlainButton("Do&wnload !", 1, this);
  start->setDefault(true);
  auto* close = PlainButton(closeText, 2, this);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(start);
  buttons->addWidget(close);

  auto* layout = new QVBoxLayout(this);
  for (QWidget* group : groups) layout->addWidget(group);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(start, &QPushButton::clicked, this, &FileDownloadDialog::download);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

QWidget* FileDownloadDialog::buildOutputControls(bool definitionMode) {
  auto* output = new QGroupBox(QStringLiteral("Output"), this);
  outputFormat_ = Named(new QComboBox(output), 369);
  outputFile_ = FileField(377, output);
  auto* browse = PlainButton(definitionMode ? "B&rowse..." : "Browse...", 396, output);
  auto* layout = new QGridLayout(output);
  layout->addWidget(BuddyLabel(definitionMode ? "F&ormat" : "For&mat", outputFormat_, output), 0, 0);
  layout->addWidget(outputFormat_, 0, 1);
  layout->addWidget(BuddyLabel("F&ile", outputFile_, output), 1, 0);
  layout->addWidget(outputFile_, 1, 1, 1, 2);
  layout->addWidget(browse, 1, 3);
  layout->setColumnStretch(2, 1);
  connect(browse, &QPushButton::clicked, this, &FileDownloadDialog::browseOutputFile);
  setTabOrder(outputFormat_, outputFile_);
  setTabOrder(outputFile_, browse);
  if (definitionMode) {
    auto* edit = PlainButton("Edit o&utput file...", 399, output);
    layout->addWidget(edit, 2, 3);
    connect(edit, &QPushButton::clicked, this, &FileDownloadDialog::editOutputFile);
    setTabOrder(browse, edit);
  }
  return output;
}

void FileDownloadDialog::fillOutputFormats(const std::string& symbol) {
  outputFormats_ = FileDownloadOutputFormats(application_.formats(), mode_);
  for (const Format* format : outputFormats_) outputFormat_->addItem(Text(format->name()));
  outputFormat_->setCurrentIndex(OutputFormatPosition(outputFormats_, symbol));
  FitDropDown(outputFormat_);
}

void FileDownloadDialog::refillInputFormats() {
  Formats& formats = application_.formats();
  inputFormats_ = FileDownloadInputFormats(formats);
  QSignalBlocker block(inputFormat_);
  inputFormat_->clear();
  for (const Format* format : inputFormats_) inputFormat_->addItem(Text(format->name()));
  const auto current = std::find(inputFormats_.begin(), inputFormats_.end(), formats.current());
  inputFormat_->setCurrentIndex(current != inputFormats_.end() ? static_cast<int>(current - inputFormats_.begin())
                                                               : (inputFormats_.empty() ? -1 : 0));
  FitDropDown(inputFormat_);
  refillSelection();
}

// The list and directory combos of the input format, its current ones selected.
void FileDownloadDialog::refillSelection() {
  Format* format = inputFormat();
  {
    QSignalBlocker blockList(list_);
    QSignalBlocker blockDirectory(directory_);
    QSignalBlocker blockSymbolDirectory(symbolDirectory_);
    list_->clear();
    directory_->clear();
    symbolDirectory_->clear();
    if (format != nullptr) {
      for (int i = 0; i < format->listCount(); ++i) list_->addItem(Text(format->listAt(i)->name()));
      for (int i = 0; i < format->directoryCount(); ++i) {
        directory_->addItem(Text(format->directoryAt(i)->name()));
        symbolDirectory_->addItem(Text(format->directoryAt(i)->name()));
      }
      list_->setCurrentIndex(format->currentList() ? format->curLi() : -1);
      const int directory = format->currentDirectory() ? format->curDi() : -1;
      directory_->setCurrentIndex(directory);
      symbolDirectory_->setCurrentIndex(directory);
    }
  }
  for (QComboBox* combo : {list_, directory_, symbolDirectory_}) FitDropDown(combo);
  symbolsOf_ = nullptr;
  symbol_->clear();
  if (selection() == kFileSelectSymbol) refillSymbols();
}

// One line per data file of the current directory, the first selected.
void FileDownloadDialog::refillSymbols() {
  Format* format = inputFormat();
  Directory* directory = format ? format->currentDirectory() : nullptr;
  if (directory == symbolsOf_ && symbol_->count() > 0) return;
  symbolsOf_ = directory;
  symbol_->clear();
  if (directory == nullptr) return;
  if (directory->refresh() < 0) {
    message2(kNoMasterMessage, directory->name());
    return;
  }
  for (int i = 0; i < directory->size(); ++i) symbol_->addItem(Text(directory->at(i)->text(1)));
  symbol_->setCurrentIndex(symbol_->count() > 0 ? 0 : -1);
  FitDropDown(symbol_);
}

void FileDownloadDialog::enableSelection() {
  const int chosen = selection();
  list_->setEnabled(chosen == kFileSelectList);
  listEditor_->setEnabled(chosen == kFileSelectList);
  directory_->setEnabled(chosen == kFileSelectDirectory);
  directoryEditor_->setEnabled(chosen == kFileSelectDirectory);
  for (QWidget* w : std::initializer_list<QWidget*>{symbolDirectoryLabel_, symbolDirectory_, symbolLabel_, symbol_}) {
    w->setEnabled(chosen == kFileSelectSymbol);
  }
}

void FileDownloadDialog::enableDates() {
  const FileDownloadDateFields enabled = EnabledDateFields(type());
  singleDay_->setEnabled(enabled.singleDay);
  for (QWidget* w : std::initializer_list<QWidget*>{startLabel_, start_, endLabel_, end_}) {
    w->setEnabled(enabled.range);
  }
  periodicity_->setEnabled(enabled.periodicity);
}

Format* FileDownloadDialog::inputFormat() const {
  if (inputFormat_ == nullptr) return nullptr;
  const int index = inputFormat_->currentIndex();
  return index >= 0 && index < static_cast<int>(inputFormats_.size()) ? inputFormats_[index] : nullptr;
}

Format* FileDownloadDialog::outputFormat() const {
  const int index = outputFormat_->currentIndex();
  return index >= 0 && index < static_cast<int>(outputFormats_.size()) ? outputFormats_[index] : nullptr;
}

int FileDownloadDialog::selection() const {
  if (selection_ == nullptr) return kSelectDefinitionFile;
  const int id = selection_->checkedId();
  return id == -1 ? kFileSelectList : id;
}

int FileDownloadDialog::type() const {
  if (type_ == nullptr) return 0;
  const int id = type_->checkedId();
  return id == -1 ? kUpdateRealtime : id;
}

void FileDownloadDialog::chooseInputFormat(int index) {
  if (index < 0 || index >= static_cast<int>(inputFormats_.size())) return;
  Formats& formats = application_.formats();
  formats.setCurrentIndex(formats.indexOf(inputFormats_[index]));
  refillSelection();
}

void FileDownloadDialog::chooseSelection(int) {
  enableSelection();
  if (selection() == kFileSelectSymbol) refillSymbols();
}

void FileDownloadDialog::chooseType(int) { enableDates(); }

void FileDownloadDialog::chooseList(int index) {
  if (Format* format = inputFormat(); format != nullptr && index >= 0) format->setCurLi(index);
}

// Both directory combos show the format's current directory.
void FileDownloadDialog::chooseDirectory(int index) {
  Format* format = inputFormat();
  if (format == nullptr || index < 0) return;
  format->setCurDi(index);
  for (QComboBox* combo : {directory_, symbolDirectory_}) {
    QSignalBlocker block(combo);
    combo->setCurrentIndex(index);
  }
  if (selection() == kFileSelectSymbol) refillSymbols();
}

void FileDownloadDialog::editLists() {
  ListEditorDialog editor(application_.formats(), this);
  editor.exec();
  refillInputFormats();
}

void FileDownloadDialog::editDirectories() {
  DirectoryEditorDialog editor(application_.formats(), this);
  editor.exec();
  refillInputFormats();
}

// The open dialog over the file the field names; a file chosen goes into the field.
void FileDownloadDialog::browseInto(QLineEdit* field, const char* windowsFilter) {
  const QString current = field->text();
  QString& last = LastBrowsedDirectory();
  if (last.isEmpty()) last = Text(application_.programDirectory());
  QFileDialog dialog(this, QString(), last, Text(QtFileFilter(windowsFilter)));
  dialog.setObjectName("open");
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  if (!current.isEmpty()) dialog.selectFile(current);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const QString chosen = dialog.selectedFiles().front();
  last = QFileInfo(chosen).absolutePath();
  field->setText(chosen);
}

void FileDownloadDialog::browseInputFile() { browseInto(inputFile_, kDefinitionFilesFilter); }
void FileDownloadDialog::browseOutputFile() { browseInto(outputFile_, kOutputFilesFilter); }

namespace {

// Opens the file the field names in the editor; a name that cannot be edited
// is said, and the field takes the focus for it to be mended.
void OpenInEditor(const EditFileChoice& choice, QLineEdit* field) {
  if (!choice.problem.empty()) {
    message(choice.problem);
    field->setFocus();
    return;
  }
  if (platform::StartFailed(platform::OpenFile(choice.path))) message("Can't find " + platform::FileOpenerName());
}

}  // namespace

void FileDownloadDialog::editInputFile() { OpenInEditor(DefinitionFileToEdit(Std(inputFile_->text())), inputFile_); }
void FileDownloadDialog::editOutputFile() { OpenInEditor(OutputFileToEdit(Std(outputFile_->text())), outputFile_); }

void FileDownloadDialog::focus(FileDownloadField field) {
  QWidget* target = nullptr;
  switch (field) {
    case FileDownloadField::kInputFile:
      target = inputFile_;
      break;
    case FileDownloadField::kSingleDay:
      target = singleDay_;
      break;
    case FileDownloadField::kStart:
      target = start_;
      break;
    case FileDownloadField::kEnd:
      target = end_;
      break;
    case FileDownloadField::kSelection:
      target = selection_ ? selection_->checkedButton() : nullptr;
      break;
    case FileDownloadField::kOutputFormat:
      target = outputFormat_;
      break;
    case FileDownloadField::kOutputFile:
      target = outputFile_;
      break;
    case FileDownloadField::kNone:
      break;
  }
  if (target == nullptr) return;
  target->setFocus();
  if (auto* field = qobject_cast<QLineEdit*>(target)) field->selectAll();
}

void FileDownloadDialog::download() {
  FileDownloadFields fields;
  fields.mode = mode_;
  fields.outputFormat = outputFormat();
  fields.outputFile = Std(outputFile_->text());
  if (mode_ == FileDownloadMode::kDefinitionFile) {
    fields.inputFile = Std(inputFile_->text());
  } else {
    fields.inputFormat = inputFormat();
    fields.selection = selection();
    fields.type = type();
    fields.singleDay = Std(singleDay_->text());
    fields.start = Std(start_->text());
    fields.end = Std(end_->text());
    fields.period = periodicity_->currentIndex();
    if (fields.selection == kFileSelectSymbol && fields.inputFormat != nullptr &&
        fields.inputFormat->currentDirectory() == symbolsOf_ && symbolsOf_ != nullptr) {
      fields.datafile = symbolsOf_->at(symbol_->currentIndex());
    }
  }

  ActionInfo action;
  action.formats = &application_.formats();
  action.userInfo = &application_.data().userInfo();
  action.login = &application_.data().login();
  action.owner = this;
  if (const std::optional<FileDownloadProblem> problem = FillFileDownloadAction(fields, action)) {
    if (problem->name.empty()) {
      message(problem->text);
    } else {
      message2(problem->text, problem->name);
    }
    focus(problem->field);
    return;
  }

  SaveFileDownloadOnStart(profile(), action);
  writeTaskLine(kActionFileDownload, action, application_.programDirectory() + kTaskFileName);
  action_ = std::move(action);
  RunDownloadSession(application_, action_, this);
}

void FileDownloadDialog::done(int result) {
  SaveFileDownloadOnClose(profile(), mode_, selection(), type());
  QDialog::done(result);
}

void RunFileDownloadDialog(Application& application, int mode, QWidget* parent) {
  FileDownloadDialog dialog(application, mode, parent);
  dialog.exec();
}

}  // namespace kvqt::ui
