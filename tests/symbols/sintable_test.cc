#include "service/symbols/sintable.h"

#include <gtest/gtest.h>

#include "sdb_test_util.h"
#include "support/hex.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

using testing::Hex;
using testing::Le32;
using testing::Padded;
using testing::SdbInstrumentBytes;
using testing::SdbItemBytes;
using testing::SdbSplitBytes;
using testing::TempDir;
using testing::ToHex;

std::string Header(int currencies, int currency_capacity, int exchanges, int exchange_capacity, int instruments,
                   int instrument_capacity, int splits, int split_capacity) {
  return Le32(30004) + Le32(currencies) + Le32(currency_capacity) + Le32(exchanges) + Le32(exchange_capacity) +
         Le32(instruments) + Le32(instrument_capacity) + Le32(splits) + Le32(split_capacity);
}

SinInstrument Instrument(std::int32_t sincode, const std::string& symbol) {
  SinInstrument r;
  r.sincode = sincode;
  r.symbol = symbol;
  r.name = symbol + " name";
  return r;
}

SinSplitFactor Split(std::int32_t sincode, Date record_date) {
  SinSplitFactor r;
  r.sincode = sincode;
  r.record_date = record_date;
  r.factor = 2;
  return r;
}

TEST(SintableTest, NoFileGivesAnEmptyTableThatIsNotWritten) {
  TempDir dir;
  {
    TSintable table(dir.path());
    EXPECT_EQ(table.source(), TSintable::Source::kNone);
    EXPECT_EQ(table.tables().currencies.capacity(), 128);
    EXPECT_EQ(table.tables().exchanges.capacity(), 256);
    EXPECT_EQ(table.tables().instruments.capacity(), 1024);
    EXPECT_EQ(table.tables().split_factors.capacity(), 256);
    EXPECT_EQ(table.firstCurrency(), nullptr);
    EXPECT_EQ(table.firstSplitFactor(), nullptr);
  }
  EXPECT_FALSE(dir.exists("kvqt.sdb"));
}

TEST(SintableTest, ChangesAreSavedOnDestruction) {
  TempDir dir;
  {
    TSintable table(dir.path());
    EXPECT_EQ(table.putCurrency({3, "EUR"}), 0);
    EXPECT_EQ(table.putExchange({42, "Amsterdam"}), 0);
    EXPECT_EQ(table.addInstrument(Instrument(1, "A")), 1);
    EXPECT_TRUE(table.changed());
  }
  const std::string want = Header(1, 128, 1, 256, 1, 1024, 0, 256) + SdbItemBytes(3, "EUR") +
                           SdbItemBytes(42, "Amsterdam") + SdbInstrumentBytes(1, "A", "A name", 0, 0, 0, 0);
  EXPECT_EQ(ToHex(dir.read("kvqt.sdb")), ToHex(want));
  // Only the table file is left: the temporary one was renamed.
  TSintable again(dir.path());
  EXPECT_EQ(again.source(), TSintable::Source::kCurrent);
  EXPECT_FALSE(again.changed());
}

TEST(SintableTest, FullInstrumentTableGrowsByOneStep) {
  TempDir dir;
  std::string file = Header(0, 128, 0, 256, 1024, 1024, 0, 256);
  for (int i = 0; i < 1024; ++i) file += SdbInstrumentBytes(i + 1, "S", "N", 1, 2, 16, 20000101);
  dir.write("kvqt.sdb", file);
  {
    TSintable table(dir.path());
    ASSERT_EQ(table.instrumentCount(), 1024);
    EXPECT_EQ(table.tables().instruments.capacity(), 1024);
    EXPECT_EQ(table.addInstrument(Instrument(5000, "NEW")), 1);
    EXPECT_EQ(table.tables().instruments.capacity(), 2048);
  }
  const std::string saved = dir.read("kvqt.sdb");
  EXPECT_EQ(ToHex(saved.substr(20, 8)), "01 04 00 00 00 08 00 00");
  EXPECT_EQ(saved.size(), 36u + 1025 * 100);
}

