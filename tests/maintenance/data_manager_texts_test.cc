#include "maintenance/data_manager_texts.h"

#include <gtest/gtest.h>

#include <vector>

namespace kvqt {
namespace {

PriceRecord Sample() {
  PriceRecord r;
  r.date = Date(2001, 3, 4);
  r.time = Time(9, 5, 7);
  r.open = 1.5f;
  r.high = 2.25f;
  r.low = 1.125f;
  r.close = 2;
  r.volume = 12345.6f;
  return r;
}

TEST(DataManagerTextsTest, FactorFieldDecimalsFollowTheSize) {
  struct Case {
    float factor;
    const char* text;
  } cases[] = {{100, "100"}, {10, "10"}, {-12.5f, "-12"}, {9.999f, "10.00"}, {1, "1.00"},
               {0.1f, "0.10"}, {0.05f, "0.0500"}, {0, "0.0000"}};
  for (const Case& c : cases) EXPECT_EQ(c.text, FactorText(c.factor)) << c.factor;
}

TEST(DataManagerTextsTest, RangeLineByKindOfData) {
  Date first(1999, 1, 2), last(2001, 12, 31);
  Time t1(9, 0, 5), t2(17, 30, 0);
  EXPECT_EQ("2/1/1999 - 31/12/2001", RangeText(PriceKind::kDaily, first, Time(), last, Time(), 0));
  EXPECT_EQ("2/1/1999 09:00 - 31/12/2001 17:30 Interval 5 min", RangeText(PriceKind::kIntraday, first, t1, last, t2, 5));
  EXPECT_EQ("2/1/1999 09:00:05 - 31/12/2001 17:30:00 tick-by-tick", RangeText(PriceKind::kTick, first, t1, last, t2, 0));
  // The range of an empty data file, its last date before its first.
  EXPECT_EQ("2/1/1999 - 1/1/1999", RangeText(PriceKind::kDaily, first, Time(), first.addDays(-1), Time(), 0));
}

TEST(DataManagerTextsTest, GroupBoxColumnsAndRows) {
  EXPECT_EQ("prices (none)", PricesGroupText(0));
  EXPECT_EQ("prices (none)", PricesGroupText(-1));
  EXPECT_EQ("prices (1)", PricesGroupText(1));
  EXPECT_EQ("date", PriceColumnTitles(PriceKind::kDaily)[0]);
  EXPECT_EQ("date/time", PriceColumnTitles(PriceKind::kTick)[0]);
  EXPECT_EQ("volume", PriceColumnTitles(PriceKind::kDaily)[5]);
  for (int column = 0; column < kPriceColumns; ++column) {
    EXPECT_EQ(column >= 1 && column <= 3, PriceColumnHidden(PriceKind::kTick, column)) << column;
    EXPECT_FALSE(PriceColumnHidden(PriceKind::kIntraday, column));
  }
  auto daily = PriceRowTexts(PriceKind::kDaily, Sample());
  EXPECT_EQ("  4/3/2001", daily[0]);
  EXPECT_EQ("  1.50", daily[1]);
  EXPECT_EQ("  2.25", daily[2]);
  EXPECT_EQ("  1.12", daily[3]);
  EXPECT_EQ("  2.00", daily[4]);
  EXPECT_EQ("  12346", daily[5]);
  EXPECT_EQ("  4/3/2001 09:05", PriceRowTexts(PriceKind::kIntraday, Sample())[0]);
  EXPECT_EQ("  4/3/2001 09:05:07", PriceRowTexts(PriceKind::kTick, Sample())[0]);
}

TEST(DataManagerTextsTest, RowTextsOfEveryKindOfData) {
  struct Case {
    PriceKind kind;
    std::array<std::string, kPriceColumns> row;
  } cases[] = {
      {PriceKind::kDaily, {"  4/3/2001", "  1.50", "  2.25", "  1.12", "  2.00", "  12346"}},
      {PriceKind::kIntraday, {"  4/3/2001 09:05", "  1.50", "  2.25", "  1.12", "  2.00", "  12346"}},
      {PriceKind::kTick, {"  4/3/2001 09:05:07", "  1.50", "  2.25", "  1.12", "  2.00", "  12346"}},
  };
  for (const Case& c : cases) EXPECT_EQ(c.row, PriceRowTexts(c.kind, Sample()));
  EXPECT_EQ("4/3/2001 09:05", RecordWhenText(PriceKind::kIntraday, Sample().date, Sample().time));
  // A daily record without a time, shown as intraday data, reads 00:00.
  EXPECT_EQ("4/3/2001 00:00", RecordWhenText(PriceKind::kIntraday, Sample().date, Time()));
}

TEST(DataManagerTextsTest, WidestRowTextsSizeTheColumns) {
  std::vector<PriceRecord> records(3, Sample());
  records[1].close = 1234.5f;
  records[1].low = -10;
  records[2].volume = 7;
  records[2].open = 99.999f;
  struct Case {
    PriceKind kind;
    std::array<std::string, kPriceColumns> widest;
  } cases[] = {
      {PriceKind::kDaily, {"  28/12/2000", "  100.00", "  2.25", "  -10.00", "  1234.50", "  12346"}},
      {PriceKind::kTick, {"  28/12/2000 23:59:59", "  100.00", "  2.25", "  -10.00", "  1234.50", "  12346"}},
  };
  for (const Case& c : cases) EXPECT_EQ(c.widest, WidestRowTexts(c.kind, RecordArray(records)));
  // Without records only the date column has a text.
  auto empty = WidestRowTexts(PriceKind::kIntraday, RecordArray());
  EXPECT_EQ("  28/12/2000 23:59", empty[0]);
  EXPECT_EQ("", empty[4]);
}

TEST(DataManagerTextsTest, PriceEditorHeadingAndFields) {
  EXPECT_EQ("\n4/3/2001", EditHeadingText(PriceKind::kDaily, Sample()));
  EXPECT_EQ("4/3/2001 09:05", EditHeadingText(PriceKind::kIntraday, Sample()));
  EXPECT_EQ("4/3/2001 09:05:07", EditHeadingText(PriceKind::kTick, Sample()));

  PriceFields daily = EditFieldTexts(PriceKind::kDaily, Sample());
  EXPECT_EQ("1.50", daily.open);
  EXPECT_EQ("2.25", daily.high);
  EXPECT_EQ("1.12", daily.low);
  EXPECT_EQ("2.00", daily.close);
  EXPECT_EQ("12346", daily.volume);
  PriceFields tick = EditFieldTexts(PriceKind::kTick, Sample());
  EXPECT_EQ("", tick.open);
  EXPECT_EQ("", tick.high);
  EXPECT_EQ("", tick.low);
  EXPECT_EQ("2.00", tick.close);
}

TEST(DataManagerTextsTest, SavedFieldsAreReadAsNumbersAndTickDataKeepsItsDisabledOnes) {
  PriceFields fields{"3", "x", "2.5", "4.25", "100"};
  PriceRecord daily = ReadEditFields(PriceKind::kDaily, fields, Sample());
  EXPECT_EQ(3.0f, daily.open);
  EXPECT_EQ(0.0f, daily.high);  // no number
  EXPECT_EQ(2.5f, daily.low);
  EXPECT_EQ(4.25f, daily.close);
  EXPECT_EQ(100.0f, daily.volume);
  EXPECT_EQ(Date(2001, 3, 4), daily.date);

  PriceRecord tick = ReadEditFields(PriceKind::kTick, PriceFields{"", "", "", "4.25", "100"}, Sample());
  EXPECT_EQ(1.5f, tick.open);
  EXPECT_EQ(2.25f, tick.high);
  EXPECT_EQ(1.125f, tick.low);
  EXPECT_EQ(4.25f, tick.close);
}

}  // namespace
}  // namespace kvqt
