#include "ui/find_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/model/text_field.h"

namespace kvqt::ui {

FindDialog::FindDialog(const std::string& text, QWidget* parent) : QDialog(parent) {
  setObjectName("KORV_FILEMANAGER_FIND");
  setWindowTitle(tr("Find Instrument"));
  setModal(true);

  text_ = new QLineEdit(QString::fromStdString(text), this);
  text_->setObjectName("id470");
  // Name, blank and symbol: the longest text a row can hold.
  text_->setMaxLength(static_cast<int>(kInstrumentNameSize + 1 + kSymbolSize));
  text_->setMinimumWidth(260);
  text_->selectAll();
  auto* label = new QLabel(tr("Enter text to find"), this);
  label->setBuddy(text_);

  auto* find = new QPushButton(tr("&Find"), this);
  find->setObjectName("id1");
  find->setDefault(true);
  auto* cancel = new QPushButton(tr("Cancel"), this);
  cancel->setObjectName("id2");
  connect(find, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(find);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(text_);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

std::string FindDialog::text() const { return text_->text().toStdString(); }

std::optional<std::string> FindDialog::Ask(const std::string& text, QWidget* parent) {
  FindDialog dialog(text, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.text();
}

}  // namespace kvqt::ui
