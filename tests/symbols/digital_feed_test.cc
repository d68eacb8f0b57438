#include "service/symbols/digital_feed.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>

#include "app/core/messages.h"
#include "app/core/personal_profile.h"
#include "feed_test_util.h"
#include "platform/clock.h"
#include "platform/path.h"
#include "platform/text_file.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

using testing::FakeDialog;
using testing::FeedText;
using testing::Frame;
using testing::Hex;
using testing::InstrumentHex;
using testing::ItemHex;
using testing::Le32;
using testing::Padded;
using testing::SplitHex;
using testing::TempDir;

std::string Name40(const std::string& name) { return Padded(name, 40, ' '); }

class DigitalFeedTest : public ::testing::Test {
 protected:
  void SetUp() override { setProfilePath(dir.file("kvqt.ini")); }

  // Applies the feed with a fresh table object, which is saved at the end.
  int Process(const std::string& feed, ProgressHost* dialog = nullptr) {
    TDigitalFeed processor(dir.path());
    return ProcessWith(processor, feed, dialog);
  }

  int ProcessWith(TDigitalFeed& processor, const std::string& feed, ProgressHost* dialog = nullptr) {
    dir.write("sintab.fd", feed);
    processor.setSessionDate(Date(2005, 3, 15));
    const int result = processor.ProcessFeed(dir.file("sintab.fd"), dialog);
    records = processor.recordCount();
    return result;
  }

  std::vector<std::string> DumpLines() {
    std::vector<std::string> lines;
    platform::ReadLines(dir.file("kvqt.sdb.txt"), lines);
    return lines;
  }

  TempDir dir;
  ScopedMessages messages;
  int records = 0;
};

