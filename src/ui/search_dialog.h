// "KORV_SEARCH": the search over the symbol table, in browse mode (the Search
// command) and in pick/add mode (the file manager's "&Search in catalog...").
#pragma once

#include <string>

#include "datetime/date.h"

class QWidget;

namespace kvqt {
class Application;
class Format;
class Directory;
}

namespace kvqt::ui {

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

// Browse mode.
void RunSearchDialog(Application& application, QWidget* parent);

// Pick/add mode for `directory` of `format`; `interval` is the one to use for
// intraday formats.
CatalogPick RunSearchDialogToPick(Application& application, Format& format, Directory& directory, int interval,
                                  QWidget* parent);

}  // namespace kvqt::ui
