#include "feed_writer.h"

#include <gtest/gtest.h>

#include "app/core/messages.h"
#include "app/core/personal_profile.h"
#include "feed_test_util.h"
#include "service/symbols/digital_feed.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

using namespace feed_writer;
using testing::FeedText;
using testing::Hex;
using testing::TempDir;
using testing::ToHex;

TEST(FeedWriterTest, RecordsByteForByte) {
  Instrument asml;
  asml.sincode = 4660;
  asml.flags = kAdd;
  asml.symbol = "ASML";
  asml.name = "ASML Holding";
  asml.currency = 3;
  asml.exchange = 42;
  asml.security_type = 16;
  asml.start_date = 20050314;
  Instrument old = asml;
  old.with_start_date = false;
  old.flags = kReplace;
  SplitFactor split{20050310, 1111, "PHIA", 20050401, 2.0f, "Philips"};

  const struct {
    const char* what;
    std::string got;
    std::string want;
  } cases[] = {
      {"instrument with start date", InstrumentRecord(asml),
       Hex("ff 3f 0b | 00 00 00 | 34 12 00 | 01") + FeedText("ASML", 8) + FeedText("ASML Holding", 35) +
           Hex("03 00 | 2a 00 | 10 | 00 00 00 | 8a c4 00")},
      {"instrument without", InstrumentRecord(old),
       Hex("ff 39 05 | 00 00 00 | 34 12 00 | 03") + FeedText("ASML", 8) + FeedText("ASML Holding", 35) +
           Hex("03 00 | 2a 00 | 10")},
      {"exchange", ItemRecord({kExchangeItem, 5, 42, "Amsterdam"}),
       Hex("ff 2e 08 | 00 00 00 | 11 | 05 | 2a 00 00 00") + FeedText("Amsterdam", 35)},
      {"split factor", SplitFactorRecord(split),
       Hex("ff 3f 0a | 00 00 00 | 86 f1 31 01 | 57 04 00") + FeedText("PHIA", 8) +
           Hex("e1 f1 31 01 | 00 00 00 40") + FeedText("Philips", 35)},
      {"check control", ControlRecord({1, kControlCheck, 1, Check::kRight, 0}),
       Hex("ff 0c 01 | 01 00 00 | 03 | 01 00 00 00 | 2e 67")},
      {"end control", ControlRecord({9, kControlEnd, 0, Check::kRight, 0}), Hex("ff 06 01 | 09 00 00 | 02")},
      {"time control", ControlRecord({8, kControlTime, 0, Check::kRight, 0x12345678}),
       Hex("ff 0a 01 | 08 00 00 | 05 | 78 56 34 12")},
      {"value", ValueRecord(42, 7), Hex("ff 09 09 | 00 00 00 | 2a 00 00 | 07")},
      {"long texts are cut", ItemRecord({kCurrencyItem, 0, 1, std::string(50, 'n')}),
       Hex("ff 2e 08 | 00 00 00 | 12 | 00 | 01 00 00 00") + std::string(35, 'n')},
  };
  for (const auto& c : cases) EXPECT_EQ(ToHex(c.got), ToHex(c.want)) << c.what;

  const std::string wrong = ControlRecord({1, kControlCheck, 1, Check::kWrong, 0});
  EXPECT_EQ(wrong.substr(0, 11), Hex("ff 0c 01 | 01 00 00 | 03 | 01 00 00 00"));
  EXPECT_NE(wrong.substr(11), Hex("2e 67"));
}

class FeedWriterRoundTripTest : public ::testing::Test {
 protected:
  void SetUp() override { setProfilePath(dir.file("kvqt.ini")); }
  TempDir dir;
  ScopedMessages messages;
};

TEST_F(FeedWriterRoundTripTest, WholeFeedIsReadBackByTheClient) {
  FeedContents contents;
  contents.exchanges.push_back({0, 0, 42, "Amsterdam"});
  contents.currencies.push_back({0, 0, 3, "EUR"});
  for (int i = 1; i <= 3; ++i) {
    Instrument r;
    r.sincode = i;
    r.symbol = "S" + std::to_string(i);
    r.name = "Name " + std::to_string(i);
    r.currency = 3;
    r.exchange = 42;
    r.security_type = 16;
    r.start_date = 20000100 + i;
    contents.instruments.push_back(r);
  }
  contents.split_factors.push_back({20050310, 2, "S2", 20050401, 0.5f, "Name 2"});
  for (Check check : {Check::kRight, Check::kWrong}) {
    FeedOptions options;
    options.check = check;
    dir.write("sintab.fd", BuildFeed(contents, options));
    {
      TDigitalFeed processor(dir.path());
      ASSERT_EQ(processor.ProcessFeed(dir.file("sintab.fd"), nullptr), 0);
    }
    const std::string dump = dir.read("kvqt.sdb.txt");
    EXPECT_EQ(dump.substr(0, dump.find('\r')),
              check == Check::kRight ? "CONTROL:       1 1 3 on seqnr 1" : "CONTROL:       1 1 3 on seqnr 1 CRC ERROR");
    EXPECT_EQ(dump.substr(dump.rfind('\r', dump.size() - 3) + 2), "CONTROL:       2 1 2\r\n");

    TSintable table(dir.path());
    ASSERT_EQ(table.instrumentCount(), 3);
    EXPECT_EQ(table.findInstrument(3)->name, "Name 3");
    EXPECT_EQ(table.findInstrument(3)->start_date.value(), 20000103);
    EXPECT_EQ(table.findExchange(42)->name, "Amsterdam");
    EXPECT_EQ(table.findCurrency(3)->name, "EUR");
    ASSERT_EQ(table.splitFactorCount(), 1);
    EXPECT_EQ(table.splitFactor(0)->factor, 0.5f);
  }
}

// A feed that fills a table of 1024 instruments grows it to 2048.
TEST_F(FeedWriterRoundTripTest, ThousandTwentyFiveInstrumentsGrowTheTable) {
  FeedContents contents;
  for (int i = 1; i <= 1025; ++i) {
    Instrument r;
    r.sincode = i;
    r.symbol = "S";
    r.name = "N";
    contents.instruments.push_back(r);
  }
  dir.write("sintab.fd", BuildFeed(contents));
  {
    TDigitalFeed processor(dir.path());
    ASSERT_EQ(processor.ProcessFeed(dir.file("sintab.fd"), nullptr), 0);
    EXPECT_EQ(processor.table().tables().instruments.capacity(), 2048);
  }
  EXPECT_EQ(ToHex(dir.read("kvqt.sdb").substr(20, 8)), "01 04 00 00 00 08 00 00");
}

}  // namespace
}  // namespace kvqt