TEST_F(DigitalFeedTest, AppliesEveryMessageTypeAndDumpsEachRecord) {
  const std::string feed =
      Hex("00 12 fe") +                                            // bytes between records
      Hex("ff 0c 01 | 01 00 00 | 03 | 01 00 00 00 | 2e 67") +      // check control, right value
      ItemHex(17, 5, 42, "Amsterdam") + ItemHex(18, 0, 3, "EUR") +  //
      ItemHex(17, 0, 0, "Nowhere") +                               // exchange code 0: not stored
      ItemHex(19, 0, 7, "Other") +                                 //
      InstrumentHex(11, 4660, 1, "ASML", "ASML Holding", 3, 42, 16, 50314) +
      InstrumentHex(5, 1111, 1, "PHIA", "Philips", 3, 42, 16) +
      InstrumentHex(5, 7777, 1, "KPN", "KPN", 3, 42, 16) +
      InstrumentHex(5, 4660, 1, "XXX", "Changed", 1, 1, 1) +  // present already: no change
      InstrumentHex(11, 1111, 3, "PHIA", "Koninklijke Philips", 3, 42, 16, 991231) +
      InstrumentHex(5, 9999, 3, "NONE", "Absent", 3, 42, 16) +  // replace of an absent one: nothing
      InstrumentHex(5, 4660, 2, "ASML", "ASML Holding", 3, 42, 16) +
      InstrumentHex(5, 5555, 0, "ZERO", "No flags", 3, 42, 16) +
      SplitHex(20050310, 1111, "PHIA", 20050401, "00 00 00 40", "Philips") +
      SplitHex(20050310, 1111, "PHIA", 20050401, "00 00 40 40", "Philips") +  // same key: first kept
      Hex("ff 09 09 | 00 00 00 | 2a 00 00 | 07") +                             // value record
      Hex("ff 0c 01 | 07 00 00 | 03 | 02 00 00 00 | 00 00") +                  // wrong check value
      Hex("ff 02 02  ff 03 03 00  ff 02 07") +                                  // ignored types
      Hex("ff 02 06") +                                                         // unknown type
      Hex("ff 01  ff 00") +                                                     // too short to hold a type
      Hex("ff 04 01 05 00") +                                                   // control without its byte
      Hex("ff 06 01 | 09 00 00 | 02") +                                         // end of the feed
      InstrumentHex(5, 8888, 1, "LATE", "After the end", 3, 42, 16);

  ASSERT_EQ(Process(feed), 0);
  EXPECT_EQ(records, 25);

  const std::vector<std::string> expected = {
      "CONTROL:       1 1 3 on seqnr 1",
      "8 17 5 42 Amsterdam",
      "8 18 0 3 EUR",
      "8 17 0 0 Nowhere",
      "8 19 0 7 Other",
      "Illegal itemtype",
      "11    4660 1 ASML     " + Name40("ASML Holding") + "   3  42 16 20050314",
      "5    1111 1 PHIA     " + Name40("Philips") + "   3  42 16        0",
      "5    7777 1 KPN      " + Name40("KPN") + "   3  42 16        0",
      "5    4660 1 XXX      " + Name40("Changed") + "   1   1  1        0",
      "11    1111 3 PHIA     " + Name40("Koninklijke Philips") + "   3  42 16 19991231",
      "5    9999 3 NONE     " + Name40("Absent") + "   3  42 16        0",
      "5    4660 2 ASML     " + Name40("ASML Holding") + "   3  42 16        0",
      "5    5555 0 ZERO     " + Name40("No flags") + "   3  42 16        0",
      "20050310    1111 PHIA     20050401     2.0000 " + Name40("Philips"),
      "20050310    1111 PHIA     20050401     3.0000 " + Name40("Philips"),
      "     42 7",
      "CONTROL:       7 1 3 on seqnr 2 CRC ERROR",
      "Unknown M_TYPE: 6",
      "Short record, M_TYPE: 1, 3 bytes",
      "CONTROL:       9 1 2",
  };
  EXPECT_EQ(DumpLines(), expected);
  EXPECT_EQ(dir.read("kvqt.sdb.txt").substr(0, 33), "CONTROL:       1 1 3 on seqnr 1\r\n");

  TSintable table(dir.path());
  EXPECT_EQ(table.source(), TSintable::Source::kCurrent);
  ASSERT_EQ(table.exchangeCount(), 1);
  EXPECT_EQ(table.exchange(0)->code, 42);
  EXPECT_EQ(table.exchange(0)->name, "Amsterdam");
  ASSERT_EQ(table.currencyCount(), 1);
  EXPECT_EQ(table.currency(0)->name, "EUR");

  // The deleted first record's place went to the last one.
  ASSERT_EQ(table.instrumentCount(), 2);
  const SinInstrument* kpn = table.instrument(0);
  EXPECT_EQ(kpn->sincode, 7777);
  EXPECT_TRUE(kpn->start_date.isNull());
  const SinInstrument* philips = table.instrument(1);
  EXPECT_EQ(philips->sincode, 1111);
  EXPECT_EQ(philips->name, "Koninklijke Philips");
  EXPECT_EQ(philips->symbol, "PHIA");
  EXPECT_EQ(philips->currency, 3);
  EXPECT_EQ(philips->exchange, 42);
  EXPECT_EQ(philips->security_type, 16);
  EXPECT_EQ(philips->start_date.value(), 19991231);

  ASSERT_EQ(table.splitFactorCount(), 1);
  const SinSplitFactor* split = table.splitFactor(0);
  EXPECT_EQ(split->record_date.value(), 20050310);
  EXPECT_EQ(split->split_date.value(), 20050401);
  EXPECT_EQ(split->factor, 2.0f);
  EXPECT_FALSE(split->applied);
  EXPECT_EQ(split->name, "Philips");

  EXPECT_EQ(profile().getString("sinchangesdate", ""), std::string("20050315"));
  EXPECT_EQ(profile().getString("splitfactorsdate", ""), std::string(""));
}

