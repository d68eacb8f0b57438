#include "demo_market.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <set>

#include "price_series.h"
#include "support/temp_dir.h"

namespace kvqt::server {
namespace {

using kvqt::testing::TempDir;

constexpr int kToday = 20240612;  // a Wednesday

class DemoMarketTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir;
    std::string error;
    store_ = Store::Open(dir_->file("demo.db"), true, &error).release();
    ASSERT_NE(store_, nullptr) << error;
    ASSERT_EQ(InitDemo(*store_, Date::FromValue(kToday), &error), 0) << error;
  }
  static void TearDownTestSuite() {
    delete store_;
    delete dir_;
  }
  static const Store& store() { return *store_; }

  static TempDir* dir_;
  static Store* store_;
};

TempDir* DemoMarketTest::dir_ = nullptr;
Store* DemoMarketTest::store_ = nullptr;

// A digest of every record of a store.
class Digest {
 public:
  void add(std::int64_t v) {
    for (int i = 0; i < 8; ++i) {
      hash_ ^= static_cast<std::uint8_t>(v >> (8 * i));
      hash_ *= 1099511628211ull;
    }
  }
  void add(double v) { add(static_cast<std::int64_t>(std::llround(v * 10000))); }
  void add(const std::string& text) {
    for (char c : text) add(static_cast<std::int64_t>(c));
  }
  std::uint64_t value() const { return hash_; }

 private:
  std::uint64_t hash_ = 14695981039346656037ull;
};

std::uint64_t Dump(const Store& store) {
  Digest d;
  for (const Instrument& i : store.Instruments()) {
    d.add(std::int64_t{i.sincode});
    d.add(i.symbol + "|" + i.name + "|" + i.previous_symbol);
    d.add(std::int64_t{i.start_date} * 100000000 + i.change_date);
    d.add(std::int64_t{i.deleted});
    for (const DailyPrice& p : store.Daily(i.sincode, 0, 0)) {
      d.add(std::int64_t{p.date});
      d.add(p.open);
      d.add(p.high);
      d.add(p.low);
      d.add(p.close);
      d.add(p.volume);
    }
    for (const Bar& b : store.Bars(i.sincode, 0, 0, 99991231, 2359)) {
      d.add(std::int64_t{b.date} * 10000 + b.time);
      d.add(b.open);
      d.add(b.high);
      d.add(b.low);
      d.add(b.close);
      d.add(b.volume);
    }
    for (const Tick& t : store.Ticks(i.sincode, 0, 0, 99991231, 235959)) {
      d.add(std::int64_t{t.date} * 1000000 + t.time);
      d.add(t.price);
      d.add(t.volume);
    }
  }
  for (const SplitFactor& s : store.SplitsSince(0)) {
    d.add(std::int64_t{s.sincode} * 100000000 + s.split_date);
    d.add(s.factor);
  }
  return d.value();
}

TEST_F(DemoMarketTest, TheSameDayGivesTheSameMarketAndAnotherDayAnother) {
  TempDir dir;
  std::string error;
  std::unique_ptr<Store> again = Store::Open(dir.file("again.db"), true, &error);
  ASSERT_EQ(InitDemo(*again, Date::FromValue(kToday), &error), 0) << error;
  EXPECT_EQ(Dump(*again), Dump(store()));
  // A day later the market has one more day, and so differs.
  std::unique_ptr<Store> later = Store::Open(dir.file("later.db"), true, &error);
  ASSERT_EQ(InitDemo(*later, Date::FromValue(20240613), &error), 0) << error;
  EXPECT_EQ(later->LastDaily(10002, 99991231)->date, 20240613);
}

TEST_F(DemoMarketTest, FiftyInstrumentsOfEveryTypeWithAwkwardSymbolsAndFullLengthNames) {
  std::vector<Instrument> all = store().Instruments();
  EXPECT_EQ(all.size(), 50u);
  std::set<int> types;
  int punctuated = 0, full_names = 0;
  for (const Instrument& i : all) {
    types.insert(i.security_type);
    EXPECT_LE(i.symbol.size(), 8u) << i.symbol;
    EXPECT_LE(i.name.size(), 40u) << i.name;
    EXPECT_EQ(i.symbol.find(','), std::string::npos);
    if (i.symbol.find_first_of(".&-'/") != std::string::npos) ++punctuated;
    if (i.name.size() == 40) ++full_names;
  }
  EXPECT_EQ(types, (std::set<int>{kSecurityStock, kSecurityIndex, kSecurityBond, kSecurityOption, kSecurityWarrant,
                                  kSecurityFund, kSecurityCurrency}));
  EXPECT_GE(punctuated, 3);
  EXPECT_GE(full_names, 3);
  EXPECT_EQ(store().Exchanges().size(), 4u);
  EXPECT_EQ(store().Currencies().size(), 4u);
  std::optional<User> demo = store().FindUser(kDemoLogin);
  ASSERT_TRUE(demo.has_value());
  EXPECT_EQ(demo->password, kDemoPassword);
  EXPECT_TRUE(demo->active);
  EXPECT_EQ(std::string(kDemoLogin).size(), 8u);
  EXPECT_EQ(std::string(kDemoLogin).substr(5), "vqx");
  EXPECT_EQ(store().Value(kTodayKey).value_or(""), "20240612");
}

