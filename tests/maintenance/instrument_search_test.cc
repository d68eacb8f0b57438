// Searching the symbol catalogue: the checks of the typed conditions, the
// matching, and the texts shown for the results.
#include "maintenance/instrument_search.h"

#include <gtest/gtest.h>

#include "app/core/messages.h"
#include "maintenance/security_types.h"
#include "service/symbols/sintable.h"
#include "support/temp_dir.h"
#include "symbols/catalogue_instrument.h"

namespace kvqt {
namespace {

using testing::CatalogueInstrument;

class InstrumentSearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(0, table.putExchange({1, "Amsterdam"}));
    ASSERT_EQ(0, table.putExchange({2, "Brussels"}));
    ASSERT_EQ(0, table.putCurrency({1, "EUR"}));
    ASSERT_EQ(0, table.putCurrency({2, "USD"}));
    const SinInstrument instruments[] = {
        CatalogueInstrument(10, "BANK", "Bank of Holland", 16, 1, 1, Date(1999, 2, 3)),
        CatalogueInstrument(11, "URB", "URBAN HOLDINGS", 16, 2, 1),
        CatalogueInstrument(12, "ALB", "Albany Trust", 16, 1, 2),
        CatalogueInstrument(13, "AEX", "AEX Index", 0, 1, 1),
        CatalogueInstrument(14, "BEL20", "Bel 20 Index", 60, 2, 1),
        CatalogueInstrument(15, "bandx", "Other Thing", 99, 1, 1),
        CatalogueInstrument(16, "ZZ", "Plain Company", 16, 1, 1),
    };
    for (const SinInstrument& r : instruments) ASSERT_EQ(1, table.addInstrument(r));
  }

  std::vector<std::int32_t> Sincodes(const SearchCriteria& criteria) {
    std::vector<std::int32_t> sincodes;
    for (std::int32_t i : SearchInstruments(criteria, table)) sincodes.push_back(table.instrument(i)->sincode);
    return sincodes;
  }

  std::vector<std::int32_t> Search(const SearchInput& input) {
    SearchCriteria criteria;
    if (ReadSearchCriteria(input, table, criteria) != 0) return {-1};
    return Sincodes(criteria);
  }

  testing::TempDir dir;
  TSintable table{dir.path()};
  ScopedMessages messages;
};

