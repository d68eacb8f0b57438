// Searching the service's symbol catalogue: the conditions read from the
// search dialog with their checks, the matching over the instrument table,
// and the texts the dialog shows for what was found.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "datetime/date.h"
#include "service/symbols/sin_records.h"

namespace kvqt {

class TSintable;

// Condition flags.
inline constexpr int kSearchName = 1;
inline constexpr int kSearchSymbol = 2;
inline constexpr int kSearchExchange = 4;
inline constexpr int kSearchSecurityType = 8;
inline constexpr int kSearchCurrency = 16;

// The name and symbol fields take at most this many characters.
inline constexpr std::size_t kSearchTextLength = 40;

struct SearchCriteria {
  int conditions = 0;
  std::string symbol = {};
  std::string name = {};
  std::int32_t currency = 0;
  std::int32_t exchange = 0;
  int securityType = 0;
};

// The last search, kept for the program run so the dialog opens with it.
struct RememberedSearch {
  SearchCriteria criteria;
  bool exists = false;
  // The row of the last single selection, -1 for none.
  int lastSelection = -1;
};
RememberedSearch& LastSearch();

// The search dialog's fields as the user left them.
struct SearchInput {
  std::string_view name = {};
  std::string_view symbol = {};
  std::string_view exchange = {};  // the selected item, empty for none
  std::string_view currency = {};  // the same
  int securityType = -1;      // the code of the first selected type button; -1 for "All"
};

enum class SearchField { kNone, kName, kSymbol };

// 0 with the criteria, which also become the remembered search. -1 after
// "Search condition for name too short" or "Search condition for symbol too
// short" (a text of one character), or "No search conditions specified",
// which also forgets the remembered search; `focus` names the field to go to.
// Exchanges and currencies are looked up by name in `table`; an unknown one
// sets no condition.
int ReadSearchCriteria(const SearchInput& input, const TSintable& table, SearchCriteria& criteria,
                       SearchField* focus = nullptr);

// The positions, in table order, of the instruments that meet every condition:
// the name text within the name in any case, the symbol text within the
// symbol in its own case, equal exchange and currency codes, the security type
// (indices of the older code included). Without conditions nothing is found.
void MatchInstruments(const SearchCriteria& criteria, std::span<const SinInstrument> instruments,
                      std::vector<std::int32_t>& hits);
std::vector<std::int32_t> SearchInstruments(const SearchCriteria& criteria, const TSintable& table);

// A line of the results list: "%s\t%d" with name and sincode.
std::string ResultLine(const SinInstrument& instrument);
// The sincode behind the tab of a results line; false when there is none.
bool SincodeOfResultLine(std::string_view line, std::int32_t& sincode);

// The details shown for the selected result.
struct InstrumentDetails {
  std::string sincode;       // "%ld"
  std::string name;
  std::string symbol;
  std::string exchange;      // empty when the code is unknown
  std::string currency;      // the same
  std::string securityType;  // the type's name
  std::string startDate;     // "%d/%d/%04d", empty without a start date
};
InstrumentDetails DetailsOf(const SinInstrument& instrument, const TSintable& table);

// "No instruments selected", "1 instrument selected", "%d instruments selected".
std::string SelectionCountText(int selected);
// The pick/add dialog's button: "Close", "Select" or "Add..".
const char* PickButtonText(int selected);

}  // namespace kvqt
