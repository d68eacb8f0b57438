#include "ui/add_confirm_dialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "maintenance/search_memory.h"
#include "maintenance/start_date_text.h"

namespace kvqt::ui {

AddConfirmDialog::AddConfirmDialog(long count, bool withInterval, int interval, QWidget* parent)
    : QDialog(parent), withInterval_(withInterval) {
  setObjectName("KORV_ADD_CONFIRM");
  setWindowTitle(tr("Add instruments"));
  setModal(true);

  auto* question = new QLabel(QString::fromStdString(AddConfirmQuestion(count)), this);
  question->setObjectName("question");

  start_ = new QLineEdit(QString::fromStdString(DefaultStartDateText()), this);
  start_->setObjectName("id172");
  start_->setMaxLength(12);
  start_->setMaximumWidth(start_->fontMetrics().horizontalAdvance("00/00/00000") + 16);
  auto* startLabel = new QLabel(tr("&Start date:"), this);
  startLabel->setBuddy(start_);

  interval_ = new QLineEdit(QString::fromStdString(IntervalFieldText(interval)), this);
  interval_->setObjectName("id681");
  interval_->setMaxLength(4);
  interval_->setMaximumWidth(interval_->fontMetrics().horizontalAdvance("00000") + 16);
  auto* intervalLabel = new QLabel(tr("&Interval:"), this);
  intervalLabel->setBuddy(interval_);
  auto* minutes = new QLabel(tr("minutes"), this);
  auto* intervalRow = new QHBoxLayout;
  intervalRow->addWidget(interval_);
  intervalRow->addWidget(minutes);
  intervalRow->addStretch();

  auto* add = new QPushButton(tr("Add"), this);
  add->setObjectName("id1");
  add->setDefault(true);
  auto* back = new QPushButton(tr("Back"), this);
  back->setObjectName("id2");
  connect(add, &QPushButton::clicked, this, &AddConfirmDialog::add);
  connect(back, &QPushButton::clicked, this, &QDialog::reject);

  auto* fields = new QFormLayout;
  fields->addRow(startLabel, start_);
  fields->addRow(intervalLabel, intervalRow);
  fields->setRowVisible(1, withInterval_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(add);
  buttons->addWidget(back);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(question);
  layout->addLayout(fields);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  start_->setFocus();
}

void AddConfirmDialog::add() {
  bool intervalAtFault = false;
  if (ReadAddConfirm(start_->text().toStdString(), interval_->text().toStdString(), withInterval_, values_,
                     &intervalAtFault) != 0) {
    QLineEdit* field = intervalAtFault ? interval_ : start_;
    field->setFocus();
    field->selectAll();
    return;
  }
  accept();
}

}  // namespace kvqt::ui