TEST(SintableTest, InstrumentsAddReplaceDelete) {
  TempDir dir;
  TSintable table(dir.path());
  for (int i = 1; i <= 4; ++i) ASSERT_EQ(table.addInstrument(Instrument(i, "S" + std::to_string(i))), 1);
  EXPECT_EQ(table.addInstrument(Instrument(2, "DUP")), 0);
  EXPECT_EQ(table.findInstrument(2)->symbol, "S2");

  SinInstrument changed = Instrument(2, "T2");
  EXPECT_EQ(table.replaceInstrument(changed), 1);
  EXPECT_EQ(table.instrument(1)->symbol, "T2");
  EXPECT_EQ(table.replaceInstrument(Instrument(9, "X")), 0);

  // The last record takes the deleted one's place and stays findable.
  EXPECT_EQ(table.deleteInstrument(1), 1);
  EXPECT_EQ(table.deleteInstrument(1), 0);
  ASSERT_EQ(table.instrumentCount(), 3);
  EXPECT_EQ(table.instrument(0)->sincode, 4);
  EXPECT_EQ(table.findInstrument(4), table.instrument(0));
  EXPECT_EQ(table.findInstrument(1), nullptr);
  EXPECT_EQ(table.findInstrumentByName("S3 name")->sincode, 3);
  EXPECT_EQ(table.findInstrumentByName("s3 name"), nullptr);
}

TEST(SintableTest, CurrenciesAndExchangesByCodeAndName) {
  TempDir dir;
  TSintable table(dir.path());
  table.putCurrency({3, "EUR"});
  table.putCurrency({4, "USD"});
  table.putCurrency({3, "Euro"});
  ASSERT_EQ(table.currencyCount(), 2);
  EXPECT_EQ(table.findCurrency(3)->name, "Euro");
  EXPECT_EQ(table.findCurrencyByName("USD")->code, 4);
  EXPECT_EQ(table.findCurrencyByName("usd"), nullptr);
  table.putExchange({42, "Amsterdam"});
  EXPECT_EQ(table.findExchangeByName("Amsterdam")->code, 42);
  EXPECT_EQ(table.findExchange(43), nullptr);

  std::vector<std::int32_t> seen;
  for (const SinItem* c = table.firstCurrency(); c; c = table.nextCurrency()) {
    seen.push_back(c->code);
    // Walking another table does not disturb this walk.
    for (const SinItem* e = table.firstExchange(); e; e = table.nextExchange()) {
    }
  }
  EXPECT_EQ(seen, (std::vector<std::int32_t>{3, 4}));
  EXPECT_EQ(table.nextCurrency(), nullptr);
}

TEST(SintableTest, SplitFactorsAreKeyedBySincodeAndRecordDate) {
  TempDir dir;
  TSintable table(dir.path());
  EXPECT_EQ(table.addSplitFactor(Split(1, Date(2005, 3, 10))), 1);
  EXPECT_EQ(table.addSplitFactor(Split(1, Date(2005, 3, 11))), 1);
  EXPECT_EQ(table.addSplitFactor(Split(2, Date(2005, 3, 10))), 1);
  EXPECT_EQ(table.addSplitFactor(Split(1, Date(2005, 3, 10))), 0);
  EXPECT_EQ(table.splitFactorCount(), 3);
  EXPECT_EQ(table.setSplitFactorApplied(1, Date(2005, 3, 11), true), 1);
  EXPECT_TRUE(table.findSplitFactor(1, Date(2005, 3, 11))->applied);
  EXPECT_FALSE(table.findSplitFactor(1, Date(2005, 3, 10))->applied);
  EXPECT_EQ(table.setSplitFactorApplied(3, Date(2005, 3, 11), true), 0);
  EXPECT_EQ(table.removeSplitFactor(9, Date(2005, 3, 10)), 0);
}

TEST(SintableTest, SettingTheAppliedFlagAlwaysCountsAsAChange) {
  TempDir dir;
  dir.write("kvqt.sdb", Header(0, 128, 0, 256, 0, 1024, 1, 256) +
                            SdbSplitBytes(7, 20050310, "ABC", 20050401, "00 00 00 40", "Abc", 1));
  TSintable table(dir.path());
  EXPECT_FALSE(table.changed());
  EXPECT_EQ(table.setSplitFactorApplied(7, Date(2005, 3, 10), true), 1);
  EXPECT_TRUE(table.changed());
}

