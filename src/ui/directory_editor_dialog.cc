#include "ui/directory_editor_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/model/formats.h"
#include "maintenance/directory_editor.h"
#include "ui/add_directory_dialog.h"

namespace kvqt::ui {

DirectoryEditorDialog::DirectoryEditorDialog(Formats& formats, QWidget* parent)
    : QDialog(parent), formats_(formats), choices_(DirectoryFormats(formats)) {
  setObjectName("KORV_DIR_EDITOR");
  setWindowTitle(tr("Directory Editor"));
  setModal(true);

  format_ = new QComboBox(this);
  format_->setObjectName("id266");
  for (const Format* f : choices_) format_->addItem(QString::fromStdString(f->name()));
  auto* formatLabel = new QLabel(tr("&Format:"), this);
  formatLabel->setBuddy(format_);

  directories_ = new QListWidget(this);
  directories_->setObjectName("id267");
  directories_->setMinimumSize(360, 160);
  auto* directoriesLabel = new QLabel(tr("D&irectories:"), this);
  directoriesLabel->setBuddy(directories_);

  auto* add = new QPushButton(tr("&Add"), this);
  add->setObjectName("id275");
  auto* remove = new QPushButton(tr("D&elete"), this);
  remove->setObjectName("id276");
  auto* close = new QPushButton(tr("&Close"), this);
  close->setObjectName("id1");
  close->setDefault(true);
  connect(add, &QPushButton::clicked, this, &DirectoryEditorDialog::add);
  connect(remove, &QPushButton::clicked, this, &DirectoryEditorDialog::remove);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);

  auto* side = new QVBoxLayout;
  side->addWidget(add);
  side->addWidget(remove);
  side->addStretch();
  side->addWidget(close);
  auto* grid = new QGridLayout(this);
  grid->addWidget(formatLabel, 0, 0);
  grid->addWidget(format_, 0, 1);
  grid->addWidget(directoriesLabel, 1, 0, 1, 2);
  grid->addWidget(directories_, 2, 0, 1, 2);
  grid->addLayout(side, 2, 2);
  grid->setColumnStretch(1, 1);

  // The current format first, else the first one offered.
  const auto current = std::find(choices_.begin(), choices_.end(), formats_.current());
  const int shown = current == choices_.end() ? 0 : static_cast<int>(current - choices_.begin());
  format_->setCurrentIndex(choices_.empty() ? -1 : shown);
  connect(format_, &QComboBox::currentIndexChanged, this, &DirectoryEditorDialog::showFormat);
  refill();
}

Format* DirectoryEditorDialog::shownFormat() const {
  const int index = format_->currentIndex();
  return index < 0 || index >= static_cast<int>(choices_.size()) ? nullptr : choices_[index];
}

void DirectoryEditorDialog::showFormat(int) { refill(); }

void DirectoryEditorDialog::refill() {
  directories_->clear();
  const Format* format = shownFormat();
  if (!format) return;
  for (int i = 0; i < format->directoryCount(); ++i)
    directories_->addItem(QString::fromStdString(format->directoryAt(i)->name()));
  if (format->curDi() >= 0 && format->curDi() < format->directoryCount()) directories_->setCurrentRow(format->curDi());
}

void DirectoryEditorDialog::add() {
  Format* format = shownFormat();
  if (!format) return;
  const std::string path = AddDirectoryDialog::Ask(*format, this);
  if (path.empty()) return;
  if (AddEditorDirectory(path, formats_, *format)) refill();
}

void DirectoryEditorDialog::remove() {
  Format* format = shownFormat();
  if (!format) return;
  const QListWidgetItem* item = directories_->currentItem();
  const int row = item && item->isSelected() ? directories_->row(item) : -1;
  if (RemoveEditorDirectory(*format, row)) refill();
}

}  // namespace kvqt::ui
