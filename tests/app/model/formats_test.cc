#include "app/model/formats.h"

#include <gtest/gtest.h>

namespace kvqt {
namespace {

std::unique_ptr<Format> Fmt(const std::string& symbol, const std::string& name, int id) {
  return std::make_unique<Format>(symbol, name, id);
}

TEST(FormatsTest, HoldsAtMost24Formats) {
  Formats formats;
  for (int i = 0; i < 24; ++i) {
    EXPECT_TRUE(formats.add(Fmt("S" + std::to_string(i), "N" + std::to_string(100 + i), i)));
  }
  EXPECT_FALSE(formats.add(Fmt("X", "A first name", 99)));
  EXPECT_EQ(formats.count(), 24);
  EXPECT_EQ(formats.findBySymbol("X"), nullptr);
}

TEST(FormatsTest, SortedByNameWithLookups) {
  Formats formats;
  formats.add(Fmt("MS", "Metastock", 4));
  formats.add(Fmt("ASC", "Ascii: Comma Delimited", 5));
  formats.add(Fmt("TI", "Technical Investor", 0));
  formats.add(Fmt("MS2", "Metastock", 4));
  std::string order;
  for (Format* f = formats.first(); f; f = formats.next()) order += f->symbol() + " ";
  EXPECT_EQ(order, "ASC MS MS2 TI ");

  EXPECT_EQ(formats.findByName("Metastock")->symbol(), "MS");
  EXPECT_EQ(formats.findByName("metastock"), nullptr);
  EXPECT_EQ(formats.findBySymbol("TI")->name(), "Technical Investor");
  EXPECT_EQ(formats.findBySymbol("ti"), nullptr);
  EXPECT_EQ(formats.findById(4)->symbol(), "MS");
  EXPECT_EQ(formats.findById(7), nullptr);
}

TEST(FormatsTest, CurrentFormatByIdOrNameAndUnchangedWhenNothingMatches) {
  Formats formats;
  EXPECT_EQ(formats.current(), nullptr);
  formats.add(Fmt("MS", "Metastock", 4));
  formats.add(Fmt("TI", "Technical Investor", 0));
  EXPECT_EQ(formats.current()->symbol(), "MS");
  formats.setCurrentById(0);
  EXPECT_EQ(formats.current()->symbol(), "TI");
  formats.setCurrentById(42);
  EXPECT_EQ(formats.current()->symbol(), "TI");
  formats.setCurrentByName("Metastock");
  EXPECT_EQ(formats.current()->symbol(), "MS");
  formats.setCurrentByName("Nothing");
  EXPECT_EQ(formats.current()->symbol(), "MS");
  formats.setCurrentIndex(5);
  EXPECT_EQ(formats.current()->symbol(), "MS");
}

TEST(FormatsTest, AddingKeepsTheCurrentFormat) {
  Formats formats;
  formats.add(Fmt("TI", "Technical Investor", 0));
  formats.add(Fmt("MS", "Metastock", 4));
  formats.setCurrentById(0);
  formats.add(Fmt("ASC", "Ascii: Comma Delimited", 5));
  EXPECT_EQ(formats.current()->symbol(), "TI");
}

TEST(FormatsTest, ClearDeletesEverything) {
  Formats formats;
  formats.add(Fmt("MS", "Metastock", 4));
  formats.clear();
  EXPECT_EQ(formats.count(), 0);
  EXPECT_EQ(formats.current(), nullptr);
  EXPECT_EQ(formats.first(), nullptr);
}

}  // namespace
}  // namespace kvqt
