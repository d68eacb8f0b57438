#include "ui/dialog_controls.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

namespace kvqt {

QString ControlName(int id) { return QStringLiteral("id%1").arg(id); }

QPushButton* PlainButton(const QString& text, int id, QWidget* parent) {
  auto* button = Named(new QPushButton(text, parent), id);
  button->setAutoDefault(false);
  return button;
}

QLabel* BuddyLabel(const QString& text, QWidget* buddy, QWidget* parent, int id) {
  auto* label = new QLabel(text, parent);
  label->setBuddy(buddy);
  if (id != 0) label->setObjectName(ControlName(id));
  return label;
}

void FitDropDown(QComboBox* combo) {
  int widest = 0;
  for (int i = 0; i < combo->count(); ++i)
    widest = std::max(widest, combo->view()->fontMetrics().horizontalAdvance(combo->itemText(i)));
  combo->view()->setMinimumWidth(widest + 8);
}

}  // namespace kvqt