TEST_F(DemoMarketTest, TenYearsOfWeekdaysUpToToday) {
  std::optional<Instrument> stock = store().FindInstrument("BRMT");
  ASSERT_TRUE(stock.has_value());
  std::vector<DailyPrice> days = store().Daily(stock->sincode, 0, 0);
  ASSERT_FALSE(days.empty());
  EXPECT_EQ(days.front().date, 20140612);
  EXPECT_EQ(days.back().date, kToday);
  EXPECT_EQ(stock->start_date, 20140612);
  for (const DailyPrice& p : days) {
    ASSERT_TRUE(IsTradingDay(Date::FromValue(p.date))) << p.date;
    ASSERT_TRUE(p.low <= std::min(p.open, p.close) && p.high >= std::max(p.open, p.close) && p.low > 0) << p.date;
  }
  EXPECT_NEAR(static_cast<double>(days.size()), 10 * 261, 10);
}

TEST_F(DemoMarketTest, TheLastFiveTradingDaysHaveBarsThatMakeUpTheDay) {
  std::optional<Instrument> stock = store().FindInstrument("ALVR");
  ASSERT_TRUE(stock.has_value());
  std::vector<Bar> bars = store().Bars(stock->sincode, 0, 0, 99991231, 2359);
  std::set<int> dates;
  for (const Bar& b : bars) dates.insert(b.date);
  EXPECT_EQ(dates, (std::set<int>{20240606, 20240607, 20240610, 20240611, 20240612}));
  EXPECT_EQ(bars.size(), 5u * 510);
  EXPECT_EQ(bars.front().time, 900);
  EXPECT_EQ(bars.back().time, 1729);
  // The day's record is its minutes taken together.
  std::vector<Bar> days = CombineBars(bars, 1440);
  ASSERT_EQ(days.size(), 5u);
  for (const Bar& day : days) {
    std::vector<DailyPrice> daily = store().Daily(stock->sincode, day.date, day.date);
    ASSERT_EQ(daily.size(), 1u);
    EXPECT_DOUBLE_EQ(daily[0].open, day.open);
    EXPECT_DOUBLE_EQ(daily[0].high, day.high);
    EXPECT_DOUBLE_EQ(daily[0].low, day.low);
    EXPECT_DOUBLE_EQ(daily[0].close, day.close);
    EXPECT_EQ(daily[0].volume, day.volume);
  }
  // And with ticks, each minute is its ticks taken together.
  std::vector<Tick> ticks = store().Ticks(stock->sincode, kToday, 90000, kToday, 90059);
  ASSERT_FALSE(ticks.empty());
  std::vector<Bar> first = store().Bars(stock->sincode, kToday, 900, kToday, 900);
  ASSERT_EQ(first.size(), 1u);
  EXPECT_DOUBLE_EQ(first[0].open, ticks.front().price);
  EXPECT_DOUBLE_EQ(first[0].close, ticks.back().price);
  std::int64_t volume = 0;
  for (const Tick& t : ticks) volume += t.volume;
  EXPECT_EQ(first[0].volume, volume);
}

TEST_F(DemoMarketTest, SplitsMoveThePriceAndRenamesAndADelistingFallInTheLastYear) {
  std::vector<SplitFactor> splits = store().SplitsSince(0);
  ASSERT_GE(splits.size(), 3u);
  for (const SplitFactor& s : splits) {
    std::vector<DailyPrice> around = store().Daily(s.sincode, Date::FromValue(s.split_date).addDays(-7).value(),
                                                   s.split_date);
    ASSERT_GE(around.size(), 2u);
    double ratio = around.back().open / around[around.size() - 2].close;
    EXPECT_NEAR(ratio / s.factor, 1.0, 0.05) << s.sincode;
  }
  int renamed = 0, deleted = 0;
  for (const Instrument& i : store().InstrumentsChangedSince(Date::FromValue(kToday).addDays(-365).value())) {
    if (!i.previous_symbol.empty()) {
      ++renamed;
      ASSERT_TRUE(store().FindInstrument(i.previous_symbol).has_value());
      EXPECT_EQ(store().FindInstrument(i.previous_symbol)->sincode, i.sincode);
    }
    if (i.deleted) {
      ++deleted;
      EXPECT_FALSE(store().FindInstrument(i.symbol).has_value());
    }
  }
  EXPECT_GE(renamed, 2);
  EXPECT_GE(deleted, 1);
}

TEST(DemoMarketDaysTest, TradingDaysAreWeekdays) {
  EXPECT_TRUE(IsTradingDay(Date::FromValue(20240612)));
  EXPECT_FALSE(IsTradingDay(Date::FromValue(20240615)));
  EXPECT_EQ(LastTradingDay(Date::FromValue(20240616)).value(), 20240614);
  EXPECT_EQ(LastTradingDay(Date::FromValue(20240614)).value(), 20240614);
}

}  // namespace
}  // namespace kvqt::server
