#include "app/model/format_table.h"

#include <gtest/gtest.h>

#include <set>

namespace kvqt {
namespace {

TEST(FormatTableTest, SixteenFormatsWithDistinctIdsAndSymbols) {
  std::set<int> ids;
  std::set<std::string> symbols;
  for (const FormatTableRow& row : FormatTable()) {
    ids.insert(row.formatId);
    symbols.insert(row.symbol);
  }
  EXPECT_EQ(FormatTable().size(), 16u);
  EXPECT_EQ(ids.size(), 16u);
  EXPECT_EQ(symbols.size(), 16u);
  for (int absent : {1, 2, 3, 7, 12, 13, 14}) EXPECT_EQ(ids.count(absent), 0u) << absent;
}

TEST(FormatTableTest, MergeIntoNothingGivesTheTableInNameOrder) {
  Formats formats;
  MergeFormatTable(formats);
  ASSERT_EQ(formats.count(), 16);
  const char* order[] = {"ASC", "ASCYYYY", "ASC6I",  "EXC-NL", "EXC-UK", "TAB", "DAVI-IMP", "HERMES",
                         "HERM-ITD", "KB2", "MS", "MSI", "ORV2", "PEL", "TI", "TPV"};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(formats.at(i)->symbol(), order[i]) << i;

  const Format* excel = formats.findBySymbol("EXC-NL");
  EXPECT_EQ(excel->name(), "Ascii: Excel Format (YY-MM-DD 0,00)");
  EXPECT_EQ(excel->formatId(), 10);
  EXPECT_EQ(excel->formatflags(), 0x09);
  EXPECT_EQ(excel->maxNameLength(), 40);
  EXPECT_EQ(excel->fsep(), '\t');
  EXPECT_EQ(excel->dsep(), '-');
  EXPECT_EQ(excel->frsep(), ',');
}

TEST(FormatTableTest, MergeRestoresBuiltInValuesAndKeepsTheUsersTree) {
  Formats formats;
  auto ms = std::make_unique<Format>("MS", "Zz my charts", 12);
  ms->setFormatflags(0xFF);
  ms->setSeparators(';', '/', ',');
  ms->addDirectory(std::make_unique<Directory>("/data/ms/", 12));
  ms->addList(std::make_unique<List>("Funds", 12));
  ms->setCurDi(0);
  ms->setCurLi(0);
  formats.add(std::move(ms));
  formats.add(std::make_unique<Format>("OWN", "My own format", 13));

  MergeFormatTable(formats);

  EXPECT_EQ(formats.count(), 17);
  Format* merged = formats.findBySymbol("MS");
  EXPECT_EQ(merged->name(), "Metastock");
  EXPECT_EQ(merged->formatId(), 4);
  EXPECT_EQ(merged->formatflags(), 0x01);
  EXPECT_EQ(merged->fsep(), ',');
  EXPECT_EQ(merged->dsep(), '\0');
  EXPECT_EQ(merged->directoryCount(), 1);
  EXPECT_EQ(merged->directoryAt(0)->formatId(), 4);
  EXPECT_EQ(merged->listCount(), 1);
  EXPECT_EQ(merged->curDi(), 0);
  // The new name sorts elsewhere; lookups by name still work.
  EXPECT_EQ(formats.findByName("Metastock"), merged);
  for (int i = 1; i < formats.count(); ++i) EXPECT_LT(formats.at(i - 1)->name(), formats.at(i)->name());

  Format* own = formats.findBySymbol("OWN");
  EXPECT_EQ(own->name(), "My own format");
  EXPECT_EQ(own->formatId(), 13);
}

TEST(FormatTableTest, MergeKeepsTheCurrentFormat) {
  Formats formats;
  formats.add(std::make_unique<Format>("TPV", "Topvest", 8));
  MergeFormatTable(formats);
  EXPECT_EQ(formats.current()->symbol(), "TPV");
}

}  // namespace
}  // namespace kvqt
