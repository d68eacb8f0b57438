#include "service/import/import_tally.h"

#include <gtest/gtest.h>

#include "service/import/import_progress.h"

namespace kvqt {
namespace {

TEST(ImportTallyTest, SummaryTextCountsInTheSingularAndPlural) {
  const struct {
    std::int64_t records, datafiles, directories;
    const char* text;
  } cases[] = {
      {0, 0, 0, "Written: 0 records in 0 data files in 0 directories"},
      {1, 1, 1, "Written: 1 record in 1 data file in 1 directory"},
      {2, 2, 2, "Written: 2 records in 2 data files in 2 directories"},
      {123456, 50, 1, "Written: 123456 records in 50 data files in 1 directory"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ImportSummaryText(c.records, c.datafiles, c.directories), c.text);
    EXPECT_TRUE(IsImportSummaryText(c.text));
  }
  EXPECT_FALSE(IsImportSummaryText("Write to database"));
  EXPECT_FALSE(IsImportSummaryText("Written"));
}

TEST(ImportTallyTest, RecordsCountOnceTheirDataFileIsKept) {
  ImportTally tally;
  tally.record("/a/");
  tally.record("/a/");
  tally.finishDatafile(true);   // two records in /a/
  tally.record("/a/");
  tally.finishDatafile(false);  // refused: a merge that did not fit
  tally.finishDatafile(true);   // a data file that got nothing
  tally.record("/b/");
  tally.finishDatafile(true);
  tally.record("/a/");
  tally.finishDatafile(true);
  EXPECT_EQ(tally.records(), 4);
  EXPECT_EQ(tally.datafiles(), 3);
  EXPECT_EQ(tally.directories(), 2);
  EXPECT_EQ(ImportSummaryText(tally), "Written: 4 records in 3 data files in 2 directories");
}

TEST(ImportTallyTest, PercentOfStaysWithinTheWhole) {
  const struct {
    long long done, size;
    int percent;
  } cases[] = {
      {0, 100, 0}, {1, 100, 1}, {199, 200, 99}, {200, 200, 100}, {300, 200, 100},
      {-5, 200, 0}, {0, 0, 100}, {5, -1, 100}, {8LL << 40, 9LL << 40, 88},
  };
  for (const auto& c : cases) EXPECT_EQ(PercentOf(c.done, c.size), c.percent) << c.done << "/" << c.size;
}

}  // namespace
}  // namespace kvqt