TEST_F(DigitalFeedTest, ShortTypeFiveReplaceKeepsTheStartDate) {
  ASSERT_EQ(Process(InstrumentHex(11, 12, 1, "ABC", "Abc", 1, 2, 16, 40102) +
                    InstrumentHex(5, 12, 3, "ABD", "Abd", 1, 2, 16)),
            0);
  TSintable table(dir.path());
  ASSERT_EQ(table.instrumentCount(), 1);
  EXPECT_EQ(table.instrument(0)->symbol, "ABD");
  EXPECT_EQ(table.instrument(0)->start_date.value(), 20040102);
}

TEST_F(DigitalFeedTest, EndControlAloneStoresTheSessionDate) {
  struct Case {
    const char* sinchanges;
    const char* splitfactors;
    const char* want_sinchangesdate;
    const char* want_splitfactorsdate;
  } cases[] = {
      {nullptr, nullptr, "20050315", ""},
      {"no", "yes", "", "20050315"},
      {"yes", "yes", "20050315", "20050315"},
      {"Yes", "no", "", ""},
  };
  for (const Case& c : cases) {
    dir.write("kvqt.ini", "");
    if (c.sinchanges) profile().putString("sinchanges", c.sinchanges);
    if (c.splitfactors) profile().putString("splitfactors", c.splitfactors);
    ASSERT_EQ(Process(Hex("ff 06 01 | 05 00 00 | 02")), 0);
    EXPECT_EQ(DumpLines(), std::vector<std::string>{"CONTROL:       5 1 2"});
    EXPECT_EQ(profile().getString("sinchangesdate", ""), std::string(c.want_sinchangesdate)) << c.sinchanges;
    EXPECT_EQ(profile().getString("splitfactorsdate", ""), std::string(c.want_splitfactorsdate)) << c.splitfactors;
  }
  // No table change: nothing written.
  EXPECT_FALSE(dir.exists("kvqt.sdb"));
}

TEST_F(DigitalFeedTest, SessionDateDefaultsToTodayOfTheClock) {
  platform::ScopedFixedClock clock({2006, 7, 1, 9, 30, 0});
  dir.write("sintab.fd", Hex("ff 06 01 | 05 00 00 | 02"));
  TDigitalFeed processor(dir.path());
  ASSERT_EQ(processor.ProcessFeed(dir.file("sintab.fd"), nullptr), 0);
  EXPECT_EQ(profile().getString("sinchangesdate", ""), std::string("20060701"));
}

TEST_F(DigitalFeedTest, TimeControlShowsLocalDateAndTime) {
  const std::int32_t t = 1110884400;  // March 2005
  ASSERT_EQ(Process(Frame(Hex("01 | 08 00 00 | 05") + Le32(t))), 0);
  std::time_t tt = t;
  std::tm tm{};
  localtime_r(&tt, &tm);
  char want[80];
  std::snprintf(want, sizeof want, "CONTROL:       8 1 5 %d %d", (tm.tm_year + 1900) * 10000 + (tm.tm_mon + 1) * 100 + tm.tm_mday,
                tm.tm_hour * 10000 + tm.tm_min * 100 + tm.tm_sec);
  EXPECT_EQ(DumpLines(), std::vector<std::string>{want});
}

TEST_F(DigitalFeedTest, RecordsShorterThanTheirTypeAreNotApplied) {
  const std::string full = InstrumentHex(11, 77, 1, "AB", "Ab", 1, 2, 3, 50101);
  const std::string item = ItemHex(18, 0, 9, "USD");
  // The same records with their last byte left out of the length.
  std::string cut_instrument = full.substr(0, full.size() - 1);
  cut_instrument[1] = static_cast<char>(cut_instrument[1] - 1);
  std::string cut_item = item.substr(0, item.size() - 1);
  cut_item[1] = static_cast<char>(cut_item[1] - 1);
  ASSERT_EQ(Process(cut_instrument + cut_item + Hex("ff 04 09 00 00 00") + Hex("ff 0a 0a 00 00 00 00 00 00 00 00 00")),
            0);
  EXPECT_EQ(DumpLines(), (std::vector<std::string>{"Short record, M_TYPE: 11, 61 bytes",
                                                   "Short record, M_TYPE: 8, 44 bytes",
                                                   "Short record, M_TYPE: 9, 3 bytes",
                                                   "Short record, M_TYPE: 10, 9 bytes"}));
  TSintable table(dir.path());
  EXPECT_EQ(table.instrumentCount(), 0);
  EXPECT_EQ(table.currencyCount(), 0);
}

