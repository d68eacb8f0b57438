#include "service/symbols/sdb_file.h"

#include <gtest/gtest.h>

#include "sdb_test_util.h"
#include "support/hex.h"

namespace kvqt {
namespace {

using testing::Hex;
using testing::Le16;
using testing::Le32;
using testing::Padded;
using testing::SdbInstrumentBytes;
using testing::SdbItemBytes;
using testing::SdbSplitBytes;
using testing::ToHex;

SdbTables SmallTables() {
  SdbTables t;
  t.currencies.append({3, "EUR"});
  t.exchanges.append({42, "Amsterdam"});
  SinInstrument philips;
  philips.sincode = 1111;
  philips.symbol = "PHIA";
  philips.name = "Koninklijke Philips Electronics N.V. ABC";  // 40 characters, the most
  philips.currency = 3;
  philips.exchange = 42;
  philips.security_type = 16;
  philips.start_date = Date(1999, 12, 31);
  t.instruments.append(philips);
  SinSplitFactor split;
  split.sincode = 1111;
  split.record_date = Date(2005, 3, 10);
  split.symbol = "PHIA";
  split.split_date = Date(2005, 4, 1);
  split.factor = 2.0f;
  split.name = "Philips";
  split.applied = true;
  t.split_factors.append(split);
  return t;
}

const std::string kSmallFile =
    Hex("34 75 00 00"                  // version 30004
        "01 00 00 00 | 80 00 00 00"    // currencies: 1 of 128
        "01 00 00 00 | 00 01 00 00"    // exchanges: 1 of 256
        "01 00 00 00 | 00 04 00 00"    // instruments: 1 of 1024
        "01 00 00 00 | 00 01 00 00") + // split factors: 1 of 256
    Hex("03 00 00 00") + Padded("EUR", 70) +
    Hex("2a 00 00 00") + Padded("Amsterdam", 70) +
    Hex("57 04 00 00") + Padded("PHIA", 9) + "Koninklijke Philips Electronics N.V. ABC" + Hex("00") + Padded("", 13) +
        Hex("03 00 | 2a 00 | 10 | bf 0a 31 01 | 00 00 00 00") + Padded("", 20) +
    Hex("57 04 00 00 | 86 f1 31 01") + Padded("PHIA", 9) + Hex("e1 f1 31 01 | 00 00 00 40") + Padded("Philips", 41) +
        Hex("01") + Padded("", 20);

TEST(SdbFileTest, WritesTheCurrentLayout) {
  ASSERT_EQ(kSmallFile.size(), 36u + 74 + 74 + 100 + 87);
  EXPECT_EQ(ToHex(SerializeSdb(SmallTables())), ToHex(kSmallFile));
}

TEST(SdbFileTest, ReadsTheCurrentLayout) {
  SdbTables t;
  SdbLayout layout = SdbLayout::kEarlier;
  std::string error;
  ASSERT_EQ(ParseSdb(kSmallFile, t, &layout, &error), 0) << error;
  EXPECT_EQ(layout, SdbLayout::kCurrent);
  EXPECT_EQ(t.currencies.capacity(), 128);
  ASSERT_EQ(t.instruments.count(), 1);
  const SinInstrument& r = *t.instruments.at(0);
  EXPECT_EQ(r.sincode, 1111);
  EXPECT_EQ(r.name, "Koninklijke Philips Electronics N.V. ABC");
  EXPECT_EQ(r.start_date.value(), 19991231);
  EXPECT_EQ(t.split_factors.at(0)->factor, 2.0f);
  EXPECT_TRUE(t.split_factors.at(0)->applied);
  // Written back unchanged.
  EXPECT_EQ(SerializeSdb(t), kSmallFile);
}

TEST(SdbFileTest, ReadsTheEarlierLayout) {
  const std::string earlier =
      Hex("01 00 00 00 | 80 00 00 00"
          "00 00 00 00 | 00 01 00 00"
          "01 00 00 00 | 00 04 00 00"
          "01 00 00 00 | 00 01 00 00") +
      // The name field holds 36 characters; 35 are kept.
      Hex("03 00 00 00") + "Euro, the currency of the eurozone!!" +
      // Symbol of 8 characters without a NUL, the dropped byte, a 36-byte name.
      Hex("d2 04 00 00") + "ABCDEFGH" + Hex("ee") + Padded("Abc Holding", 36, ' ') +
          Hex("03 00 | 2a 00 | 10 | bf 0a 31 01") +
      Hex("d2 04 00 00 | 86 f1 31 01") + Padded("ABC", 9) + Hex("e1 f1 31 01 | 00 00 80 3f") + Padded("Abc", 41) +
          Hex("00");
  ASSERT_EQ(earlier.size(), 32u + 40 + 58 + 67);
  SdbTables t;
  SdbLayout layout = SdbLayout::kCurrent;
  ASSERT_EQ(ParseSdb(earlier, t, &layout, nullptr), 0);
  EXPECT_EQ(layout, SdbLayout::kEarlier);
  ASSERT_EQ(t.currencies.count(), 1);
  EXPECT_EQ(t.currencies.at(0)->name, "Euro, the currency of the eurozone!");
  EXPECT_EQ(t.exchanges.count(), 0);
  EXPECT_EQ(t.exchanges.capacity(), 256);
  ASSERT_EQ(t.instruments.count(), 1);
  const SinInstrument& r = *t.instruments.at(0);
  EXPECT_EQ(r.sincode, 1234);
  EXPECT_EQ(r.symbol, "ABCDEFGH");
  EXPECT_EQ(r.name, "Abc Holding");
  EXPECT_EQ(r.currency, 3);
  EXPECT_EQ(r.exchange, 42);
  EXPECT_EQ(r.security_type, 16);
  EXPECT_EQ(r.start_date.value(), 19991231);
  EXPECT_TRUE(r.second_date.isNull());
  ASSERT_EQ(t.split_factors.count(), 1);
  EXPECT_EQ(t.split_factors.at(0)->factor, 1.0f);
  EXPECT_EQ(t.split_factors.at(0)->split_date.value(), 20050401);

  // In the current layout the record gets its zero tail.
  const std::string current = SerializeSdb(t);
  EXPECT_EQ(current.substr(36 + 74 + 100), SdbSplitBytes(1234, 20050310, "ABC", 20050401, "00 00 80 3f", "Abc", 0));
  EXPECT_EQ(current.substr(36 + 74, 100), SdbInstrumentBytes(1234, "ABCDEFGH", "Abc Holding", 3, 42, 16, 19991231));
}

TEST(SdbFileTest, RefusesFilesThatAreNotATable) {
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"empty", ""},
      {"three bytes", Hex("34 75 00")},
      {"newer version", Hex("35 75 00 00") + Padded("", 32)},
      {"header cut", Hex("34 75 00 00") + Padded("", 20)},
      {"negative count", Hex("34 75 00 00 | ff ff ff ff 80 00 00 00") + Padded("", 24)},
      {"records missing", Hex("34 75 00 00") + Padded("", 16) + Hex("01 00 00 00 00 04 00 00") + Padded("", 8)},
      {"huge count", Hex("34 75 00 00") + Padded("", 16) + Hex("ff ff ff 7f ff ff ff 7f") + Padded("", 8)},
      {"earlier, records missing", Hex("02 00 00 00 80 00 00 00") + Padded("", 24) + Padded("", 79)},
  };
  for (const auto& c : cases) {
    SdbTables t = SmallTables();
    std::string error;
    EXPECT_EQ(ParseSdb(c.bytes, t, nullptr, &error), -1) << c.what;
    EXPECT_FALSE(error.empty()) << c.what;
    EXPECT_EQ(t.instruments.count() + t.currencies.count() + t.split_factors.count(), 0) << c.what;
    EXPECT_EQ(t.instruments.capacity(), 1024) << c.what;
  }
}

