#include "ui/about_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "app/core/messages.h"
#include "app/runner/version.h"
#include "ui/icons.h"

namespace kvqt::ui {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("KORV_ABOUT");
  setWindowTitle(tr("About"));
  setModal(true);

  auto* icon = new QLabel(this);
  icon->setPixmap(ProgramIcon().pixmap(48, 48));
  auto* name = new QLabel(QString::fromLatin1(kProgramTitle), this);
  QFont bold = name->font();
  bold.setBold(true);
  bold.setPointSizeF(bold.pointSizeF() * 1.3);
  name->setFont(bold);
  auto* versionLabel = new QLabel(tr("Version"), this);
  auto* version = new QLabel(QString::fromStdString(FormatVersion(kProgramVersion)), this);
  version->setObjectName("id420");
  version->setTextInteractionFlags(Qt::TextSelectableByMouse);
  versionLabel->setBuddy(version);
  auto* close = new QPushButton(tr("&Close"), this);
  close->setObjectName("id1");
  close->setDefault(true);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);

  auto* versionRow = new QHBoxLayout;
  versionRow->setSpacing(6);
  versionRow->addWidget(versionLabel);
  versionRow->addWidget(version);
  versionRow->addStretch();
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(close);

  auto* layout = new QGridLayout(this);
  layout->setHorizontalSpacing(16);
  layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
  layout->addWidget(name, 0, 1);
  layout->addLayout(versionRow, 1, 1);
  layout->addLayout(buttons, 2, 0, 1, 2);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace kvqt::ui
