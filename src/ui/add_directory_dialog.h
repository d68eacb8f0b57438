// "KORV_ADD_DIR": a directory for a format, typed or picked, checked (and made
// when missing) before the dialog closes with it.
#pragma once

#include <QDialog>
#include <string>

class QComboBox;

namespace kvqt {
class Format;
}

namespace kvqt::ui {

class AddDirectoryDialog : public QDialog {
  Q_OBJECT

 public:
  AddDirectoryDialog(const Format& format, QWidget* parent);

  // The accepted directory, ending in a separator.
  const std::string& path() const { return path_; }

  // Runs the dialog; the accepted directory, or empty after Cancel.
  static std::string Ask(const Format& format, QWidget* parent);

 private slots:
  void add();
  void browse();

 private:
  QComboBox* directory_;
  std::string path_;
};

}  // namespace kvqt::ui