TEST(SdbFileTest, EveryTruncationIsRefusedAndExtraBytesIgnored) {
  for (std::size_t n = 0; n < kSmallFile.size(); ++n) {
    SdbTables t;
    EXPECT_EQ(ParseSdb(kSmallFile.substr(0, n), t, nullptr, nullptr), -1) << n;
  }
  SdbTables t;
  EXPECT_EQ(ParseSdb(kSmallFile + "tail", t, nullptr, nullptr), 0);
}

TEST(SdbFileTest, CapacityBelowTheCountIsRaisedToIt) {
  std::string bytes = kSmallFile;
  bytes.replace(24, 4, Le32(0));  // instruments: 1 of 0
  SdbTables t;
  ASSERT_EQ(ParseSdb(bytes, t, nullptr, nullptr), 0);
  EXPECT_EQ(t.instruments.capacity(), 1);
}

TEST(SdbFileTest, ImpossibleDatesReadAsNotSet) {
  std::string bytes = kSmallFile;
  bytes.replace(36 + 74 + 74 + 72, 4, Le32(20051332));
  SdbTables t;
  ASSERT_EQ(ParseSdb(bytes, t, nullptr, nullptr), 0);
  EXPECT_TRUE(t.instruments.at(0)->start_date.isNull());
}

TEST(SdbFileTest, RandomBytesNeverCrash) {
  std::uint32_t seed = 99;
  for (int round = 0; round < 2000; ++round) {
    std::string bytes = kSmallFile;
    for (int k = 0; k < 4; ++k) {
      seed = seed * 1103515245u + 12345u;
      bytes[(seed >> 8) % bytes.size()] = static_cast<char>(seed >> 24);
    }
    SdbTables t;
    ParseSdb(bytes, t, nullptr, nullptr);
    SerializeSdb(t);
  }
}

}  // namespace
}  // namespace kvqt
