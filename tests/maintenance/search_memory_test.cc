// What the search dialog keeps between openings and hands back.
#include "maintenance/search_memory.h"

#include <gtest/gtest.h>

#include "app/model/format_ids.h"
#include "app/model/format_table.h"
#include "app/model/formats.h"
#include "maintenance/security_types.h"
#include "service/symbols/sintable.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

class SearchMemoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(0, table.putExchange({7, "Amsterdam"}));
    ASSERT_EQ(0, table.putCurrency({3, "EUR"}));
    LastSearch() = {};
  }
  void TearDown() override { LastSearch() = {}; }

  testing::TempDir dir;
  TSintable table{dir.path()};
};

TEST_F(SearchMemoryTest, FieldsRebuiltFromTheCriteria) {
  struct Case {
    const char* what;
    SearchCriteria criteria;
    SearchFields fields;
  } cases[] = {
      {"name only", {kSearchName, "", "ban"}, {"ban", "", "", "", 400}},
      {"symbol only", {kSearchSymbol, "AB", ""}, {"", "AB", "", "", 400}},
      {"texts without their flags stay out", {0, "AB", "ban"}, {"", "", "", "", 400}},
      {"exchange and currency by name", {kSearchExchange | kSearchCurrency, "", "", 3, 7}, {"", "", "Amsterdam", "EUR", 400}},
      {"codes the table lost", {kSearchExchange | kSearchCurrency, "", "", 4, 8}, {"", "", "", "", 400}},
      {"stocks", {kSearchSecurityType, "", "", 0, 0, 16}, {"", "", "", "", 404}},
      {"indices", {kSearchSecurityType, "", "", 0, 0, 0}, {"", "", "", "", 401}},
      {"investment funds", {kSearchSecurityType, "", "", 0, 0, 18}, {"", "", "", "", 413}},
      {"a type without a button", {kSearchSecurityType, "", "", 0, 0, 15}, {"", "", "", "", 400}},
      {"type flag off", {kSearchName, "", "xy", 0, 0, 16}, {"xy", "", "", "", 400}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const SearchFields fields = FieldsOfCriteria(c.criteria, table);
    EXPECT_EQ(c.fields.name, fields.name);
    EXPECT_EQ(c.fields.symbol, fields.symbol);
    EXPECT_EQ(c.fields.exchange, fields.exchange);
    EXPECT_EQ(c.fields.currency, fields.currency);
    EXPECT_EQ(c.fields.typeButton, fields.typeButton);
  }
}

TEST_F(SearchMemoryTest, TypeButtonsGiveTheirCodes) {
  const int cases[][2] = {{400, -1}, {404, 16}, {401, 0}, {402, 2},  {403, 32}, {408, 3},  {405, 1},  {406, 17},
                          {407, 34}, {409, 33}, {410, 4}, {412, 5}, {411, 61}, {413, 18}, {999, -1}};
  for (const auto& c : cases) EXPECT_EQ(c[1], SecurityTypeOfButton(c[0])) << c[0];
}

TEST_F(SearchMemoryTest, CriteriaReadFromTheFieldsComeBackAsTheSameFields) {
  const SearchInput input{.name = "bank", .symbol = "BK", .exchange = "Amsterdam", .currency = "EUR",
                          .securityType = SecurityTypeOfButton(406)};
  SearchCriteria criteria;
  ASSERT_EQ(0, ReadSearchCriteria(input, table, criteria));
  ASSERT_TRUE(LastSearch().exists);
  const SearchFields fields = FieldsOfCriteria(LastSearch().criteria, table);
  EXPECT_EQ("bank", fields.name);
  EXPECT_EQ("BK", fields.symbol);
  EXPECT_EQ("Amsterdam", fields.exchange);
  EXPECT_EQ("EUR", fields.currency);
  EXPECT_EQ(406, fields.typeButton);
}

TEST_F(SearchMemoryTest, RowReselected) {
  struct Case {
    int lastSelection;
    int rows;
    int row;
  } cases[] = {
      {-1, 0, -1}, {-1, 5, 0}, {3, 5, 3}, {4, 5, 4}, {5, 5, 0}, {9, 0, -1}, {0, 1, 0},
  };
  for (const Case& c : cases) {
    RememberedSearch remembered;
    remembered.exists = true;
    remembered.lastSelection = c.lastSelection;
    EXPECT_EQ(c.row, RowToReselect(remembered, c.rows)) << c.lastSelection << " of " << c.rows;
  }
}

TEST_F(SearchMemoryTest, LastSelectionRememberedAndForgotten) {
  RememberLastSelection(4);
  EXPECT_EQ(4, LastSearch().lastSelection);
  RememberLastSelection(-7);
  EXPECT_EQ(-1, LastSearch().lastSelection);
  RememberLastSelection(2);
  ForgetLastSelection();
  EXPECT_EQ(-1, LastSearch().lastSelection);
}

TEST_F(SearchMemoryTest, OutcomeByTheNumberSelected) {
  EXPECT_EQ(PickOutcome::kNothing, PickOutcomeOf(0));
  EXPECT_EQ(PickOutcome::kPickOne, PickOutcomeOf(1));
  EXPECT_EQ(PickOutcome::kConfirmAdding, PickOutcomeOf(2));
  EXPECT_EQ(PickOutcome::kConfirmAdding, PickOutcomeOf(300));
}

TEST_F(SearchMemoryTest, PickedInstrument) {
  SinInstrument r;
  r.symbol = "BANK";
  r.name = "Bank of Holland   ";
  r.start_date = Date(1999, 2, 3);
  PickedInstrument picked = PickOf(r);
  EXPECT_EQ("Bank of Holland", picked.name);
  EXPECT_EQ("BANK", picked.symbol);
  EXPECT_EQ(Date(1999, 2, 3), picked.startDate);
  r.start_date = Date();
  r.name = "";
  picked = PickOf(r);
  EXPECT_EQ("", picked.name);
  EXPECT_TRUE(picked.startDate.isNull());
}

TEST(AddConfirmFieldsTest, IntervalAskedForIntradayFormatsOnly) {
  Formats formats;
  MergeFormatTable(formats);
  const struct {
    int formatId;
    bool asks;
  } cases[] = {
      {kFormatIdMetastock, false},        {kFormatIdAscii, false},         {kFormatIdMetastockIntraday, true},
      {kFormatIdAsciiIntraday, true},     {kFormatIdHermesIntraday, true}, {kFormatIdHermes, false},
  };
  for (const auto& c : cases) {
    const Format* format = formats.findById(c.formatId);
    ASSERT_NE(nullptr, format) << c.formatId;
    EXPECT_EQ(c.asks, AddConfirmAsksInterval(*format)) << c.formatId;
  }
}

TEST(AddConfirmFieldsTest, IntervalFieldOpensWithAValidIntervalOnly) {
  const struct {
    int interval;
    const char* text;
  } cases[] = {{1, "1"}, {5, "5"}, {60, "60"}, {0, ""}, {61, ""}, {-3, ""}};
  for (const auto& c : cases) EXPECT_EQ(c.text, IntervalFieldText(c.interval)) << c.interval;
}

}  // namespace
}  // namespace kvqt
