#include "app/model/format.h"

#include <gtest/gtest.h>

#include "app/core/messages.h"

namespace kvqt {
namespace {

std::unique_ptr<Directory> Dir(const char* path) { return std::make_unique<Directory>(path, 4); }
std::unique_ptr<List> NamedList(const char* name) { return std::make_unique<List>(name, 4); }

TEST(FormatTest, EmptyFormatHasTheTextSeparators) {
  Format format;
  EXPECT_EQ(format.symbol(), "");
  EXPECT_EQ(format.formatId(), 0);
  EXPECT_EQ(format.fsep(), ',');
  EXPECT_EQ(format.dsep(), '\0');
  EXPECT_EQ(format.frsep(), '.');
}

TEST(FormatTest, FlagTests) {
  struct Case {
    std::uint8_t flags;
    bool add, noScan, notSource, fileOut, defOnly, noDef, intraday, fields, dirs;
  } cases[] = {
      {0x00, false, false, false, false, false, false, false, false, true},
      {0x01, true, false, false, false, false, false, false, false, true},
      {0x06, false, true, true, false, false, false, false, false, true},
      {0x09, true, false, false, true, false, false, false, false, true},
      {0x18, false, false, false, true, true, false, false, false, false},
      {0x28, false, false, false, true, false, true, false, false, false},
      {0x41, true, false, false, false, false, false, true, true, true},
      {0x81, true, false, false, false, false, false, true, false, true},
  };
  for (const Case& c : cases) {
    Format f;
    f.setFormatflags(c.flags);
    SCOPED_TRACE(static_cast<int>(c.flags));
    EXPECT_EQ(f.addInstruments(), c.add);
    EXPECT_EQ(f.noMasterScan(), c.noScan);
    EXPECT_EQ(f.notConvertSource(), c.notSource);
    EXPECT_EQ(f.fileOutput(), c.fileOut);
    EXPECT_EQ(f.definitionOutputOnly(), c.defOnly);
    EXPECT_EQ(f.noDefinitionOutput(), c.noDef);
    EXPECT_EQ(f.intraday(), c.intraday);
    EXPECT_EQ(f.intradayFields(), c.fields);
    EXPECT_EQ(f.hasDirectories(), c.dirs);
  }
}

TEST(FormatTest, DirectoryPathsCompareRegardlessOfCaseAndTrailingSeparator) {
  Format format("MS", "Metastock", 4);
  EXPECT_TRUE(format.addDirectory(Dir("/data/MS/")));
  EXPECT_FALSE(format.addDirectory(Dir("/DATA/ms/")));
  EXPECT_EQ(format.directoryCount(), 1);

  Directory* found = format.directoryByName("/Data/Ms");
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->name(), "/data/MS/");
  EXPECT_EQ(format.directoryByName("/data/ms/x"), nullptr);
}

TEST(FormatTest, DirectoriesAreSortedByPathRegardlessOfCase) {
  Format format("MS", "Metastock", 4);
  format.addDirectory(Dir("/b/"));
  format.addDirectory(Dir("/C/"));
  format.addDirectory(Dir("/a/"));
  std::string order;
  for (Directory* d = format.firstDirectory(); d; d = format.nextDirectory()) order += d->name();
  EXPECT_EQ(order, "/a//b//C/");
}

TEST(FormatTest, ListNamesAreCaseSensitive) {
  Format format("MS", "Metastock", 4);
  EXPECT_TRUE(format.addList(NamedList("funds")));
  EXPECT_TRUE(format.addList(NamedList("Funds")));
  EXPECT_FALSE(format.addList(NamedList("funds")));
  EXPECT_EQ(format.listCount(), 2);
  EXPECT_EQ(format.listAt(0)->name(), "Funds");
  EXPECT_EQ(format.listByName("funds"), format.listAt(1));
  EXPECT_EQ(format.listByName("FUNDS"), nullptr);
}

TEST(FormatTest, CurrentDirectoryAndListBecomeInvalidWhenNotFound) {
  Format format("MS", "Metastock", 4);
  format.addDirectory(Dir("/a/"));
  format.addDirectory(Dir("/b/"));
  format.addList(NamedList("L"));
  format.setCurrentDirectory("/B");
  EXPECT_EQ(format.curDi(), 1);
  EXPECT_EQ(format.currentDirectory()->name(), "/b/");
  format.setCurrentDirectory("/c/");
  EXPECT_EQ(format.currentDirectory(), nullptr);

  format.setCurrentList("L");
  EXPECT_EQ(format.currentList()->name(), "L");
  format.setCurrentList("l");
  EXPECT_EQ(format.currentList(), nullptr);
}

TEST(FormatTest, RemovingTheLastDirectoryClampsCurDi) {
  Format format("MS", "Metastock", 4);
  format.addDirectory(Dir("/a/"));
  format.addDirectory(Dir("/b/"));
  format.setCurDi(1);
  EXPECT_EQ(format.removeDirectory(1), 0);
  EXPECT_EQ(format.curDi(), 0);
  EXPECT_EQ(format.removeDirectory(0), 0);
  EXPECT_EQ(format.curDi(), -1);
  EXPECT_EQ(format.currentDirectory(), nullptr);
}

TEST(FormatTest, IllegalIndexesAreShownAndRemoveNothing) {
  ScopedMessages messages;
  Format format("MS", "Metastock", 4);
  format.addDirectory(Dir("/a/"));
  format.addList(NamedList("L"));
  EXPECT_EQ(format.removeDirectory(1), -1);
  EXPECT_EQ(format.removeList(3), -1);
  EXPECT_EQ(format.directoryCount(), 1);
  EXPECT_EQ(format.listCount(), 1);
  ASSERT_EQ(messages->shown().size(), 2u);
  EXPECT_EQ(messages->shown()[0].text, "Illegal directory id 1");
  EXPECT_EQ(messages->shown()[1].text, "Illegal list id 3");
}

TEST(FormatTest, RemovingAListClampsCurLi) {
  Format format("MS", "Metastock", 4);
  format.addList(NamedList("A"));
  format.addList(NamedList("B"));
  format.setCurLi(1);
  EXPECT_EQ(format.removeList(0), 0);
  EXPECT_EQ(format.curLi(), 0);
  EXPECT_EQ(format.currentList()->name(), "B");
}

TEST(FormatTest, FormatIdReachesListsDirectoriesAndEntries) {
  Format format("MS", "Metastock", 12);
  auto list = NamedList("L");
  auto listDir = Dir("/l/");
  listDir->add(std::make_unique<Datafile>("A", "a", 12, 30));
  list->addDirectory(std::move(listDir));
  format.addList(std::move(list));
  format.addDirectory(Dir("/d/"));
  format.setFormatId(4);
  EXPECT_EQ(format.listAt(0)->formatId(), 4);
  EXPECT_EQ(format.listAt(0)->directoryAt(0)->formatId(), 4);
  EXPECT_EQ(format.listAt(0)->directoryAt(0)->at(0)->formatId(), 4);
  EXPECT_EQ(format.directoryAt(0)->formatId(), 4);
}

}  // namespace
}  // namespace kvqt
