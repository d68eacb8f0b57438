// "KORV_FILEMANAGER_FIND": the text the file manager looks for.
#pragma once

#include <QDialog>
#include <optional>
#include <string>

class QLineEdit;

namespace kvqt::ui {

class FindDialog : public QDialog {
  Q_OBJECT

 public:
  // Prefilled with `text`, the last text looked for.
  FindDialog(const std::string& text, QWidget* parent);

  std::string text() const;

  // Runs the dialog; the text typed, or nothing after Cancel.
  static std::optional<std::string> Ask(const std::string& text, QWidget* parent);

 private:
  QLineEdit* text_;
};

}  // namespace kvqt::ui
