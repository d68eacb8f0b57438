#include "ui/goto_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "maintenance/data_manager.h"

namespace kvqt::ui {

GotoDialog::GotoDialog(DataManager& manager, int selected, QWidget* parent)
    : QDialog(parent), manager_(manager), selected_(selected) {
  setObjectName("KORV_GOTO");
  setWindowTitle(tr("Goto"));
  setModal(true);

  date_ = new QLineEdit(QString::fromStdString(manager.gotoText(selected)), this);
  date_->setObjectName("id172");
  date_->setMinimumWidth(120);
  auto* label = new QLabel(tr("&Date:"), this);
  label->setBuddy(date_);
  auto* form = new QFormLayout;
  form->addRow(label, date_);

  auto* buttons = new QDialogButtonBox(this);
  auto* go = buttons->addButton(tr("Goto"), QDialogButtonBox::AcceptRole);
  go->setObjectName("id1");
  go->setDefault(true);
  auto* cancel = buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
  cancel->setObjectName("id2");
  connect(go, &QPushButton::clicked, this, &GotoDialog::go);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  date_->selectAll();
  date_->setFocus();
}

void GotoDialog::go() {
  // An invalid date was said; the dialog stays for another try.
  const int k = manager_.gotoDate(date_->text().toStdString(), selected_);
  if (k == 0) return;
  chosen_ = k;
  accept();
}

}  // namespace kvqt::ui