TEST_F(DigitalFeedTest, RecordClaimingMoreThanTheFeedHoldsEndsTheFeed) {
  const std::string first = InstrumentHex(5, 1, 1, "A", "A", 1, 1, 1);
  const std::string second = InstrumentHex(5, 2, 1, "B", "B", 1, 1, 1);
  ASSERT_EQ(Process(first + second.substr(0, second.size() - 1)), 0);
  EXPECT_EQ(records, 2);
  EXPECT_EQ(DumpLines().size(), 1u);
  TSintable table(dir.path());
  EXPECT_EQ(table.instrumentCount(), 1);
}

TEST_F(DigitalFeedTest, EveryTruncationOfAFeedIsSafe) {
  // Keeps the settings file out of the many runs.
  profile().putString("sinchanges", "no");
  std::string feed = Hex("ff 0c 01 | 01 00 00 | 03 | 01 00 00 00 | 2e 67") + ItemHex(17, 5, 42, "Amsterdam") +
                     InstrumentHex(11, 4660, 1, "ASML", "ASML Holding", 3, 42, 16, 50314) +
                     SplitHex(20050310, 1111, "PHIA", 20050401, "00 00 00 40", "Philips") +
                     Hex("ff 06 01 | 09 00 00 | 02");
  TDigitalFeed processor(dir.path());
  for (std::size_t n = 0; n <= feed.size(); ++n) {
    ASSERT_EQ(ProcessWith(processor, feed.substr(0, n)), 0) << n;
    EXPECT_LE(processor.table().instrumentCount(), 1) << n;
    EXPECT_LE(processor.table().splitFactorCount(), 1) << n;
  }
  // Every length byte, over records of every type; the bytes a record leaves
  // over are skipped as bytes between records.
  for (int type : {1, 5, 8, 9, 10, 11}) {
    std::string all_lengths;
    for (int length = 0; length < 256; ++length) {
      std::string body(255, '\x41');
      body[0] = static_cast<char>(type);
      all_lengths += std::string(1, '\xff') + static_cast<char>(length) + body;
    }
    ASSERT_EQ(ProcessWith(processor, all_lengths), 0) << type;
    EXPECT_EQ(records, 256) << type;
  }
}

TEST_F(DigitalFeedTest, RandomBytesNeverCrash) {
  profile().putString("sinchanges", "no");
  TDigitalFeed processor(dir.path());
  std::uint32_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return static_cast<unsigned char>(seed >> 16);
  };
  for (int round = 0; round < 200; ++round) {
    std::string feed;
    const int size = next() * 8;
    for (int i = 0; i < size; ++i) {
      // Plenty of record starts, so that most bytes end up inside records.
      unsigned char b = next();
      feed.push_back(static_cast<char>(b < 24 ? 0xFF : b));
    }
    ASSERT_EQ(ProcessWith(processor, feed), 0) << round;
  }
}

