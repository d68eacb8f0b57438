// Append between every pair of the chart formats that keep a database, run as
// "Append All" by the headless step runner: only the source's records after
// the destination's last one are added, wherever the seek hint lands.
#include <gtest/gtest.h>

#include <cstring>

#include "app/runner/headless_progress.h"
#include "convert_test_util.h"
#include "maintenance/convert_datafile.h"
#include "maintenance/convert_steps.h"
#include "support/hex.h"

namespace kvqt {
namespace {

using testing::AsKeptBy;
using testing::Describe;
using testing::ReadRecords;
using testing::TempDir;
using testing::TradingDays;
using testing::WriteSymbol;

constexpr int kFormats[] = {4, 5, 0, 8, 6, 17};

std::vector<PriceRecord> Slice(const std::vector<PriceRecord>& records, std::size_t from, std::size_t to) {
  return std::vector<PriceRecord>(records.begin() + from, records.begin() + to);
}

// One record per calendar day.
std::vector<PriceRecord> CalendarDays(Date first, int count) {
  std::vector<PriceRecord> records = TradingDays(first, count);
  for (int i = 0; i < count; ++i) records[i].date = first.addDays(i);
  return records;
}

class AppendTest : public testing::ConvertTestBase {
 protected:
  int AppendAll(int sourceId, const std::string& sourcePath, int destinationId, const std::string& destinationPath) {
    Format& s = AddFormat(sourceId);
    Format& d = AddFormat(destinationId);
    ActionInfo action;
    action.sourceFormat = &s;
    action.sourceDirectory = &AddDirectory(s, sourcePath);
    action.destinationFormat = &d;
    action.destinationDirectory = destination = &AddDirectory(d, destinationPath);
    return progress.run(appendAllStep, action, destination->count());
  }
  HeadlessProgress progress;
  Directory* destination = nullptr;
};

TEST_F(AppendTest, EveryPairOfFormatsGetsTheNewerRecordsAcrossGaps) {
  // Weekends and New Year make the seek hint land early.
  const std::vector<PriceRecord> series = TradingDays(Date(2003, 12, 22), 30);
  for (int sourceId : kFormats) {
    for (int destinationId : kFormats) {
      if (sourceId == destinationId) continue;
      SCOPED_TRACE(::testing::Message() << sourceId << " -> " << destinationId);
      TempDir src, dst;
      WriteSymbol(src.path(), sourceId, "AAA", series);
      WriteSymbol(src.path(), sourceId, "CCC", Slice(series, 0, 10));
      const std::vector<PriceRecord> source = ReadRecords(src.path(), sourceId, "AAA");
      ASSERT_EQ(source.size(), series.size());
      WriteSymbol(dst.path(), destinationId, "AAA", Slice(source, 0, 12));
      // Not in the source: passed over without a word.
      WriteSymbol(dst.path(), destinationId, "BBB", Slice(source, 0, 3));
      // As new as the source: nothing to add.
      WriteSymbol(dst.path(), destinationId, "CCC", Slice(ReadRecords(src.path(), sourceId, "CCC"), 0, 10));
      const std::vector<PriceRecord> bbb = ReadRecords(dst.path(), destinationId, "BBB");
      const std::vector<PriceRecord> ccc = ReadRecords(dst.path(), destinationId, "CCC");

      ASSERT_EQ(kStepFinished, AppendAll(sourceId, src.path(), destinationId, dst.path()));
      EXPECT_EQ(Shown(), std::vector<std::string>{});
      std::vector<PriceRecord> appended = ReadRecords(dst.path(), destinationId, "AAA");
      EXPECT_EQ(Describe(appended), Describe(AsKeptBy(destinationId, source)));
      EXPECT_EQ(Describe(ReadRecords(dst.path(), destinationId, "BBB")), Describe(bbb));
      EXPECT_EQ(Describe(ReadRecords(dst.path(), destinationId, "CCC")), Describe(ccc));
      const Datafile* datafile = destination->bySymbol("AAA");
      ASSERT_NE(datafile, nullptr);
      EXPECT_EQ(datafile->recordCount(), 30);
      EXPECT_EQ(datafile->lastDate().value(), source.back().date.value());
    }
  }
}

TEST_F(AppendTest, AHintLandingPastNeededRecordsFallsBackToTheFirstRecord) {
  // Two records a day: more records than days puts the hint too late.
  std::vector<PriceRecord> twice;
  for (const PriceRecord& r : CalendarDays(Date(2004, 3, 1), 10)) {
    twice.push_back(r);
    twice.push_back(r);
    twice.back().close += 100;
  }
  TempDir src, dst;
  WriteSymbol(src.path(), 5, "AAA", twice);
  WriteSymbol(dst.path(), 4, "AAA", CalendarDays(Date(2004, 3, 1), 5));

  ASSERT_EQ(kStepFinished, AppendAll(5, src.path(), 4, dst.path()));
  std::vector<PriceRecord> expected = CalendarDays(Date(2004, 3, 1), 5);
  for (int i = 10; i < 20; i += 2) expected.push_back(twice[i]);
  EXPECT_EQ(Describe(ReadRecords(dst.path(), 4, "AAA")), Describe(AsKeptBy(4, expected)));
}

TEST_F(AppendTest, ACountPastTheEndOfTheSourceFallsBackToTheFirstRecord) {
  const std::vector<PriceRecord> days = CalendarDays(Date(2004, 3, 1), 20);
  TempDir src, dst;
  WriteSymbol(src.path(), 5, "AAA", days);
  WriteSymbol(dst.path(), 5, "AAA", Slice(days, 0, 15));
  // The index's record count (offset 69 of the record after the 91-byte
  // header) claims far more lines than the file has.
  std::string index = src.read("master.kvq");
  ASSERT_EQ(index.size(), 182u);
  ASSERT_EQ(index.substr(91 + 69, 4), testing::Hex("14 00 00 00"));
  index.replace(91 + 69, 4, testing::Hex("e8 03 00 00"));
  src.write("master.kvq", index);

  ASSERT_EQ(kStepFinished, AppendAll(5, src.path(), 5, dst.path()));
  EXPECT_EQ(Describe(ReadRecords(dst.path(), 5, "AAA")), Describe(AsKeptBy(5, days)));
}

TEST_F(AppendTest, TheSeekHintPassesOverTheOlderPartOfTheSource) {
  // A stray record at the start of the source: reading from the first record
  // would append it (and then nothing else), the hint never reads it. Hermes
  // knows its count only by reading every line, so it reads from the start.
  std::vector<PriceRecord> source = CalendarDays(Date(2000, 1, 1), 31);
  source.insert(source.begin(), TradingDays(Date(2005, 6, 1), 1)[0]);
  for (int sourceId : {4, 5, 0, 8, 6}) {
    SCOPED_TRACE(sourceId);
    TempDir src, dst;
    WriteSymbol(src.path(), sourceId, "AAA", source);
    const std::vector<PriceRecord> stored = ReadRecords(src.path(), sourceId, "AAA");
    ASSERT_EQ(stored.size(), source.size());
    WriteSymbol(dst.path(), 5, "AAA", Slice(stored, 1, 21));

    ASSERT_EQ(kStepFinished, AppendAll(sourceId, src.path(), 5, dst.path()));
    EXPECT_EQ(Describe(ReadRecords(dst.path(), 5, "AAA")), Describe(AsKeptBy(5, Slice(stored, 1, 32))));
  }
}

TEST_F(AppendTest, AnEmptyDestinationTakesEveryRecord) {
  const std::vector<PriceRecord> days = TradingDays(Date(2004, 3, 1), 7);
  for (int destinationId : {4, 5, 17}) {
    SCOPED_TRACE(destinationId);
    TempDir src, dst;
    WriteSymbol(src.path(), 8, "AAA", days);
    WriteSymbol(dst.path(), destinationId, "AAA", {});
    ASSERT_EQ(kStepFinished, AppendAll(8, src.path(), destinationId, dst.path()));
    EXPECT_EQ(Describe(ReadRecords(dst.path(), destinationId, "AAA")),
              Describe(AsKeptBy(destinationId, ReadRecords(src.path(), 8, "AAA"))));
  }
}

TEST_F(AppendTest, RefusalsAndFailuresAreShownForEachDataFileAndTheRunGoesOn) {
  TempDir dir, src, dst;
  WriteSymbol(dir.path(), 5, "AAA", TradingDays(Date(2004, 3, 1), 3));
  WriteSymbol(dir.path(), 5, "BBB", TradingDays(Date(2004, 3, 1), 3));
  ASSERT_EQ(kStepFinished, AppendAll(5, dir.path(), 5, dir.path()));
  EXPECT_EQ(Shown(), (std::vector<std::string>{kSameDirectoryText, kSameDirectoryText}));
  messages->clear();

  WriteSymbol(src.path(), 5, "AAA", TradingDays(Date(2004, 3, 1), 6));
  WriteSymbol(src.path(), 5, "BBB", TradingDays(Date(2004, 3, 1), 6));
  WriteSymbol(dst.path(), 4, "AAA", TradingDays(Date(2004, 3, 1), 3));
  WriteSymbol(dst.path(), 4, "BBB", TradingDays(Date(2004, 3, 1), 3));
  ASSERT_EQ(0, std::remove(src.file("AAA.prn").c_str()));
  ASSERT_EQ(kStepFinished, AppendAll(5, src.path(), 4, dst.path()));
  EXPECT_EQ(Shown(), std::vector<std::string>{"Error opening source datafile AAA"});
  EXPECT_EQ(ReadRecords(dst.path(), 4, "AAA").size(), 3u);
  EXPECT_EQ(ReadRecords(dst.path(), 4, "BBB").size(), 6u);
}

}  // namespace
}  // namespace kvqt
