#include "ui/fonts.h"

#include <QApplication>
#include <QFontDatabase>

namespace kvqt::ui {

QFont DialogFont() {
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(8);
  return font;
}

QFont PrintFont() {
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPointSize(8);
  return font;
}

void ApplyDialogFont() { QApplication::setFont(DialogFont()); }

}  // namespace kvqt::ui
