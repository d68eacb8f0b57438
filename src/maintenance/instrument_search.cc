#include "maintenance/instrument_search.h"

#include <array>
#include <cstdio>

#include "app/core/messages.h"
#include "datetime/date_field_text.h"
#include "maintenance/security_types.h"
#include "service/symbols/sintable.h"

namespace kvqt {
namespace {

constexpr std::array<unsigned char, 256> MakeUpperTable() {
  std::array<unsigned char, 256> table{};
  for (int c = 0; c < 256; ++c) table[c] = static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  return table;
}
constexpr std::array<unsigned char, 256> kUpper = MakeUpperTable();

// Upper-cases at most kSearchTextLength characters into `out`.
std::string_view UpperCut(std::string_view text, char* out) {
  const std::size_t n = text.size() < kSearchTextLength ? text.size() : kSearchTextLength;
  for (std::size_t i = 0; i < n; ++i) out[i] = static_cast<char>(kUpper[static_cast<unsigned char>(text[i])]);
  return {out, n};
}

// The criteria made ready for the table walk, so that testing one instrument
// needs no allocation.
class Matcher {
 public:
  explicit Matcher(const SearchCriteria& c) : c_(c), name_(UpperCut(c.name, nameUpper_)) {}
  Matcher(const Matcher&) = delete;
  Matcher& operator=(const Matcher&) = delete;

  bool matches(const SinInstrument& r) const {
    if (c_.conditions & kSearchName) {
      char upper[kSearchTextLength];
      if (UpperCut(r.name.view(), upper).find(name_) == std::string_view::npos) return false;
    }
    if ((c_.conditions & kSearchSymbol) && r.symbol.view().find(c_.symbol) == std::string_view::npos) return false;
    if ((c_.conditions & kSearchExchange) && r.exchange != c_.exchange) return false;
    if ((c_.conditions & kSearchCurrency) && r.currency != c_.currency) return false;
    if ((c_.conditions & kSearchSecurityType) && !SecurityTypeMatches(r.security_type, c_.securityType))
      return false;
    return true;
  }

 private:
  const SearchCriteria& c_;
  char nameUpper_[kSearchTextLength] = {};
  std::string_view name_;  // in nameUpper_
};

}  // namespace

RememberedSearch& LastSearch() {
  static RememberedSearch remembered;
  return remembered;
}

int ReadSearchCriteria(const SearchInput& input, const TSintable& table, SearchCriteria& criteria,
                       SearchField* focus) {
  if (focus) *focus = SearchField::kNone;
  SearchCriteria read;
  const std::string_view name = input.name.substr(0, kSearchTextLength);
  if (name.size() == 1) {
    message("Search condition for name too short");
    if (focus) *focus = SearchField::kName;
    return -1;
  }
  if (!name.empty()) {
    read.conditions |= kSearchName;
    read.name = std::string(name);
  }
  const std::string_view symbol = input.symbol.substr(0, kSearchTextLength);
  if (symbol.size() == 1) {
    message("Search condition for symbol too short");
    if (focus) *focus = SearchField::kSymbol;
    return -1;
  }
  if (!symbol.empty()) {
    read.conditions |= kSearchSymbol;
    read.symbol = std::string(symbol);
  }
  if (!input.exchange.empty()) {
    if (const SinItem* exchange = table.findExchangeByName(input.exchange)) {
      read.conditions |= kSearchExchange;
      read.exchange = exchange->code;
    }
  }
  if (!input.currency.empty()) {
    if (const SinItem* currency = table.findCurrencyByName(input.currency)) {
      read.conditions |= kSearchCurrency;
      read.currency = currency->code;
    }
  }
  if (input.securityType >= 0) {
    read.conditions |= kSearchSecurityType;
    read.securityType = input.securityType;
  }
  if (read.conditions == 0) {
    message("No search conditions specified");
    LastSearch().exists = false;
    if (focus) *focus = SearchField::kName;
    return -1;
  }
  criteria = read;
  LastSearch().criteria = read;
  LastSearch().exists = true;
  return 0;
}

void MatchInstruments(const SearchCriteria& criteria, std::span<const SinInstrument> instruments,
                      std::vector<std::int32_t>& hits) {
  hits.clear();
  if (criteria.conditions == 0) return;
  const Matcher matcher(criteria);
  const std::int32_t count = static_cast<std::int32_t>(instruments.size());
  for (std::int32_t i = 0; i < count; ++i)
    if (matcher.matches(instruments[static_cast<std::size_t>(i)])) hits.push_back(i);
}

std::vector<std::int32_t> SearchInstruments(const SearchCriteria& criteria, const TSintable& table) {
  std::vector<std::int32_t> hits;
  MatchInstruments(criteria, table.tables().instruments.records(), hits);
  return hits;
}

std::string ResultLine(const SinInstrument& instrument) {
  std::string line = instrument.name.str();
  line += '\t';
  line += std::to_string(instrument.sincode);
  return line;
}

bool SincodeOfResultLine(std::string_view line, std::int32_t& sincode) {
  const std::size_t tab = line.rfind('\t');
  if (tab == std::string_view::npos) return false;
  std::string_view digits = line.substr(tab + 1);
  bool negative = !digits.empty() && digits.front() == '-';
  if (negative) digits.remove_prefix(1);
  if (digits.empty() || digits.size() > 10) return false;
  long long value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  if (negative) value = -value;
  if (value < INT32_MIN || value > INT32_MAX) return false;
  sincode = static_cast<std::int32_t>(value);
  return true;
}

InstrumentDetails DetailsOf(const SinInstrument& instrument, const TSintable& table) {
  InstrumentDetails details;
  details.sincode = std::to_string(instrument.sincode);
  details.name = instrument.name.str();
  details.symbol = instrument.symbol.str();
  if (const SinItem* exchange = table.findExchange(instrument.exchange)) details.exchange = exchange->name.str();
  if (const SinItem* currency = table.findCurrency(instrument.currency)) details.currency = currency->name.str();
  details.securityType = SecurityTypeName(instrument.security_type);
  if (!instrument.start_date.isNull()) details.startDate = DateFieldText(instrument.start_date);
  return details;
}

std::string SelectionCountText(int selected) {
  if (selected == 0) return "No instruments selected";
  if (selected == 1) return "1 instrument selected";
  return std::to_string(selected) + " instruments selected";
}

const char* PickButtonText(int selected) {
  if (selected == 0) return "Close";
  if (selected == 1) return "Select";
  return "Add..";
}

}  // namespace kvqt