TEST_F(InstrumentSearchTest, ConditionsAndWhatTheyFind) {
  struct Case {
    const char* what;
    SearchInput input;
    std::vector<std::int32_t> found;
  } cases[] = {
      {"name in any case, also inside a word", {.name = "ban"}, {10, 11, 12}},
      {"symbol in its own case", {.symbol = "ban"}, {15}},
      {"two letters search", {.name = "ba"}, {10, 11, 12}},
      {"indices of both codes", {.securityType = kSecurityTypeIndex}, {13, 14}},
      {"the older index code alone", {.securityType = kSecurityTypeIndexOld}, {14}},
      {"name and exchange", {.name = "ban", .exchange = "Amsterdam"}, {10, 12}},
      {"name and currency", {.name = "ban", .currency = "USD"}, {12}},
      {"exchange and type", {.exchange = "Brussels", .securityType = 16}, {11}},
      {"unknown exchange sets no condition", {.name = "index", .exchange = "Nowhere"}, {13, 14}},
      {"nothing matches", {.name = "nothing like it"}, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(c.found, Search(c.input)) << c.what;
  EXPECT_TRUE(messages->shown().empty());
}

TEST_F(InstrumentSearchTest, OneLetterConditionsAreRefused) {
  struct Case {
    SearchInput input;
    const char* shown;
    SearchField focus;
  } cases[] = {
      {{.name = "b"}, "Search condition for name too short", SearchField::kName},
      {{.name = "b", .symbol = "b"}, "Search condition for name too short", SearchField::kName},
      {{.symbol = "b"}, "Search condition for symbol too short", SearchField::kSymbol},
      {{.exchange = "Nowhere"}, "No search conditions specified", SearchField::kName},
      {{}, "No search conditions specified", SearchField::kName},
  };
  for (const Case& c : cases) {
    messages->clear();
    LastSearch().exists = true;
    SearchCriteria criteria;
    SearchField focus = SearchField::kNone;
    EXPECT_EQ(-1, ReadSearchCriteria(c.input, table, criteria, &focus)) << c.shown;
    ASSERT_EQ(1u, messages->shown().size());
    EXPECT_EQ(c.shown, messages->shown()[0].text);
    EXPECT_EQ(c.focus, focus) << c.shown;
    // Only "no conditions" forgets the last search.
    EXPECT_EQ(c.focus != SearchField::kName || c.input.name.size() == 1, LastSearch().exists) << c.shown;
  }
}

TEST_F(InstrumentSearchTest, CriteriaAreRemembered) {
  LastSearch() = RememberedSearch();
  SearchCriteria criteria;
  ASSERT_EQ(0, ReadSearchCriteria({.name = "Bank", .symbol = "BA", .exchange = "Amsterdam", .currency = "EUR",
                                   .securityType = 16},
                                  table, criteria));
  EXPECT_EQ(kSearchName | kSearchSymbol | kSearchExchange | kSearchCurrency | kSearchSecurityType,
            criteria.conditions);
  EXPECT_EQ("Bank", criteria.name);
  EXPECT_EQ("BA", criteria.symbol);
  EXPECT_EQ(1, criteria.exchange);
  EXPECT_EQ(1, criteria.currency);
  EXPECT_EQ(16, criteria.securityType);
  EXPECT_TRUE(LastSearch().exists);
  EXPECT_EQ(-1, LastSearch().lastSelection);
  EXPECT_EQ(criteria.conditions, LastSearch().criteria.conditions);
  EXPECT_EQ("Bank", LastSearch().criteria.name);
  EXPECT_EQ((std::vector<std::int32_t>{10}), Sincodes(criteria));
}

TEST_F(InstrumentSearchTest, NamesCompareOverFortyCharacters) {
  ASSERT_EQ(1, table.addInstrument(CatalogueInstrument(20, "LONG", (std::string(36, 'x') + "TAIL").c_str())));
  SearchCriteria criteria;
  criteria.conditions = kSearchName;
  criteria.name = "tail";
  EXPECT_EQ((std::vector<std::int32_t>{20}), Sincodes(criteria));
  // A text longer than 40 characters is searched for by its first 40.
  criteria.name = std::string(36, 'X') + "TAIL and more";
  EXPECT_EQ((std::vector<std::int32_t>{20}), Sincodes(criteria));
}

TEST_F(InstrumentSearchTest, ResultLinesAndDetails) {
  const SinInstrument* bank = table.findInstrument(10);
  ASSERT_NE(nullptr, bank);
  EXPECT_EQ("Bank of Holland\t10", ResultLine(*bank));
  std::int32_t sincode = 0;
  ASSERT_TRUE(SincodeOfResultLine("Bank of Holland\t10", sincode));
  EXPECT_EQ(10, sincode);
  EXPECT_FALSE(SincodeOfResultLine("no tab", sincode));
  EXPECT_FALSE(SincodeOfResultLine("x\t12a", sincode));
  EXPECT_FALSE(SincodeOfResultLine("x\t99999999999", sincode));

  InstrumentDetails details = DetailsOf(*bank, table);
  EXPECT_EQ("10", details.sincode);
  EXPECT_EQ("Bank of Holland", details.name);
  EXPECT_EQ("BANK", details.symbol);
  EXPECT_EQ("Amsterdam", details.exchange);
  EXPECT_EQ("EUR", details.currency);
  EXPECT_EQ("Share", details.securityType);
  EXPECT_EQ("3/2/1999", details.startDate);

  SinInstrument unknown = CatalogueInstrument(30, "Q", "Q", 7, 9, 9);
  details = DetailsOf(unknown, table);
  EXPECT_EQ("", details.exchange);
  EXPECT_EQ("", details.currency);
  EXPECT_EQ("Other", details.securityType);
  EXPECT_EQ("", details.startDate);
}

TEST(SecurityTypesTest, NamesShown) {
  struct Case {
    int code;
    const char* name;
  } cases[] = {{0, "Index"},          {1, "Interest"},   {2, "Commodity"},      {3, "Currency"},
               {4, "Option"},         {5, "Future"},     {15, "Miscellaneous"}, {16, "Share"},
               {17, "Warrant"},       {18, "Investment Fund"}, {32, "Bond"},    {33, "Yield"},
               {34, "Convertible"},   {60, "Index"},     {61, "Tracker"},       {6, "Other"},
               {255, "Other"}};
  for (const Case& c : cases) EXPECT_STREQ(c.name, SecurityTypeName(c.code)) << c.code;
}

TEST(SecurityTypesTest, ButtonsInTheOrderASearchReadsThem) {
  std::vector<std::string> labels;
  for (const SecurityTypeButton& b : SecurityTypeButtons()) labels.push_back(b.label);
  EXPECT_EQ((std::vector<std::string>{"Stocks", "Indices", "Commodities", "Bonds", "Currencies", "Interest",
                                      "Warrants", "Convertibles", "Yields", "Options", "Futures", "Trackers",
                                      "Investment Funds"}),
            labels);
  EXPECT_EQ(401, SecurityTypeButtons()[1].id);
  EXPECT_EQ(kSecurityTypeIndex, SecurityTypeButtons()[1].code);
}

TEST(SelectionTextsTest, CountsAndButton) {
  EXPECT_EQ("No instruments selected", SelectionCountText(0));
  EXPECT_EQ("1 instrument selected", SelectionCountText(1));
  EXPECT_EQ("12 instruments selected", SelectionCountText(12));
  EXPECT_STREQ("Close", PickButtonText(0));
  EXPECT_STREQ("Select", PickButtonText(1));
  EXPECT_STREQ("Add..", PickButtonText(2));
}

}  // namespace
}  // namespace kvqt
