// The server's feeds as the program's own symbol-table import takes them.
#include "symbol_feed.h"

#include <gtest/gtest.h>

#include "app/core/messages.h"
#include "app/core/personal_profile.h"
#include "service/symbols/digital_feed.h"
#include "service/symbols/sintable.h"
#include "demo_market.h"
#include "small_store.h"
#include "tools/kvqt-info/info_run.h"
#include "support/temp_dir.h"

namespace kvqt::server {
namespace {

using kvqt::testing::TempDir;

class SymbolFeedTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The import records its date in the settings; keep them out of the user's.
    setProfilePath(dir_.file("kvqt.ini"));
    store_ = kvqt::testing::MakeSmallStore(dir_.file("store.db"));
  }

  // Applies the feed to the program's symbol table in the directory.
  void Apply(const FeedRequest& request) {
    dir_.write("sintab.fd", BuildSymbolFeed(*store_, request, 1705000000));
    ASSERT_EQ(ImportSymbolFeed(dir_.path(), dir_.file("sintab.fd"), nullptr, Date::FromValue(20240312)), 0);
  }

  ScopedMessages messages_;
  TempDir dir_;
  std::unique_ptr<Store> store_;
};

TEST_F(SymbolFeedTest, TheFullTableGivesEveryLiveInstrumentWithItsCodes) {
  FeedRequest request;
  request.exchanges = request.currencies = request.instruments = true;
  Apply(request);
  TSintable table(dir_.path());
  EXPECT_EQ(table.exchangeCount(), 1);
  EXPECT_EQ(table.findExchange(1)->name.str(), "Test Exchange");
  EXPECT_EQ(table.findCurrency(1)->name.str(), "Euro");
  EXPECT_EQ(table.instrumentCount(), 4);  // GONE was delisted
  const SinInstrument* abc = table.findInstrument(kvqt::testing::kAbc);
  ASSERT_NE(abc, nullptr);
  EXPECT_EQ(abc->symbol.str(), "ABC");
  EXPECT_EQ(abc->name.str(), "Abc Industries");
  EXPECT_EQ(abc->security_type, kSecurityStock);
  EXPECT_EQ(abc->start_date.value(), 20240102);
  EXPECT_EQ(table.findInstrument(504), nullptr);
  EXPECT_EQ(table.splitFactorCount(), 0);
}

TEST_F(SymbolFeedTest, ChangesReplaceRenamedInstrumentsDeleteDelistedOnesAndBringSplits) {
  FeedRequest full;
  full.instruments = true;
  Apply(full);
  // A table that still holds the delisted company and the old name.
  {
    TSintable table(dir_.path());
    SinInstrument gone;
    gone.sincode = 504;
    gone.symbol = std::string("GONE");
    table.addInstrument(gone);
    SinInstrument old = *table.findInstrument(503);
    old.symbol = std::string("OLD");
    table.replaceInstrument(old);
  }
  FeedRequest changes;
  changes.changes_since = 20240201;
  changes.splits_since = 20240101;
  Apply(changes);
  TSintable table(dir_.path());
  EXPECT_EQ(table.findInstrument(504), nullptr);
  ASSERT_NE(table.findInstrument(503), nullptr);
  EXPECT_EQ(table.findInstrument(503)->symbol.str(), "NEW");
  ASSERT_EQ(table.splitFactorCount(), 1);
  const SinSplitFactor* split = table.splitFactor(0);
  EXPECT_EQ(split->symbol.str(), "ABC");
  EXPECT_EQ(split->split_date.value(), 20240108);
  EXPECT_EQ(split->record_date.value(), 20240105);
  EXPECT_FLOAT_EQ(split->factor, 0.5f);
}

// The demo market's full table, as the program keeps it, read back by kvqt-info.
TEST_F(SymbolFeedTest, DemoMarketTableListedByKvqtInfo) {
  std::string error;
  std::unique_ptr<Store> demo = Store::Open(dir_.file("demo.db"), true, &error);
  ASSERT_NE(demo, nullptr) << error;
  ASSERT_EQ(InitDemo(*demo, Date::FromValue(20240312), &error), 0) << error;
  store_ = std::move(demo);
  FeedRequest request;
  request.exchanges = request.currencies = request.instruments = true;
  Apply(request);

  info::InfoRun run = info::RunInfo("sdb", {dir_.file("kvqt.sdb")});
  ASSERT_EQ(run.rc, 0) << run.err;
  int instruments = 0;
  for (std::size_t at = run.out.find("\ninstrument "); at != std::string::npos;
       at = run.out.find("\ninstrument ", at + 1)) {
    ++instruments;
  }
  // Fifty instruments, one of them delisted before the day.
  EXPECT_EQ(instruments, 49);
  for (const char* symbol : {"symbol=ALVR", "symbol=NVX25", "symbol=EURUSD", "symbol=R&D ", "symbol=NH/A"}) {
    EXPECT_NE(run.out.find(symbol), std::string::npos) << symbol;
  }
}

}  // namespace
}  // namespace kvqt::server
