#include "ui/split_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "maintenance/data_manager.h"
#include "ui/dialog_controls.h"

namespace kvqt::ui {
namespace {

QLineEdit* Field(const std::string& text, int id, QWidget* parent) {
  auto* edit = new QLineEdit(QString::fromStdString(text), parent);
  edit->setObjectName(ControlName(id));
  return edit;
}

}  // namespace

SplitDialog::SplitDialog(DataManager& manager, int k, QWidget* parent)
    : QDialog(parent), manager_(manager), proposal_(manager.proposeSplit(k)) {
  setObjectName("KORV_SPLIT");
  setWindowTitle(tr("Split"));
  setModal(true);
  const SplitFormTexts texts = ProposalTexts(proposal_);

  start_ = Field(texts.start, 172, this);
  end_ = Field(texts.end, 173, this);
  b_ = Field(texts.b, 373, this);
  a_ = Field(texts.a, 372, this);
  for (QLineEdit* ratio : {a_, b_}) ratio->setMaximumWidth(70);
  auto* startLabel = new QLabel(tr("&From:"), this);
  startLabel->setBuddy(start_);
  auto* endLabel = new QLabel(tr("&To:"), this);
  endLabel->setBuddy(end_);
  auto* splitLabel = new QLabel(tr("S&plit"), this);
  splitLabel->setBuddy(b_);
  auto* forLabel = new QLabel(tr("f&or"), this);
  forLabel->setBuddy(a_);

  auto* grid = new QGridLayout;
  grid->addWidget(startLabel, 0, 0);
  grid->addWidget(start_, 0, 1, 1, 3);
  grid->addWidget(endLabel, 1, 0);
  grid->addWidget(end_, 1, 1, 1, 3);
  grid->addWidget(splitLabel, 2, 0);
  grid->addWidget(b_, 2, 1);
  grid->addWidget(forLabel, 2, 2, Qt::AlignCenter);
  grid->addWidget(a_, 2, 3);

  auto* buttons = new QDialogButtonBox(this);
  auto* split = buttons->addButton(tr("Split"), QDialogButtonBox::AcceptRole);
  split->setObjectName("id1");
  split->setDefault(true);
  auto* cancel = buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
  cancel->setObjectName("id2");
  connect(split, &QPushButton::clicked, this, &SplitDialog::split);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  b_->setFocus();
}

void SplitDialog::split() {
  const auto text = [](const QLineEdit* edit) { return edit->text().toStdString(); };
  switch (manager_.split(text(start_), text(end_), text(a_), text(b_))) {
    case SplitFormError::kNone:
      accept();
      return;
    // A factor that is no number above 0 is emptied for a new one.
    case SplitFormError::kFactorA:
      a_->clear();
      a_->setFocus();
      return;
    case SplitFormError::kFactorB:
      b_->clear();
      b_->setFocus();
      return;
    case SplitFormError::kStartDate:
      start_->setFocus();
      return;
    case SplitFormError::kEndDate:
      end_->setFocus();
      return;
  }
}

}  // namespace kvqt::ui
