#include "maintenance/print_pages.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/model/directory.h"
#include "app/model/format.h"
#include "app/model/format_flags.h"
#include "app/model/list.h"

namespace kvqt {
namespace {

constexpr int kId = 4;
const DateTime kPrintedAt(2026, 12, 3, 9, 5, 7);

void AddInstrument(Directory& directory, const char* symbol, const char* name, Date first, Date last,
                   bool selected = false) {
  auto datafile = std::make_unique<Datafile>(symbol, name, kId, 30);
  datafile->setDates(first, last, 10);
  datafile->setSelected(selected);
  directory.add(std::move(datafile));
}

std::string Rule(int width) { return std::string(static_cast<std::size_t>(width), '-'); }

TEST(PrintPagesTest, LineWidthByFormatKind) {
  Format daily("MS", "MetaStock", kId);
  EXPECT_EQ(PrintLineWidth(daily), 88);
  Format intraday("MSI", "MetaStock Intraday", 20);
  intraday.setFormatflags(FormatFlag::IntradayFields);
  EXPECT_EQ(PrintLineWidth(intraday), 100);
}

TEST(PrintPagesTest, DirectoryPagesBreakWithHeaderAndFooterOnEach) {
  Format format("MS", "MetaStock", kId);
  Directory directory("/data/ms/", kId);
  AddInstrument(directory, "AAA", "Alpha", Date(2001, 2, 3), Date(2026, 12, 1));
  AddInstrument(directory, "BBB", "Beta Holdings with a name longer than fifty characters", Date(1999, 1, 4),
                Date(2026, 11, 30));
  AddInstrument(directory, "CCCCCCCCCC", "Gamma", Date(), Date());
  AddInstrument(directory, "DDD", "Delta", Date(2020, 6, 15), Date(2026, 12, 2));

  // 18 lines a page: 10 of header, 3 of instruments, then the footer five and four lines above the end.
  std::vector<PrintPage> pages = ComposeDirectoryPrint(format, directory, 18, kPrintedAt);
  ASSERT_EQ(pages.size(), 2u);
  const std::string heading =
      "symbol    name                                                from        to        ";
  const PrintPage first = {
      "",
      "",
      "",
      "Norvale Korvane - Directory",
      "",
      "Format   : MetaStock",
      "Directory: /data/ms/",
      Rule(88),
      heading,
      Rule(88),
      "AAA       Alpha                                               03/02/2001  01/12/2026",
      "BBB       Beta Holdings with a name longer than fifty charac  04/01/1999  30/11/2026",
      "DDD       Delta                                               15/06/2020  02/12/2026",
      Rule(88),
      "3/12/2026 09:05:07                                                               Page: 1",
  };
  EXPECT_EQ(pages[0], first);
  const PrintPage second = {
      "", "", "", "Norvale Korvane - Directory", "", "Format   : MetaStock", "Directory: /data/ms/", Rule(88),
      heading, Rule(88),
      "CCCCCCCC  Gamma                                               00/00/0000  00/00/0000",
      "", "", Rule(88),
      "3/12/2026 09:05:07                                                               Page: 2",
  };
  EXPECT_EQ(pages[1], second);
  EXPECT_EQ(pages[0].back().size(), 88u);
}

TEST(PrintPagesTest, IntradayDirectoryLinesCarryTimes) {
  Format format("MSI", "MetaStock Intraday", 20);
  format.setFormatflags(FormatFlag::IntradayFields);
  Directory directory("/data/intra/", 20);
  auto datafile = std::make_unique<Datafile>("AAA", "Alpha", 20, 30);
  datafile->setDates(Date(2026, 12, 1), Time(9, 0, 0), Date(2026, 12, 2), Time(17, 35, 0), 100);
  directory.add(std::move(datafile));
  std::vector<PrintPage> pages = ComposeDirectoryPrint(format, directory, 60, kPrintedAt);
  ASSERT_EQ(pages.size(), 1u);
  ASSERT_EQ(pages[0].size(), 57u);
  EXPECT_EQ(pages[0][8], "symbol    name                                                from              to              ");
  EXPECT_EQ(pages[0][10], "AAA       Alpha                                               01/12/2026 09:00  02/12/2026 17:35");
  EXPECT_EQ(pages[0][55], Rule(100));
  EXPECT_EQ(pages[0][56].size(), 100u);
}

TEST(PrintPagesTest, ListPrintsWhatEachDirectoryDownloads) {
  Format format("MS", "MetaStock", kId);
  List list("Favourites", kId);
  list.addDirectory(std::make_unique<Directory>("/data/a/", kId));
  list.addDirectory(std::make_unique<Directory>("/data/b/", kId));
  list.addDirectory(std::make_unique<Directory>("/data/c/", kId));
  Directory& a = *list.directoryByName("/data/a/");
  a.setSelectionMode(Directory::kSelectStored);
  AddInstrument(a, "AAA", "Alpha", Date(2001, 2, 3), Date(2026, 12, 1), true);
  AddInstrument(a, "BBB", "Beta", Date(2001, 2, 3), Date(2026, 12, 1), false);
  Directory& b = *list.directoryByName("/data/b/");
  b.setSelectionMode(Directory::kSelectNone);
  AddInstrument(b, "CCC", "Gamma", Date(2001, 2, 3), Date(2026, 12, 1), true);
  Directory& c = *list.directoryByName("/data/c/");
  c.setSelectionMode(Directory::kSelectAll);
  AddInstrument(c, "DDD", "Delta", Date(2010, 10, 10), Date(2026, 12, 1), false);

  std::vector<PrintPage> pages = ComposeListPrint(format, list, 20, kPrintedAt);
  ASSERT_EQ(pages.size(), 1u);
  const PrintPage page = {
      "",
      "",
      "",
      "Norvale Korvane - List (selected instruments only)",
      "Format: MetaStock",
      "List  : Favourites",
      "",
      "Directory: /data/a/",
      "    AAA       Alpha                                               03/02/2001  01/12/2026",
      "Directory: /data/b/",
      "Directory: /data/c/",
      "    DDD       Delta                                               10/10/2010  01/12/2026",
      "",
      "",
      "",
      Rule(88),
      "3/12/2026 09:05:07                                                               Page: 1",
  };
  EXPECT_EQ(pages[0], page);
}

TEST(PrintPagesTest, EmptyDirectoryAndTinyPageStillGiveWholePages) {
  Format format("MS", "MetaStock", kId);
  Directory directory("/data/empty/", kId);
  std::vector<PrintPage> pages = ComposeDirectoryPrint(format, directory, 60, kPrintedAt);
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_EQ(pages[0].size(), 57u);

  AddInstrument(directory, "AAA", "Alpha", Date(2001, 2, 3), Date(2026, 12, 1));
  AddInstrument(directory, "BBB", "Beta", Date(2001, 2, 3), Date(2026, 12, 1));
  // Too small for header and footer: one instrument a page, never an endless run of pages.
  pages = ComposeDirectoryPrint(format, directory, 0, kPrintedAt);
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(pages[1][10].substr(0, 3), "BBB");
}

}  // namespace
}  // namespace kvqt
