#include "ui/edit_price_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "maintenance/data_manager.h"
#include "ui/dialog_controls.h"

namespace kvqt::ui {

EditPriceDialog::EditPriceDialog(DataManager& manager, int k, QWidget* parent)
    : QDialog(parent), manager_(manager), record_(k) {
  setObjectName("KORV_EDIT_PRICE");
  setWindowTitle(tr("Edit price"));
  setModal(true);
  const PriceKind kind = manager.kind();
  const PriceRecord& record = manager.record(k);

  auto* heading = new QLabel(QString::fromStdString(EditHeadingText(kind, record)), this);
  heading->setObjectName("id110");
  heading->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

  const PriceFields texts = EditFieldTexts(kind, record);
  auto* form = new QFormLayout;
  const auto field = [&](const char* label, int id, const std::string& text) {
    auto* edit = new QLineEdit(QString::fromStdString(text), this);
    edit->setObjectName(ControlName(id));
    edit->setMinimumWidth(110);
    auto* name = new QLabel(tr(label), this);
    name->setBuddy(edit);
    form->addRow(name, edit);
    return edit;
  };
  open_ = field("&Open:", 460, texts.open);
  high_ = field("&High:", 461, texts.high);
  low_ = field("&Low:", 462, texts.low);
  close_ = field("&Close:", 463, texts.close);
  volume_ = field("&Volume:", 464, texts.volume);
  // Tick data has only a price and a volume.
  for (QLineEdit* edit : {open_, high_, low_}) edit->setEnabled(kind != PriceKind::kTick);

  auto* buttons = new QDialogButtonBox(this);
  auto* save = buttons->addButton(tr("&Save"), QDialogButtonBox::AcceptRole);
  save->setObjectName("id1");
  save->setDefault(true);
  auto* cancel = buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
  cancel->setObjectName("id2");
  connect(save, &QPushButton::clicked, this, &EditPriceDialog::save);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(heading);
  layout->addLayout(form);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  close_->setFocus();
}

void EditPriceDialog::save() {
  const auto text = [](const QLineEdit* edit) { return edit->text().toStdString(); };
  manager_.editRecord(record_, PriceFields{text(open_), text(high_), text(low_), text(close_), text(volume_)});
  accept();
}

}  // namespace kvqt::ui
