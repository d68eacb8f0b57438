#include "ui/add_list_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "maintenance/list_editor.h"

namespace kvqt::ui {

AddListDialog::AddListDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("KORV_ADD_LIST");
  setWindowTitle(tr("Add list"));
  setModal(true);

  name_ = new QLineEdit(this);
  name_->setObjectName("id194");
  name_->setMaxLength(static_cast<int>(kLongestListName));
  name_->setMinimumWidth(260);
  auto* label = new QLabel(tr("List name"), this);
  label->setBuddy(name_);

  auto* add = new QPushButton(tr("Add"), this);
  add->setObjectName("id1");
  add->setDefault(true);
  auto* cancel = new QPushButton(tr("Cancel"), this);
  cancel->setObjectName("id2");
  connect(add, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(add);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(name_);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

std::string AddListDialog::name() const { return name_->text().toStdString(); }

std::string AddListDialog::Ask(QWidget* parent) {
  AddListDialog dialog(parent);
  return dialog.exec() == QDialog::Accepted ? dialog.name() : std::string();
}

}  // namespace kvqt::ui
