#include "ui/add_directory_dialog.h"

#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <QPushButton>

#include "app/model/format.h"
#include "maintenance/directory_name.h"
#include "platform/drive_c.h"

namespace kvqt::ui {

AddDirectoryDialog::AddDirectoryDialog(const Format& format, QWidget* parent) : QDialog(parent) {
  setObjectName("KORV_ADD_DIR");
  setWindowTitle(tr("Add Directory"));
  setModal(true);

  auto* formatLabel = new QLabel(tr("Format:"), this);
  auto* formatName = new QLabel(QString::fromStdString(format.name()), this);
  formatName->setObjectName("id266");
  formatName->setAccessibleName(tr("Format"));

  directory_ = new QComboBox(this);
  directory_->setObjectName("id267");
  directory_->setEditable(true);
  directory_->setInsertPolicy(QComboBox::NoInsert);
  directory_->setMinimumContentsLength(40);
  directory_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  // The format's directories and drive c: are the likely starting points.
  for (int i = 0; i < format.directoryCount(); ++i)
    directory_->addItem(QString::fromStdString(format.directoryAt(i)->name()));
  const QString driveC = QString::fromStdString(platform::DriveCDirectory());
  if (directory_->findText(driveC) < 0) directory_->addItem(driveC);
  directory_->setCurrentText(QString());
  auto* directoryLabel = new QLabel(tr("&Directory:"), this);
  directoryLabel->setBuddy(directory_);

  auto* browse = new QPushButton(tr("&Browse..."), this);
  browse->setObjectName("id280");
  auto* add = new QPushButton(tr("&Add"), this);
  add->setObjectName("id1");
  add->setDefault(true);
  auto* cancel = new QPushButton(tr("Cancel"), this);
  cancel->setObjectName("id2");
  connect(browse, &QPushButton::clicked, this, &AddDirectoryDialog::browse);
  connect(add, &QPushButton::clicked, this, &AddDirectoryDialog::add);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* grid = new QGridLayout;
  grid->addWidget(formatLabel, 0, 0);
  grid->addWidget(formatName, 0, 1, 1, 2);
  grid->addWidget(directoryLabel, 1, 0);
  grid->addWidget(directory_, 1, 1);
  grid->addWidget(browse, 1, 2);
  grid->setColumnStretch(1, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(add);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  directory_->setFocus();
}

std::string AddDirectoryDialog::Ask(const Format& format, QWidget* parent) {
  AddDirectoryDialog dialog(format, parent);
  return dialog.exec() == QDialog::Accepted ? dialog.path() : std::string();
}

void AddDirectoryDialog::add() {
  std::string path = AcceptDirectoryName(directory_->currentText().toStdString());
  if (path.empty()) return;
  path_ = path;
  accept();
}

void AddDirectoryDialog::browse() {
  QString start = directory_->currentText();
  if (start.isEmpty()) start = QString::fromStdString(platform::DriveCDirectory());
  const QString picked = QFileDialog::getExistingDirectory(this, tr("Add Directory"), start);
  if (!picked.isEmpty()) directory_->setCurrentText(picked);
}

}  // namespace kvqt::ui
