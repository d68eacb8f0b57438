#include "ui/qt_messages.h"

#include <QApplication>
#include <QMessageBox>

namespace kvqt::ui {

void QtMessages::show(const std::string& text, const std::string& caption, MessageButton button) {
  QMessageBox box(QApplication::activeWindow());
  box.setWindowTitle(QString::fromStdString(caption));
  box.setText(QString::fromStdString(text));
  box.setStandardButtons(button == MessageButton::Ok ? QMessageBox::Ok : QMessageBox::Cancel);
  box.exec();
}

bool QtMessages::ask(const std::string& text) {
  QMessageBox box(QApplication::activeWindow());
  box.setWindowTitle(QString::fromLatin1(kProgramTitle));
  box.setIcon(QMessageBox::Question);
  box.setText(QString::fromStdString(text));
  box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

}  // namespace kvqt::ui