TEST(SintableTest, RemovingTheCurrentSplitFactorContinuesWithTheMovedOne) {
  TempDir dir;
  TSintable table(dir.path());
  for (int i = 1; i <= 4; ++i) table.addSplitFactor(Split(i, Date(2005, 1, i)));
  // Walk, removing records 1 and 2 as they come, as the split step does with
  // split factors that no data file uses.
  std::vector<std::int32_t> visited;
  for (const SinSplitFactor* s = table.firstSplitFactor(); s; s = table.nextSplitFactor()) {
    const std::int32_t sincode = s->sincode;
    visited.push_back(sincode);
    if (sincode <= 2) table.removeSplitFactor(sincode, s->record_date);
  }
  EXPECT_EQ(visited, (std::vector<std::int32_t>{1, 4, 2, 3}));
  ASSERT_EQ(table.splitFactorCount(), 2);
  EXPECT_EQ(table.splitFactor(0)->sincode, 4);
  EXPECT_EQ(table.splitFactor(1)->sincode, 3);
  EXPECT_EQ(table.findSplitFactor(3, Date(2005, 1, 3)), table.splitFactor(1));
}

TEST(SintableTest, EarlierFileIsSavedInTheCurrentFile) {
  TempDir dir;
  const std::string earlier = Le32(0) + Le32(128) + Le32(0) + Le32(256) + Le32(1) + Le32(1024) + Le32(0) +
                              Le32(256) + Le32(77) + "ABC" + Padded("", 5) + Hex("00") + Padded("Abc", 36, ' ') +
                              Hex("01 00 02 00 10") + Le32(20000103);
  dir.write("sintab.db", earlier);
  {
    TSintable table(dir.path());
    EXPECT_EQ(table.source(), TSintable::Source::kEarlierFile);
    EXPECT_TRUE(table.changed());
    ASSERT_EQ(table.instrumentCount(), 1);
    EXPECT_EQ(table.instrument(0)->name, "Abc");
  }
  EXPECT_EQ(ToHex(dir.read("kvqt.sdb")),
            ToHex(Header(0, 128, 0, 256, 1, 1024, 0, 256) + SdbInstrumentBytes(77, "ABC", "Abc", 1, 2, 16, 20000103)));
  EXPECT_TRUE(dir.exists("sintab.db"));

  // kvqt.sdb in the earlier layout is read as such and left alone until it changes.
  dir.write("kvqt.sdb", earlier);
  TSintable table(dir.path());
  EXPECT_EQ(table.source(), TSintable::Source::kEarlier);
  EXPECT_FALSE(table.changed());
  EXPECT_EQ(table.instrument(0)->sincode, 77);
}

TEST(SintableTest, DamagedFileGivesAnEmptyTable) {
  TempDir dir;
  dir.write("kvqt.sdb", Header(0, 128, 0, 256, 5, 1024, 0, 256) + "short");
  dir.write("sintab.db", "not read when kvqt.sdb exists");
  TSintable table(dir.path());
  EXPECT_EQ(table.source(), TSintable::Source::kDamaged);
  EXPECT_FALSE(table.loadError().empty());
  EXPECT_EQ(table.instrumentCount(), 0);
  EXPECT_EQ(table.tables().instruments.capacity(), 1024);
  EXPECT_FALSE(table.changed());
}

TEST(SintableTest, FailedSaveKeepsTheChange) {
  TempDir dir;
  TSintable table(dir.file("missing/"));
  table.addInstrument(Instrument(1, "A"));
  EXPECT_EQ(table.save(), -1);
  EXPECT_TRUE(table.changed());
}

TEST(SintableTest, TableFileFoundRegardlessOfCase) {
  TempDir dir;
  dir.write("KVQT.SDB", Header(1, 128, 0, 256, 0, 1024, 0, 256) + SdbItemBytes(3, "EUR"));
  {
    TSintable table(dir.path());
    EXPECT_EQ(table.currencyCount(), 1);
    table.putCurrency({4, "USD"});
  }
  EXPECT_FALSE(dir.exists("kvqt.sdb"));
  EXPECT_EQ(dir.read("KVQT.SDB").size(), 36u + 2 * 74);
}

}  // namespace
}  // namespace kvqt
