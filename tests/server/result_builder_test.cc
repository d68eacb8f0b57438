#include "result_builder.h"

#include <gtest/gtest.h>

#include "feed_writer.h"
#include "small_store.h"
#include "support/temp_dir.h"

namespace kvqt::server {
namespace {

using kvqt::testing::MakeSmallStore;
using kvqt::testing::TempDir;

class ResultBuilderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    store_ = MakeSmallStore(dir_.file("store.db"));
    ASSERT_NE(store_, nullptr);
    context_.today = Date::FromValue(20240112);
    context_.now = 1705000000;
  }
  ResultFiles Build(const std::string& query) { return BuildResult(*store_, query, context_); }

  TempDir dir_;
  std::unique_ptr<Store> store_;
  ResultContext context_;
};

TEST(FormatPriceTest, AtMostFourDecimalsWithoutTrailingZeros) {
  const struct {
    double price;
    const char* text;
  } cases[] = {{10.5, "10.5"}, {100, "100"}, {0.0001, "0.0001"}, {1.23456, "1.2346"}, {0, "0"}, {12.10, "12.1"}};
  for (const auto& c : cases) EXPECT_EQ(FormatPrice(c.price), c.text) << c.price;
}

TEST_F(ResultBuilderTest, DailyLinesCarrySymbolDateVolumeAndFourPricesWithCrLf) {
  ResultFiles result = Build("ABC,20240110\r\nABC,20240103,20240104\r\n");
  EXPECT_EQ(result.sksdat,
            "ABC,20240110,1010,16,17.5,15.5,16.5\r\n"
            "ABC,20240111,1011,17,18.5,16.5,17.5\r\n"
            "ABC,20240112,1012,18,19.5,17.5,18.5\r\n"
            "ABC,20240103,1003,11,12.5,10.5,11.5\r\n"
            "ABC,20240104,1004,12,13.5,11.5,12.5\r\n");
  ASSERT_EQ(result.answers.size(), 2u);
  EXPECT_EQ(result.answers[0].request, "ABC,20240110");
  EXPECT_EQ(result.answers[0].lines, 3);
  EXPECT_EQ(result.answers[1].lines, 2);
}

TEST_F(ResultBuilderTest, RealTimeGivesTheLatestPriceUpToToday) {
  context_.today = Date::FromValue(20240111);
  EXPECT_EQ(Build("ABC,R\n").sksdat, "ABC,20240111,1011,17,18.5,16.5,17.5\r\n");
  // Daily prices from the date, then the real-time one.
  EXPECT_EQ(Build("ABC,20240110,R\n").sksdat,
            "ABC,20240110,1010,16,17.5,15.5,16.5\r\n"
            "ABC,20240111,1011,17,18.5,16.5,17.5\r\n");
  EXPECT_EQ(Build("ABC,20240111,R\n").sksdat, "ABC,20240111,1011,17,18.5,16.5,17.5\r\n");
}

TEST_F(ResultBuilderTest, WeeksAndMonthsAreCombinedFromTheDays) {
  EXPECT_EQ(Build("ABC,20240101,20240106,W\n").sksdat, "ABC,20240105,4014,10,14.5,9.5,13.5\r\n");
  EXPECT_EQ(Build("ABC,0,0,M\n").sksdat, "ABC,20240112,9064,10,19.5,9.5,18.5\r\n");
}

TEST_F(ResultBuilderTest, IntradayBarsHaveFourDigitTimesAndTicksSix) {
  EXPECT_EQ(Build("ABC,Q,20240112,0908,1\n").sksdat,
            "ABC,20240112,0908,900,108,108.5,107.5,108.25\r\n"
            "ABC,20240112,0909,1000,109,109.5,108.5,109.25\r\n");
  EXPECT_EQ(Build("ABC,Q,20240111,0000,20240111,5\n").sksdat,
            "ABC,20240111,0900,1500,100,104.5,99.5,104.25\r\n"
            "ABC,20240111,0905,4000,105,109.5,104.5,109.25\r\n");
  EXPECT_EQ(Build("ABC,Q,20240112,0900,20240112,0900,0\n").sksdat,
            "ABC,20240112,090005,300,100\r\n"
            "ABC,20240112,090005,200,100.05\r\n");
}

TEST_F(ResultBuilderTest, DirectoryLinesAreCopiedAndKeywordsAnswerNothing) {
  ResultFiles result = Build("VERSION f3.2.4\r\nCD /charts/a\r\nABC,20240112\r\nCD /charts/b\r\n\r\nFIREREQUEST\r\n");
  EXPECT_EQ(result.sksdat, "CD /charts/a\r\nABC,20240112,1012,18,19.5,17.5,18.5\r\nCD /charts/b\r\n");
  EXPECT_EQ(result.answers.size(), 5u);  // the blank line is not an answer
  EXPECT_FALSE(result.feed.has_value());
}

