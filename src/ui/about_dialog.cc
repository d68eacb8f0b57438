#include "ui/about_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/core/messages.h"
#include "app/runner/version.h"
#include "ui/icons.h"

namespace kvqt::ui {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("KORV_ABOUT");
  setWindowTitle(tr("About"));
  auto* icon = new QLabel(this);
  icon->setPixmap(ProgramIcon().pixmap(48, 48));
  auto* name = new QLabel(QString::fromLatin1(kProgramTitle), this);
  auto* version = new QLabel(QString::fromStdString(FormatVersion(kProgramVersion)), this);
  version->setObjectName("420");
  auto* close = new QPushButton(tr("&Close"), this);
  close->setObjectName("close");
  close->setDefault(true);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(icon, 0, Qt::AlignHCenter);
  layout->addWidget(name, 0, Qt::AlignHCenter);
  layout->addWidget(version, 0, Qt::AlignHCenter);
  layout->addWidget(close, 0, Qt::AlignHCenter);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace kvqt::ui
