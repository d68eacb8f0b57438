// "KORV_SEARCH": the search over the symbol table, in browse mode (the Search
// command) and in pick/add mode (the file manager's "&Search in catalog...").
#pragma once

#include <QDialog>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "datetime/date.h"

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace kvqt {
class Application;
class Format;
class Directory;
class TSintable;
}  // namespace kvqt

namespace kvqt::ui {

class SearchResultsModel;

// What the pick/add mode returns to the file manager.
struct CatalogPick {
  int selected = 0;    // the number of instruments selected when the dialog closed
  // Filled when exactly one was selected: the file manager puts name and symbol
  // into its fields.
  std::string name;    // trailing blanks removed
  std::string symbol;
  Date startDate;      // null when the entry has none
  bool added = false;  // several instruments were added to the directory
};

class SearchDialog : public QDialog {
  Q_OBJECT

 public:
  // Browse mode over the symbol table in `programDirectory` ("" for the
  // current directory).
  SearchDialog(const std::string& programDirectory, QWidget* parent);
  // Pick/add mode for `directory` of `format`.
  SearchDialog(const std::string& programDirectory, Format& format, Directory& directory, int interval,
               QWidget* parent);
  ~SearchDialog() override;

  bool pickMode() const { return format_ != nullptr; }
  // What the pick/add mode ended with (a count of 0 after Cancel).
  const CatalogPick& pick() const { return pick_; }
  SearchResultsModel* results() const { return model_; }

 private slots:
  void search();
  void closeButton();
  void selectionChanged();

 private:
  void build();
  void fillLists();
  void restoreLastSearch();
  void showResults(const std::vector<std::int32_t>& hits, int row);
  void showDetails(int row);
  int selectedCount() const;
  void addSelected();

  std::unique_ptr<TSintable> table_;
  Format* format_ = nullptr;
  Directory* directory_ = nullptr;
  int interval_ = 0;
  CatalogPick pick_;

  QLineEdit* name_ = nullptr;
  QLineEdit* symbol_ = nullptr;
  QComboBox* exchange_ = nullptr;
  QComboBox* currency_ = nullptr;
  QButtonGroup* types_ = nullptr;
  QGroupBox* instruments_ = nullptr;
  QTreeView* list_ = nullptr;
  SearchResultsModel* model_ = nullptr;
  QPushButton* close_ = nullptr;
  QLineEdit* details_[7] = {};
};

// Browse mode.
void RunSearchDialog(Application& application, QWidget* parent);

// Pick/add mode for `directory` of `format`; `interval` is the one to use for
// intraday formats.
CatalogPick RunSearchDialogToPick(Application& application, Format& format, Directory& directory, int interval,
                                  QWidget* parent);

}  // namespace kvqt::ui
