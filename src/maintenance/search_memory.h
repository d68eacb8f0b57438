// What the search dialog keeps between two openings and what it hands back:
// the fields rebuilt from the remembered criteria, the row reselected when the
// search runs again, the instrument picked for the file manager, and the
// add-confirm dialog's interval field.
#pragma once

#include <string>

#include "datetime/date.h"
#include "maintenance/instrument_search.h"

namespace kvqt {

class Format;

// The search dialog's fields as the remembered criteria fill them. An
// exchange or currency whose code the table no longer knows is left empty;
// a type without a button selects "All".
struct SearchFields {
  std::string name;
  std::string symbol;
  std::string exchange;
  std::string currency;
  int typeButton = 0;  // a button id of the type group
};
SearchFields FieldsOfCriteria(const SearchCriteria& criteria, const TSintable& table);

// The code of a type button, -1 for "All" or an unknown id (no condition).
int SecurityTypeOfButton(int buttonId);

// The row to select after the remembered search ran again over `rows` rows:
// the last single selection when it lies within the list, else the first
// row; -1 for an empty list.
int RowToReselect(const RememberedSearch& remembered, int rows);

// A search typed anew forgets the last single selection: its row belonged
// to the list before.
void ForgetLastSelection();
void RememberLastSelection(int row);

// What closing the pick/add mode does with that many rows selected.
enum class PickOutcome { kNothing, kPickOne, kConfirmAdding };
PickOutcome PickOutcomeOf(int selected);

// The instrument the file manager takes over: the name without trailing
// blanks, the symbol, the start date (null when the entry has none).
struct PickedInstrument {
  std::string name;
  std::string symbol;
  Date startDate;
};
PickedInstrument PickOf(const SinInstrument& instrument);

// The add-confirm dialog asks for an interval for intraday formats only.
bool AddConfirmAsksInterval(const Format& format);
// Its interval field opens with the interval passed in when that is a valid
// one (1-60), else empty, which stands for the default of 15.
std::string IntervalFieldText(int interval);

}  // namespace kvqt
