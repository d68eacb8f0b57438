#include "maintenance/split_proposal.h"

#include <gtest/gtest.h>

#include "maintenance_test_util.h"

namespace kvqt {
namespace {

using testing::Days;

PriceRecord Prices(Date date, float open, float close) {
  PriceRecord r = testing::Day(date, close, 1000);
  r.open = open;
  return r;
}

// Record e holds `open0` and `close0`, record e + 1 `open1` and `close1`.
RecordArray Jump(float open0, float close0, float open1, float close1) {
  return RecordArray({Prices(Date(2000, 1, 3), open0, close0), Prices(Date(2000, 1, 4), open0, close0),
                      Prices(Date(2000, 1, 5), open1, close1), Prices(Date(2000, 1, 6), open1, close1)});
}

TEST(SplitProposalTest, RatioFromThePriceJumpRoundedToOneDecimal) {
  struct Case {
    float open0, close0, open1, close1;
    const char* b;
    const char* a;
  } cases[] = {
      {100, 100, 50, 50, "2.00", "1.00"},      // 2 for 1
      {10, 10, 100, 100, "1.00", "10.00"},     // reverse 1 for 10
      {100, 100, 33, 33, "3.00", "1.00"},      // a ratio of 0.33
      {100, 100, 100, 100, "1.00", "1.00"},
      {90, 100, 26, 80, "3.80", "1.00"},       // the open after the close before: 1 / 0.26
      {0, 100, 70, 25, "4.00", "1.00"},        // no open on record e: close over close
      {0, 0, 50, 50, "1.00", "1.00"},          // no prices on record e
      {100, 0, 50, 50, "1.00", "1.00"},        // no close on record e: no ratio
      {100, 100, 0, 25, "4.00", "1.00"},       // no open on record e + 1: its close
      {100, 100, 0, 0, "1.00", "1.00"},        // no prices on record e + 1
  };
  for (const Case& c : cases) {
    RecordArray records = Jump(c.open0, c.close0, c.open1, c.close1);
    // Selected record 3: the split covers records 1 and 2.
    SplitProposal p = ProposeSplit(records, 3, nullptr, false);
    EXPECT_EQ(2, p.endIndex);
    EXPECT_EQ(c.b, SplitNumberText(p.b)) << c.open0 << " " << c.close0 << " " << c.open1 << " " << c.close1;
    EXPECT_EQ(c.a, SplitNumberText(p.a)) << c.open0 << " " << c.close0 << " " << c.open1 << " " << c.close1;
  }
}

TEST(SplitProposalTest, AnnouncedFactorIsTakenWithoutRounding) {
  RecordArray records(Days(5, 100, 1000));
  struct Case {
    float factor;
    double b, a;
  } cases[] = {{0.25f, 4, 1}, {2, 1, 2}, {1, 1, 1}, {0.3f, 1 / static_cast<double>(0.3f), 1}, {0, 1, 1}, {-2, 1, 1}};
  for (const Case& c : cases) {
    AnnouncedSplit announced{Date(2000, 1, 5), c.factor};
    SplitProposal p = ProposeSplit(records, 3, &announced, false);
    EXPECT_DOUBLE_EQ(c.b, p.b) << c.factor;
    EXPECT_DOUBLE_EQ(c.a, p.a) << c.factor;
  }
  AnnouncedSplit quarter{Date(2000, 1, 5), 0.25f};
  SplitFormTexts texts = ProposalTexts(ProposeSplit(records, 3, &quarter, false));
  EXPECT_EQ("4.00", texts.b);
  EXPECT_EQ("1.00", texts.a);
}

TEST(SplitProposalTest, RangeEndsBeforeTheSelectedRecordOrTakesTheLastDay) {
  RecordArray records(Days(5, 100, 1000));  // 3 to 7 January
  AnnouncedSplit later{Date(2000, 1, 9), 0.5f};
  AnnouncedSplit onLast{Date(2000, 1, 7), 0.5f};
  struct Case {
    int selected;
    const AnnouncedSplit* announced;
    bool lastDay;
    int end;
  } cases[] = {
      {3, nullptr, false, 2},
      {5, nullptr, false, 4},  // the user said No
      {5, nullptr, true, 5},
      {5, &later, false, 5},   // the last record is before the split date
      {5, &onLast, true, 4},   // on the split date: the answer plays no part
      {1, nullptr, false, 0},
  };
  for (const Case& c : cases) {
    SplitProposal p = ProposeSplit(records, c.selected, c.announced, c.lastDay);
    EXPECT_EQ(c.end, p.endIndex) << c.selected;
    EXPECT_EQ(Date(2000, 1, 3), p.startDate);
    EXPECT_EQ(records.at(c.end).date.value(), p.endDate.value()) << c.selected;
  }
  // Only the last record without an announced split asks.
  EXPECT_TRUE(AsksSplitLastDay(records, 5, nullptr));
  EXPECT_FALSE(AsksSplitLastDay(records, 4, nullptr));
  EXPECT_FALSE(AsksSplitLastDay(records, 5, &later));
}

TEST(SplitProposalTest, TheWholeFileSplitProposesOneForOne) {
  RecordArray records(Days(5, 100, 1000));
  SplitProposal p = ProposeSplit(records, 5, nullptr, true);
  EXPECT_EQ(1.0, p.a);
  EXPECT_EQ(1.0, p.b);
  SplitFormTexts texts = ProposalTexts(p);
  EXPECT_EQ("3/1/2000", texts.start);
  EXPECT_EQ("7/1/2000", texts.end);
}

TEST(SplitProposalTest, FormIsCheckedInTheDialogsOrder) {
  struct Case {
    const char *start, *end, *a, *b;
    SplitFormError error;
  } cases[] = {
      {"3/1/2000", "20000107", "1", "2", SplitFormError::kNone},
      {"x", "y", "0", "0", SplitFormError::kStartDate},
      {"3-1-2000", "31/2/2000", "1", "2", SplitFormError::kEndDate},
      {"3/1/2000", "7/1/2000", "abc", "0", SplitFormError::kFactorA},
      {"3/1/2000", "7/1/2000", "-1", "2", SplitFormError::kFactorA},
      {"3/1/2000", "7/1/2000", "1", "0", SplitFormError::kFactorB},
      {"3/1/2000", "7/1/2000", "3e38", "1e-38", SplitFormError::kFactorB},  // no price survives that
  };
  for (const Case& c : cases) {
    SplitRequest request;
    EXPECT_EQ(c.error, ReadSplitForm(c.start, c.end, c.a, c.b, request)) << c.start << " " << c.a << " " << c.b;
  }
  SplitRequest request;
  ASSERT_EQ(SplitFormError::kNone, ReadSplitForm("3/1/2000", "20000107", "1", "2", request));
  EXPECT_EQ(Date(2000, 1, 3), request.start);
  EXPECT_EQ(Date(2000, 1, 7), request.end);
  EXPECT_DOUBLE_EQ(0.5, request.factor());
  EXPECT_STREQ("Illegal split factor", SplitFormErrorText(SplitFormError::kFactorB));
  EXPECT_STREQ("Invalid end date\n\nEnter as YYYYMMDD or D/M/YYYY", SplitFormErrorText(SplitFormError::kEndDate));
}

}  // namespace
}  // namespace kvqt
