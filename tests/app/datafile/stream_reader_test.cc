#include "app/datafile/stream_reader.h"

#include <gtest/gtest.h>

#include "support/hex.h"

namespace kvqt {
namespace {

using kvqt::testing::Hex;

TEST(StreamReaderTest, HeaderGivesTheStreamFormat) {
  struct Case {
    const char* bytes;
    bool ok;
    std::uint32_t format;
    std::size_t offset;
  } cases[] = {
      {"3a 01 01 00 00", true, 257, 5},
      {"3a 00 01 00 00", true, 256, 5},
      {"3a 01 01", false, 0, 1},
      {"fc 75 00 00", true, 0, 0},
      {"", false, 0, 0},
  };
  for (const Case& c : cases) {
    std::string bytes = Hex(c.bytes);
    StreamReader in(bytes);
    EXPECT_EQ(in.readHeader(), c.ok) << c.bytes;
    EXPECT_EQ(in.streamFormat(), c.format) << c.bytes;
    EXPECT_EQ(in.offset(), c.offset) << c.bytes;
  }
}

TEST(StreamReaderTest, IntegersAreTwoBytesInStreamFormatZero) {
  std::string narrowBytes = Hex("ff ff 05 00");
  StreamReader narrow(narrowBytes);
  narrow.readHeader();
  std::int32_t a = 0, b = 0;
  EXPECT_TRUE(narrow.readInt(a));
  EXPECT_TRUE(narrow.readInt(b));
  EXPECT_EQ(a, -1);
  EXPECT_EQ(b, 5);

  std::string wideBytes = Hex("3a 01 01 00 00 | ff ff 05 00");
  StreamReader wide(wideBytes);
  wide.readHeader();
  EXPECT_TRUE(wide.readInt(a));
  EXPECT_EQ(a, 0x0005ffff);
}

TEST(StreamReaderTest, Texts) {
  struct Case {
    const char* label;
    std::string bytes;
    std::size_t size;
    bool ok;
    std::string text;
  } cases[] = {
      {"long length", Hex("3a 01 01 00 00 | 03 00 00 00") + "ABC", 8, true, "ABC"},
      {"null long", Hex("3a 01 01 00 00 | ff ff ff ff"), 8, true, ""},
      {"cut to field", Hex("3a 01 01 00 00 | 0a 00 00 00") + "ABCDEFGHIJ", 8, true, "ABCDEFGH"},
      {"embedded NUL", Hex("3a 01 01 00 00 | 03 00 00 00 41 00 42"), 8, true, "A"},
      {"past the end", Hex("3a 01 01 00 00 | 04 00 00 00") + "ABC", 8, false, ""},
      {"huge length", Hex("3a 01 01 00 00 | f0 ff ff ff") + "ABC", 8, false, ""},
      {"short length", Hex("3a 00 01 00 00 | 03") + "ABC", 8, true, "ABC"},
      {"null short", Hex("3a 00 01 00 00 | ff") + "ABC", 8, true, ""},
      {"format zero", Hex("02") + "AB", 8, true, "AB"},
  };
  for (const Case& c : cases) {
    StreamReader in(c.bytes);
    in.readHeader();
    std::string text;
    EXPECT_EQ(in.readText(text, c.size), c.ok) << c.label;
    EXPECT_EQ(text, c.text) << c.label;
  }
}

TEST(StreamReaderTest, AfterAFailureEveryReadFails) {
  std::string bytes = Hex("3a 01 01 00 00 | 01 02");
  StreamReader in(bytes);
  in.readHeader();
  std::int32_t value = 0;
  EXPECT_FALSE(in.readInt32(value));
  std::uint8_t byte = 0;
  EXPECT_FALSE(in.readByte(byte));
  EXPECT_FALSE(in.ok());
  EXPECT_EQ(in.offset(), 5u);
}

TEST(StreamReaderTest, BlockCutShortFails) {
  std::string bytes = Hex("01 02 03");
  StreamReader in(bytes);
  EXPECT_EQ(in.readBlock(2), Hex("01 02"));
  EXPECT_EQ(in.readBlock(5), Hex("03"));
  EXPECT_FALSE(in.ok());
}

}  // namespace
}  // namespace kvqt