TEST_F(DigitalFeedTest, FilesThatCannotBeOpenedShowTheirMessage) {
  TDigitalFeed processor(dir.path());
  EXPECT_EQ(processor.ProcessFeed(dir.file("missing.fd"), nullptr), -1);
  ASSERT_EQ(messages->shown().size(), 1u);
  EXPECT_EQ(messages->shown()[0].text, "Error opening " + dir.file("missing.fd") + " (2)");
  EXPECT_FALSE(dir.exists("kvqt.sdb.txt"));

  // The dump file's place is taken by a directory.
  messages->clear();
  dir.write("sintab.fd", Hex("ff 06 01 05 00 00 02"));
  ASSERT_TRUE(platform::MakeDirectories(dir.file("kvqt.sdb.txt")));
  EXPECT_EQ(processor.ProcessFeed(dir.file("sintab.fd"), nullptr), -1);
  ASSERT_EQ(messages->shown().size(), 1u);
  EXPECT_EQ(messages->shown()[0].text, "Error opening kvqt.sdb.txt");
  EXPECT_EQ(profile().getString("sinchangesdate", ""), std::string(""));
}

TEST_F(DigitalFeedTest, DialogShowsTheCountThinningOut) {
  std::string feed;
  for (int i = 1; i <= 1250; ++i) feed += InstrumentHex(5, static_cast<std::uint32_t>(i), 1, "S", "N", 1, 1, 1);
  FakeDialog dialog;
  ASSERT_EQ(Process(feed, &dialog), 0);
  EXPECT_FALSE(dialog.logged);
  // 0..99, then 100..990 by ten, then 1000..1200 by a hundred.
  ASSERT_EQ(dialog.statuses.size(), 100u + 90u + 3u);
  EXPECT_EQ(dialog.statuses[0], "Processing symbol changes 0");
  EXPECT_EQ(dialog.statuses[99], "Processing symbol changes 99");
  EXPECT_EQ(dialog.statuses[100], "Processing symbol changes 100");
  EXPECT_EQ(dialog.statuses[101], "Processing symbol changes 110");
  EXPECT_EQ(dialog.statuses.back(), "Processing symbol changes 1200");
  EXPECT_GE(dialog.pumps, 1250);
}

TEST_F(DigitalFeedTest, CancelStopsWithoutStoringTheDates) {
  std::string feed;
  for (int i = 1; i <= 50; ++i) feed += InstrumentHex(5, static_cast<std::uint32_t>(i), 1, "S", "N", 1, 1, 1);
  FakeDialog dialog;
  dialog.cancel_after = 10;
  EXPECT_EQ(Process(feed, &dialog), -3);
  EXPECT_EQ(records, 10);
  EXPECT_EQ(profile().getString("sinchangesdate", ""), std::string(""));
  // What was applied before the cancel is kept.
  TSintable table(dir.path());
  EXPECT_EQ(table.instrumentCount(), 10);
  EXPECT_EQ(DumpLines().size(), 10u);
}

}  // namespace
}  // namespace kvqt

namespace kvqt {
namespace {

TEST(ImportSymbolFeedTest, AppliesAndSavesOrKeepsTheFeedForAnotherTry) {
  testing::TempDir dir;
  setProfilePath(dir.file("kvqt.ini"));
  ScopedMessages messages;
  dir.write("sintab.fd", testing::InstrumentHex(5, 12, 1, "ABC", "Abc", 1, 2, 16));
  EXPECT_EQ(ImportSymbolFeed(dir.path(), dir.file("sintab.fd"), nullptr, Date(2005, 3, 15)), 0);
  EXPECT_EQ(TSintable(dir.path()).instrumentCount(), 1);
  EXPECT_EQ(profile().getString("sinchangesdate", ""), std::string("20050315"));

  EXPECT_EQ(ImportSymbolFeed(dir.path(), dir.file("absent.fd")), -1);

  // The table's place is taken by a directory: it cannot be written.
  std::remove(dir.file("kvqt.sdb").c_str());
  ASSERT_TRUE(platform::MakeDirectories(dir.file("kvqt.sdb")));
  EXPECT_EQ(ImportSymbolFeed(dir.path(), dir.file("sintab.fd")), -1);
}

}  // namespace
}  // namespace kvqt