TEST_F(ResultBuilderTest, UnknownDelistedAndInvalidLinesGetNothingWithAReason) {
  ResultFiles result = Build("NOPE,0\nGONE,0\nABC,2024\nabc,0\n");
  EXPECT_EQ(result.sksdat, "");
  const char* notes[] = {"unknown symbol", "unknown symbol", "not a request line", "unknown symbol"};
  ASSERT_EQ(result.answers.size(), 4u);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(result.answers[i].note, notes[i]) << i;
}

TEST_F(ResultBuilderTest, AFormerSymbolIsAnsweredUnderTheSymbolAsked) {
  EXPECT_EQ(Build("OLD,20240112\n").sksdat, "OLD,20240112,500,20,21,19,20.25\r\n");
  EXPECT_EQ(Build("NEW,20240112\n").sksdat, "NEW,20240112,500,20,21,19,20.25\r\n");
}

TEST_F(ResultBuilderTest, SymbolTableRequestsBringAFeed) {
  ResultFiles full = Build("REQUEST 3|17\nREQUEST 3|18\nREQUEST 3|23\nREQUEST 1|2\nFIREREQUEST\n");
  ASSERT_TRUE(full.feed.has_value());
  // Starts with the check control and ends with the end control.
  EXPECT_EQ(static_cast<unsigned char>((*full.feed)[0]), 0xFF);
  EXPECT_EQ((*full.feed)[2], 1);
  std::string end = feed_writer::ControlRecord({3, feed_writer::kControlEnd, 0, feed_writer::Check::kRight, 0});
  EXPECT_EQ(full.feed->substr(full.feed->size() - end.size()), end);
  // Four live instruments, one exchange, one currency, and nothing deleted.
  feed_writer::Instrument abc{kvqt::testing::kAbc, feed_writer::kAdd, "ABC", "Abc Industries", 1, 1, kSecurityStock,
                              20240102, true};
  EXPECT_NE(full.feed->find(feed_writer::InstrumentRecord(abc)), std::string::npos);
  EXPECT_EQ(full.feed->find("GONE"), std::string::npos);

  ResultFiles changes = Build("REQUEST 3|24|20240201\nREQUEST 3|21|20240101\n");
  ASSERT_TRUE(changes.feed.has_value());
  feed_writer::Instrument renamed{503, feed_writer::kReplace, "NEW", "Renamed Holding", 1, 1, kSecurityStock,
                                  20231002, true};
  feed_writer::Instrument gone{504, feed_writer::kDelete, "GONE", "Delisted Company", 1, 1, kSecurityStock,
                               20231002, true};
  EXPECT_NE(changes.feed->find(feed_writer::InstrumentRecord(renamed)), std::string::npos);
  EXPECT_NE(changes.feed->find(feed_writer::InstrumentRecord(gone)), std::string::npos);
  EXPECT_EQ(changes.feed->find("OPT1"), std::string::npos);  // options only with 3|22
  feed_writer::SplitFactor split{20240105, kvqt::testing::kAbc, "ABC", 20240108, 0.5f, "Abc Industries"};
  EXPECT_NE(changes.feed->find(feed_writer::SplitFactorRecord(split)), std::string::npos);

  ResultFiles with_options = Build("REQUEST 3|22|20240201\n");
  feed_writer::Instrument option{505, feed_writer::kAdd, "OPT1", "Abc Call 12 Mar", 1, 1, kSecurityOption, 20240305,
                                 true};
  EXPECT_NE(with_options.feed->find(feed_writer::InstrumentRecord(option)), std::string::npos);
}

TEST_F(ResultBuilderTest, MessageOfTheDayWhenSetAndAReleaseOnlyForOlderClientsThatAsk) {
  EXPECT_FALSE(Build("NEWKVQT f3.2.4\n").release.has_value());
  ASSERT_EQ(store_->SetMotd("Maintenance on Sunday\n"), 0);
  ASSERT_EQ(store_->SetRelease({30205, "new program"}), 0);
  ResultFiles result = Build("VERSION f3.2.4\nNEWKVQT f3.2.4\n");
  EXPECT_EQ(result.motd.value_or(""), "Maintenance on Sunday\n");
  EXPECT_EQ(result.release.value_or(""), "new program");
  EXPECT_FALSE(Build("VERSION f3.2.4\n").release.has_value());
  EXPECT_FALSE(Build("VERSION f3.2.5\nNEWKVQT f3.2.5\n").release.has_value());
  ASSERT_EQ(store_->SetMotd(""), 0);
  EXPECT_FALSE(Build("ABC,R\n").motd.has_value());
}

}  // namespace
}  // namespace kvqt::server
