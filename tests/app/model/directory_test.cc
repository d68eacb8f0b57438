#include "app/model/directory.h"

#include <gtest/gtest.h>

#include "app/core/logs.h"
#include "app/core/messages.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

using kvqt::testing::TempDir;

std::unique_ptr<Datafile> Entry(const char* symbol, const char* name) {
  return std::make_unique<Datafile>(symbol, name, 4, 30);
}

std::vector<std::string> Names(const Directory& directory) {
  std::vector<std::string> names;
  for (int i = 0; i < directory.size(); ++i) names.push_back(directory.at(i)->name() + "/" + directory.at(i)->symbol());
  return names;
}

TEST(DirectoryTest, KeepsEntriesSortedAndInsertsDuplicates) {
  Directory directory("/data/ms/", 4);
  directory.add(Entry("UNA", "Unilever"));
  directory.add(Entry("AGN", "Aegon"));
  directory.add(Entry("AGN2", "Aegon"));
  directory.add(Entry("AGN", "Aegon"));
  EXPECT_EQ(Names(directory), (std::vector<std::string>{"Aegon/AGN", "Aegon/AGN", "Aegon/AGN2", "Unilever/UNA"}));
}

// Many entries at once end in the order that adding them one by one gives,
// equal ones in the order they came and after the equal ones already there.
TEST(DirectoryTest, AddingAllAtOnceOrdersAsAddingOneByOne) {
  struct Case {
    const char* symbol;
    const char* name;
  } cases[] = {{"UNA", "Unilever"}, {"AGN", "Aegon"}, {"AGN2", "Aegon"}, {"AGN", "Aegon"}, {"ASML", "ASML"},
               {"AGN", "Aegon"},    {"INGA", "ING"},  {"ABN", "ABN"},   {"UNA", "Unilever"}};
  auto order = [](const Directory& directory) {
    std::vector<std::string> seen;
    for (int i = 0; i < directory.size(); ++i)
      seen.push_back(directory.at(i)->name() + "/" + directory.at(i)->symbol() + "/" +
                     std::to_string(directory.at(i)->factor()));
    return seen;
  };
  for (std::size_t already = 0; already <= 3; ++already) {
    SCOPED_TRACE(already);
    Directory oneByOne("/data/ms/", 4), atOnce("/data/ms/", 4);
    std::vector<std::unique_ptr<Datafile>> rest;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
      for (Directory* d : {&oneByOne, &atOnce}) {
        auto entry = Entry(cases[i].symbol, cases[i].name);
        entry->setFactor(static_cast<float>(i + 1));
        if (d == &oneByOne)
          d->add(std::move(entry));
        else if (i < already)
          d->add(std::move(entry));
        else
          rest.push_back(std::move(entry));
      }
    }
    atOnce.addAll(std::move(rest));
    EXPECT_EQ(order(atOnce), order(oneByOne));
  }
}

TEST(DirectoryTest, FindsByNameAndSymbolOrBySymbol) {
  Directory directory("/data/ms/", 4);
  for (const char* s : {"D", "B", "F", "A", "C", "E"}) directory.add(Entry(s, (std::string("n") + s).c_str()));
  for (const char* s : {"A", "B", "C", "D", "E", "F"}) {
    Datafile* found = directory.find(s, std::string("n") + s);
    ASSERT_NE(found, nullptr) << s;
    EXPECT_EQ(found->symbol(), s);
    EXPECT_EQ(directory.bySymbol(s), found);
  }
  EXPECT_EQ(directory.find("A", "nB"), nullptr);
  EXPECT_EQ(directory.find("Z", "nZ"), nullptr);
  EXPECT_EQ(directory.find("0", "0"), nullptr);
  EXPECT_EQ(directory.bySymbol("Z"), nullptr);
  EXPECT_EQ(directory.at(6), nullptr);
  EXPECT_EQ(directory.at(-1), nullptr);
}

TEST(DirectoryTest, RemovingByAnIllegalIndexShowsItAndRemovesNothing) {
  ScopedMessages messages;
  Directory directory("/data/ms/", 4);
  directory.add(Entry("A", "a"));
  EXPECT_EQ(directory.removeAt(1), -1);
  EXPECT_EQ(directory.removeAt(-1), -1);
  EXPECT_EQ(directory.size(), 1);
  ASSERT_EQ(messages->shown().size(), 2u);
  EXPECT_EQ(messages->shown()[0].text, "Illegal datafile id 1");
  EXPECT_EQ(messages->shown()[0].caption, "Message");
}

TEST(DirectoryTest, RemovalClampsTheCurrentEntry) {
  Directory directory("/data/ms/", 4);
  directory.add(Entry("A", "a"));
  directory.add(Entry("B", "b"));
  directory.setCurDataFile(1);
  EXPECT_EQ(directory.removeAt(1), 0);
  EXPECT_EQ(directory.curDataFile(), 0);
  EXPECT_TRUE(directory.removeBySymbol("A"));
  EXPECT_EQ(directory.curDataFile(), -1);
  EXPECT_FALSE(directory.removeBySymbol("A"));
}

int g_refreshes = 0;
int CountingRefresh(Directory& directory) {
  ++g_refreshes;
  if (!directory.scanned()) directory.add(std::make_unique<Datafile>("NEW", "New", directory.formatId(), 30));
  directory.setScanned(true);
  return 1;
}

TEST(DirectoryTest, CountRunsTheInstalledRefreshFirst) {
  Directory directory("/data/ms/", 4);
  EXPECT_EQ(directory.count(), 0);
  EXPECT_EQ(directory.refresh(), 0);

  g_refreshes = 0;
  Directory::RefreshHook previous = Directory::SetRefreshHook(CountingRefresh);
  EXPECT_EQ(directory.count(), 1);
  EXPECT_EQ(directory.count(), 1);
  EXPECT_EQ(g_refreshes, 2);
  EXPECT_EQ(directory.size(), 1);
  Directory::SetRefreshHook(previous);
}

TEST(DirectoryTest, FailedLookupsGoToTheDebugLogOnlyInDebugMode) {
  TempDir dir;
  std::string previous_dir = Logs::Directory();
  Logs::SetDirectory(dir.path());
  Directory directory("/data/ms/", 4);
  directory.add(Entry("A", "a"));

  Logs::SetDebugMode(0);
  directory.bySymbol("XYZ");
  directory.first();
  EXPECT_FALSE(dir.exists("kvqt.dbg"));

  Logs::SetDebugMode(1);
  directory.bySymbol("XYZ");
  directory.first();
  EXPECT_EQ(dir.read("kvqt.dbg"), "GetDatafile failed for format: 4\r\n/data/ms/ XYZ\r\n/data/ms/ 1\r\n");

  Logs::SetDebugMode(0);
  Logs::SetDirectory(previous_dir);
}

TEST(DirectoryTest, IteratesInOrder) {
  Directory directory("/data/ms/", 4);
  directory.add(Entry("B", "b"));
  directory.add(Entry("A", "a"));
  std::string seen;
  for (Datafile* e = directory.first(); e; e = directory.next()) seen += e->symbol();
  EXPECT_EQ(seen, "AB");
}

TEST(DirectoryTest, FormatIdReachesEveryEntry) {
  Directory directory("/data/ms/", 12);
  directory.add(Entry("A", "a"));
  directory.setFormatId(4);
  EXPECT_EQ(directory.at(0)->formatId(), 4);
}

}  // namespace
}  // namespace kvqt
