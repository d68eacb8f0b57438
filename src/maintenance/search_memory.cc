#include "maintenance/search_memory.h"

#include "app/model/format.h"
#include "maintenance/security_types.h"
#include "service/symbols/sintable.h"

namespace kvqt {

SearchFields FieldsOfCriteria(const SearchCriteria& criteria, const TSintable& table) {
  SearchFields fields;
  fields.typeButton = kAllTypesButtonId;
  if (criteria.conditions & kSearchName) fields.name = criteria.name;
  if (criteria.conditions & kSearchSymbol) fields.symbol = criteria.symbol;
  if (criteria.conditions & kSearchExchange) {
    if (const SinItem* exchange = table.findExchange(criteria.exchange)) fields.exchange = exchange->name.str();
  }
  if (criteria.conditions & kSearchCurrency) {
    if (const SinItem* currency = table.findCurrency(criteria.currency)) fields.currency = currency->name.str();
  }
  if (criteria.conditions & kSearchSecurityType) {
    for (const SecurityTypeButton& button : SecurityTypeButtons()) {
      if (button.code == criteria.securityType) {
        fields.typeButton = button.id;
        break;
      }
    }
  }
  return fields;
}

int SecurityTypeOfButton(int buttonId) {
  for (const SecurityTypeButton& button : SecurityTypeButtons())
    if (button.id == buttonId) return button.code;
  return -1;
}

int RowToReselect(const RememberedSearch& remembered, int rows) {
  if (rows <= 0) return -1;
  if (remembered.lastSelection >= 0 && remembered.lastSelection < rows) return remembered.lastSelection;
  return 0;
}

void ForgetLastSelection() { LastSearch().lastSelection = -1; }

void RememberLastSelection(int row) { LastSearch().lastSelection = row < 0 ? -1 : row; }

PickOutcome PickOutcomeOf(int selected) {
  if (selected <= 0) return PickOutcome::kNothing;
  if (selected == 1) return PickOutcome::kPickOne;
  return PickOutcome::kConfirmAdding;
}

PickedInstrument PickOf(const SinInstrument& instrument) {
  PickedInstrument picked;
  picked.name = instrument.name.str();
  while (!picked.name.empty() && picked.name.back() == ' ') picked.name.pop_back();
  picked.symbol = instrument.symbol.str();
  picked.startDate = instrument.start_date;
  return picked;
}

bool AddConfirmAsksInterval(const Format& format) { return format.intraday(); }

std::string IntervalFieldText(int interval) {
  return interval >= 1 && interval <= 60 ? std::to_string(interval) : std::string();
}

}  // namespace kvqt
