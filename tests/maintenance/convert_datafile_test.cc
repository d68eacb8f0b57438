// Convert between every pair of the chart formats that keep a database, run
// as "Convert All" by the headless step runner, with the destination checked
// against what its format keeps of the source's records.
#include "maintenance/convert_datafile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "app/runner/headless_progress.h"
#include "convert_test_util.h"
#include "maintenance/convert_steps.h"

namespace kvqt {
namespace {

using testing::AsKeptBy;
using testing::Describe;
using testing::ReadRecords;
using testing::TempDir;
using testing::TradingDays;
using testing::WriteSymbol;

// MetaStock, ASCII, Technical Investor, TopVest, Koersbase II, Hermes.
constexpr int kFormats[] = {4, 5, 0, 8, 6, 17};

std::vector<PriceRecord> From(Date start, const std::vector<PriceRecord>& records) {
  std::vector<PriceRecord> kept;
  for (const PriceRecord& r : records)
    if (start.isNull() || r.date.value() >= start.value()) kept.push_back(r);
  return kept;
}

class ConvertTest : public testing::ConvertTestBase {
 protected:
  struct Run {
    Format* sourceFormat;
    Directory* source;
    Format* destinationFormat;
    Directory* destination;
  };
  Run Model(int sourceId, const std::string& sourcePath, int destinationId, const std::string& destinationPath) {
    Format& s = AddFormat(sourceId);
    Format& d = AddFormat(destinationId);
    return {&s, &AddDirectory(s, sourcePath), &d, &AddDirectory(d, destinationPath)};
  }
  int ConvertAll(const Run& run, Date start = Date(), int flags = kConvertOverwrite) {
    ActionInfo action;
    action.sourceFormat = run.sourceFormat;
    action.sourceDirectory = run.source;
    action.destinationFormat = run.destinationFormat;
    action.destinationDirectory = run.destination;
    action.startDate = start;
    action.convertFlags = flags;
    return progress.run(convertAllStep, action, run.source->count());
  }
  HeadlessProgress progress;
};

TEST_F(ConvertTest, EveryPairOfFormatsKeepsTheSourceRecords) {
  const std::vector<PriceRecord> aaa = TradingDays(Date(2003, 12, 22), 30);
  const std::vector<PriceRecord> bbb = TradingDays(Date(2004, 1, 12), 6, 150.0f);
  for (int sourceId : kFormats) {
    for (int destinationId : kFormats) {
      if (sourceId == destinationId) continue;
      for (Date start : {Date(), Date(2004, 1, 5)}) {
        SCOPED_TRACE(::testing::Message() << sourceId << " -> " << destinationId << " from " << start.value());
        TempDir src, dst;
        WriteSymbol(src.path(), sourceId, "AAA", aaa);
        WriteSymbol(src.path(), sourceId, "BBB", bbb);
        Run run = Model(sourceId, src.path(), destinationId, dst.path());

        ASSERT_EQ(kStepFinished, ConvertAll(run, start));
        EXPECT_EQ(Shown(), std::vector<std::string>{});
        for (const std::string symbol : {"AAA", "BBB"}) {
          SCOPED_TRACE(symbol);
          std::vector<PriceRecord> source = From(start, ReadRecords(src.path(), sourceId, symbol));
          std::vector<PriceRecord> converted = ReadRecords(dst.path(), destinationId, symbol);
          ASSERT_FALSE(source.empty());
          EXPECT_EQ(Describe(converted), Describe(AsKeptBy(destinationId, source)));
          // Whatever else a format drops, dates and closes survive.
          ASSERT_EQ(converted.size(), source.size());
          for (std::size_t i = 0; i < source.size(); ++i) {
            EXPECT_EQ(converted[i].date.value(), source[i].date.value());
            EXPECT_NEAR(converted[i].close, source[i].close, 0.01);
          }
          // The destination's model knows the new data file.
          const Datafile* datafile = run.destination->bySymbol(symbol);
          ASSERT_NE(datafile, nullptr);
          EXPECT_EQ(datafile->recordCount(), static_cast<int>(source.size()));
          EXPECT_EQ(datafile->lastDate().value(), source.back().date.value());
          EXPECT_EQ(datafile->firstDate().value(), source.front().date.value());
        }
        messages->clear();
      }
    }
  }
}

TEST_F(ConvertTest, SkipLeavesFilesWithRecordsAndOverwriteReplacesThem) {
  const std::vector<PriceRecord> source = TradingDays(Date(2004, 2, 2), 8);
  const std::vector<PriceRecord> older = TradingDays(Date(2003, 6, 2), 12, 70.0f);
  struct Case {
    int destinationId;
    int flags;
    bool destinationEmpty;
    bool replaced;
  } cases[] = {
      {4, kConvertSkipExisting, false, false}, {4, kConvertSkipExisting, true, true},
      {4, kConvertOverwrite, false, true},     {17, kConvertSkipExisting, false, false},
      {17, kConvertSkipExisting, true, true},  {17, kConvertOverwrite, false, true},
      {8, kConvertSkipExisting, false, false}, {8, kConvertSkipExisting, true, true},
      {8, kConvertOverwrite, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.destinationId << " flags " << c.flags << " empty " << c.destinationEmpty);
    TempDir src, dst;
    WriteSymbol(src.path(), 5, "AAA", source);
    WriteSymbol(dst.path(), c.destinationId, "AAA", c.destinationEmpty ? std::vector<PriceRecord>{} : older);
    const std::vector<PriceRecord> before = ReadRecords(dst.path(), c.destinationId, "AAA");
    Run run = Model(5, src.path(), c.destinationId, dst.path());
    ASSERT_GE(run.destination->refresh(), 0);

    ASSERT_EQ(kStepFinished, ConvertAll(run, Date(), c.flags));
    std::vector<PriceRecord> after = ReadRecords(dst.path(), c.destinationId, "AAA");
    if (c.replaced)
      EXPECT_EQ(Describe(after), Describe(AsKeptBy(c.destinationId, source)));
    else
      EXPECT_EQ(Describe(after), Describe(before));
    EXPECT_EQ(run.destination->size(), 1);
    EXPECT_EQ(Shown(), std::vector<std::string>{});
  }
}

TEST_F(ConvertTest, SameDirectoryIsRefusedUnderEverySpelling) {
  TempDir dir, elsewhere;
  WriteSymbol(dir.path(), 5, "AAA", TradingDays(Date(2004, 2, 2), 5));
  const std::vector<PriceRecord> before = ReadRecords(dir.path(), 5, "AAA");
  const std::string bare = dir.path().substr(0, dir.path().size() - 1);
  ASSERT_EQ(0, ::symlink(bare.c_str(), elsewhere.file("link").c_str()));
  const std::string spellings[] = {dir.path(), bare, dir.path() + "./", elsewhere.file("link")};
  for (const std::string& destination : spellings) {
    SCOPED_TRACE(destination);
    Run run = Model(5, dir.path(), 4, destination);
    ASSERT_EQ(kStepStop, ConvertAll(run));
    EXPECT_EQ(Shown(), std::vector<std::string>{kSameDirectoryText});
    EXPECT_EQ(Describe(ReadRecords(dir.path(), 5, "AAA")), Describe(before));
    messages->clear();
  }
}

TEST_F(ConvertTest, ASymbolTheSourceMasterLacksIsReportedAndTheRunGoesOn) {
  TempDir src, dst;
  WriteSymbol(src.path(), 5, "AAA", TradingDays(Date(2004, 2, 2), 5), "Aaa");
  Run run = Model(5, src.path(), 4, dst.path());
  ASSERT_EQ(run.source->refresh(), 1);
  // Known to the model, not to the master: sorts first by its name.
  run.source->add(std::make_unique<Datafile>("ZZZ", "A lost one", 5));

  ASSERT_EQ(kStepFinished, ConvertAll(run));
  EXPECT_EQ(Shown(), std::vector<std::string>{"Can't find symbol in source masterfile ZZZ"});
  EXPECT_EQ(ReadRecords(dst.path(), 4, "AAA").size(), 5u);
}

TEST_F(ConvertTest, ASymbolThatCannotNameADestinationFileIsRefusedAndTheRunGoesOn) {
  TempDir src, dst;
  // MetaStock numbers its files; the ASCII layout names them after the symbol.
  WriteSymbol(src.path(), 4, "AB/C", TradingDays(Date(2004, 2, 2), 5), "Aaa");
  WriteSymbol(src.path(), 4, "ZZZ", TradingDays(Date(2004, 2, 2), 4), "Zzz");
  Run run = Model(4, src.path(), 5, dst.path());
  for (int pass = 0; pass < 2; ++pass) {  // a rerun fares no worse
    SCOPED_TRACE(pass);
    messages->clear();
    ASSERT_EQ(kStepFinished, ConvertAll(run));
    EXPECT_EQ(Shown(), std::vector<std::string>{"Error creating destination datafile AB/C"});
    EXPECT_EQ(ReadRecords(dst.path(), 5, "ZZZ").size(), 4u);
    DatafileEntry entry;
    EXPECT_NE(FindEntry("AB/C", entry, 5, dst.path()), 0);  // no entry without a data file
  }
}

TEST_F(ConvertTest, AnUnreadableSourceStopsTheRunBeforeTheDestinationIsEmptied) {
  TempDir src, dst;
  WriteSymbol(src.path(), 5, "AAA", TradingDays(Date(2004, 2, 2), 5));
  WriteSymbol(dst.path(), 4, "AAA", TradingDays(Date(2003, 2, 3), 9));
  const std::vector<PriceRecord> before = ReadRecords(dst.path(), 4, "AAA");
  Run run = Model(5, src.path(), 4, dst.path());
  ASSERT_EQ(run.source->refresh(), 1);
  ASSERT_EQ(0, std::remove(src.file("AAA.prn").c_str()));

  ASSERT_EQ(kStepStop, ConvertAll(run));
  EXPECT_EQ(Shown(), std::vector<std::string>{"Error opening source datafile AAA"});
  EXPECT_EQ(Describe(ReadRecords(dst.path(), 4, "AAA")), Describe(before));
}

TEST_F(ConvertTest, IntradayRecordsOfOneDayAreAllConvertedAndAppended) {
  // Intraday formats are not offered for convert, but a task file can name them.
  std::vector<PriceRecord> ticks;
  for (int day = 1; day <= 3; ++day)
    for (int hour = 9; hour <= 12; ++hour) {
      PriceRecord r = TradingDays(Date(2004, 3, day), 1, 10.0f * day + hour)[0];
      r.time = Time(hour, 30, 0);
      ticks.push_back(r);
    }
  TempDir src, dst;
  WriteSymbol(src.path(), 20, "AAA", ticks, "", 60);
  Run run = Model(20, src.path(), 21, dst.path());
  ASSERT_EQ(kStepFinished, ConvertAll(run));
  EXPECT_EQ(Describe(ReadRecords(dst.path(), 21, "AAA")), Describe(AsKeptBy(21, ticks)));
  std::vector<PriceRecord> converted = ReadRecords(dst.path(), 21, "AAA");
  ASSERT_EQ(converted.size(), ticks.size());
  EXPECT_EQ(converted[5].time.value(), 103000);

  // Appended back into a copy that stops in the middle of the second day.
  TempDir part;
  WriteSymbol(part.path(), 20, "AAA", std::vector<PriceRecord>(ticks.begin(), ticks.begin() + 6), "", 60);
  Format& intraday = AddFormat(20);
  Directory& partial = AddDirectory(intraday, part.path());
  ASSERT_EQ(partial.refresh(), 1);
  ASSERT_EQ(1, appendDatafile(21, 20, run.destinationFormat, run.destination, &intraday, &partial,
                              partial.bySymbol("AAA")));
  std::vector<PriceRecord> appended = ReadRecords(part.path(), 20, "AAA");
  ASSERT_EQ(appended.size(), ticks.size());
  for (std::size_t i = 0; i < ticks.size(); ++i) {
    EXPECT_EQ(appended[i].date.value(), ticks[i].date.value());
    EXPECT_EQ(appended[i].time.value(), ticks[i].time.value());
  }
  EXPECT_EQ(Shown(), std::vector<std::string>{});
}

TEST_F(ConvertTest, MissingPiecesAreRefusedWithTheirMessage) {
  TempDir src, dst;
  Run run = Model(5, src.path(), 4, dst.path());
  Datafile datafile("AAA", "Aaa", 5);
  struct Case {
    Directory* source;
    Directory* destination;
    Datafile* datafile;
    const char* convertText;
    const char* appendText;
  } cases[] = {
      {nullptr, run.destination, &datafile, kIllegalSourceDirectoryText, kIllegalSourceDirectoryText},
      {run.source, nullptr, &datafile, kIllegalDestinationDirectoryText, kIllegalDestinationDirectoryText},
      {run.source, run.destination, nullptr, kIllegalSourceSymbolText, kIllegalDestinationSymbolText},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.convertText);
    EXPECT_EQ(-1, convertDatafile(5, 4, Date(), 0, run.sourceFormat, c.source, run.destinationFormat,
                                  c.destination, c.datafile));
    EXPECT_EQ(0, appendDatafile(5, 4, run.sourceFormat, c.source, run.destinationFormat, c.destination,
                                c.datafile));
    EXPECT_EQ(Shown(), (std::vector<std::string>{c.convertText, c.appendText}));
    messages->clear();
  }
}

}  // namespace
}  // namespace kvqt
