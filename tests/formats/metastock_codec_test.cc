#include "formats/metastock_codec.h"

#include <gtest/gtest.h>

#include "support/hex.h"

namespace kvqt::metastock {
namespace {

using testing::Hex;
using testing::ToHex;

// 2000-01-03 09:30:00, open 10, high 11, low 9.5, close 10.5, volume 1000.
PriceRecord Sample(bool intraday) {
  PriceRecord r;
  r.date = Date(2000, 1, 3);
  if (intraday) r.time = Time(9, 30, 0);
  r.open = 10;
  r.high = 11;
  r.low = 9.5f;
  r.close = 10.5f;
  r.volume = 1000;
  return r;
}

TEST(MetaStockCodecTest, RecordLayoutsByFieldCount) {
  struct Case {
    int formatId;
    int fields;
    const char* hex;
  } cases[] = {
      {4, 5, "70 2a 74 94 | 00 00 30 84 | 00 00 18 84 | 00 00 28 84 | 00 00 7a 8a"},
      {4, 6, "70 2a 74 94 | 00 00 20 84 | 00 00 30 84 | 00 00 18 84 | 00 00 28 84 | 00 00 7a 8a"},
      {4, 7, "70 2a 74 94 | 00 00 20 84 | 00 00 30 84 | 00 00 18 84 | 00 00 28 84 | 00 00 7a 8a | 00 00 00 00"},
      {20, 6, "70 2a 74 94 | 00 a4 35 91 | 00 00 30 84 | 00 00 18 84 | 00 00 28 84 | 00 00 7a 8a"},
      {20, 7, "70 2a 74 94 | 00 a4 35 91 | 00 00 20 84 | 00 00 30 84 | 00 00 18 84 | 00 00 28 84 | 00 00 7a 8a"},
      {20, 8,
       "70 2a 74 94 | 00 a4 35 91 | 00 00 20 84 | 00 00 30 84 | 00 00 18 84 | 00 00 28 84 | 00 00 7a 8a |"
       "00 00 00 00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fields);
    bool intraday = IsIntraday(c.formatId);
    ASSERT_TRUE(IsValidFieldCount(c.formatId, c.fields));
    unsigned char out[32];
    EncodeRecord(Sample(intraday), c.fields, intraday, out);
    EXPECT_EQ(ToHex(Hex(c.hex)), ToHex(std::string(reinterpret_cast<char*>(out), c.fields * 4)));

    PriceRecord back;
    DecodeRecord(out, c.fields, intraday, back);
    PriceRecord want = Sample(intraday);
    if (c.fields - (intraday ? 2 : 1) < 5) want.open = 0;  // no open column
    EXPECT_EQ(want.date.value(), back.date.value());
    EXPECT_EQ(want.time.value(), back.time.value());
    EXPECT_EQ(want.open, back.open);
    EXPECT_EQ(want.high, back.high);
    EXPECT_EQ(want.low, back.low);
    EXPECT_EQ(want.close, back.close);
    EXPECT_EQ(want.volume, back.volume);
  }
}

TEST(MetaStockCodecTest, FieldCountsOfEachKind) {
  for (int fields = 0; fields <= 9; ++fields) {
    EXPECT_EQ(fields >= 5 && fields <= 7, IsValidFieldCount(4, fields)) << fields;
    EXPECT_EQ(fields >= 5 && fields <= 7, IsValidFieldCount(3, fields)) << fields;
    EXPECT_EQ(fields >= 6 && fields <= 8, IsValidFieldCount(20, fields)) << fields;
  }
}

}  // namespace
}  // namespace kvqt::metastock
