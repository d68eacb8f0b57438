// "KORV_CONVERT" and "KORV_APPEND": converting or appending the data files of
// one directory into another, of the same or another format.
#pragma once

#include <QDialog>
#include <vector>

class QButtonGroup;
class QComboBox;
class QLineEdit;
class QListView;
class QRadioButton;

namespace kvqt {
class Application;
class Directory;
class Format;
class Formats;
enum class ConvertCommand;
}  // namespace kvqt

namespace kvqt::ui {

class DatafileListModel;

class ConvertDialog : public QDialog {
  Q_OBJECT

 public:
  // The convert dialog, or with `append` the append dialog.
  ConvertDialog(Formats& formats, bool append, QWidget* parent);

  Format* sourceFormat() const;
  Format* destinationFormat() const;
  // The directories named in the two directory lists; null when none.
  Directory* sourceDirectory() const;
  Directory* destinationDirectory() const;

 protected:
  void showEvent(QShowEvent* event) override;

 private slots:
  void chooseSourceFormat(int index);
  void chooseDestinationFormat(int index);
  void chooseSourceDirectory(int index);
  void chooseDestinationDirectory(int index);
  void editDirectories();

 private:
  struct Side {
    std::vector<Format*> formats;
    QComboBox* format = nullptr;
    QComboBox* directory = nullptr;
    QListView* symbols = nullptr;
    DatafileListModel* model = nullptr;
  };

  Format* shownFormat(const Side& side) const;
  Directory* shownDirectory(const Side& side) const;
  void refillDirectories(Side& side);
  void refillSymbols(Side& side);
  void run(ConvertCommand command);

  Formats& formats_;
  bool append_;
  Side source_;
  Side destination_;
  QLineEdit* startDate_ = nullptr;
  QRadioButton* overwrite_ = nullptr;
  QRadioButton* skip_ = nullptr;
  bool placed_ = false;
};

// Opens the dialog modally: the Convert command (`append` false) or the
// Append command (`append` true).
void RunConvertDialog(Application& application, bool append, QWidget* parent);

}  // namespace kvqt::ui
