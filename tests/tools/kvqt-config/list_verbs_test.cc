// kvqt-config add-list and select: lists, their directories and the
// instruments a list downloads from each.
#include <gtest/gtest.h>

#include "config_run.h"
#include "formats/datafile_entry.h"
#include "formats/format_driver.h"
#include "platform/path.h"

namespace kvqt::config {
namespace {

class ListVerbsTest : public ConfigTest {
 protected:
  std::string ChartDirectory(const std::string& name, int formatId, std::vector<std::string> symbols) {
    std::string path = data.path() + name + "/";
    EXPECT_TRUE(platform::MakeDirectories(path));
    for (const std::string& symbol : symbols) {
      DatafileEntry entry;
      EXPECT_EQ(1, CreateEntry(symbol, symbol + " Corp", 0, entry, formatId, path));
    }
    return path;
  }

  // The list's directory in the saved data file.
  const Directory* SavedListDirectory(SavedData& saved, const char* format, const char* list,
                                      const std::string& path) {
    ReadSaved(saved);
    EXPECT_EQ(0, saved.rc);
    const Format* f = saved.formats.findBySymbol(format);
    const List* l = f ? f->listByName(list) : nullptr;
    return l ? l->directoryByName(path) : nullptr;
  }

  // The symbols the data file keeps as selected, in the directory's order.
  static std::vector<std::string> Selected(const Directory& directory) {
    std::vector<std::string> symbols;
    for (int i = 0; i < directory.size(); ++i) {
      if (directory.at(i)->selected()) symbols.push_back(directory.at(i)->symbol());
    }
    return symbols;
  }
};

TEST_F(ListVerbsTest, AListGetsItsDirectoriesWhichAlsoJoinTheFormat) {
  const std::string a = data.path() + "a/", b = data.path() + "b/";
  ConfigRun run = Config({"add-list", "ms", "Daily AEX", a, b});
  ASSERT_EQ(0, run.rc) << run.err;
  // Again, with one directory more: nothing doubles.
  const std::string c = ChartDirectory("c", 4, {"KLM"});
  run = Config({"add-list", "MS", "Daily AEX", b, c});
  ASSERT_EQ(0, run.rc) << run.err;
  EXPECT_NE(std::string::npos, run.out.find("list Daily AEX is already in format MS")) << run.out;

  SavedData saved;
  ReadSaved(saved);
  const Format* ms = saved.formats.findBySymbol("MS");
  ASSERT_NE(nullptr, ms);
  ASSERT_EQ(1, ms->listCount());
  const List* list = ms->listByName("Daily AEX");
  ASSERT_NE(nullptr, list);
  ASSERT_EQ(3, list->directoryCount());
  EXPECT_EQ(a, list->directoryAt(0)->name());
  EXPECT_EQ(b, list->directoryAt(1)->name());
  EXPECT_EQ(c, list->directoryAt(2)->name());
  EXPECT_EQ(c, list->currentDirectory()->name());
  EXPECT_EQ(3, ms->directoryCount());
  EXPECT_EQ(c, ms->currentDirectory()->name());
  EXPECT_EQ(list, ms->currentList());
  EXPECT_EQ(ms, saved.formats.current());
  // List names are case-sensitive: another spelling is another list.
  ASSERT_EQ(0, Config({"add-list", "MS", "daily aex"}).rc);
  SavedData again;
  ReadSaved(again);
  EXPECT_EQ(2, again.formats.findBySymbol("MS")->listCount());
}

TEST_F(ListVerbsTest, AListDirectoryOfAnotherFormatRefusesTheWholeList) {
  const std::string ms = ChartDirectory("ms", 4, {"AAA"});
  ConfigRun run = Config({"add-list", "ASC", "Mixed", data.path() + "fresh", ms});
  EXPECT_EQ(1, run.rc);
  EXPECT_EQ("kvqt-config: " + ms + ": Directory contains datafiles of another format:\nMetastock\n", run.err);
  EXPECT_FALSE(home.exists("kvqt.dat"));
}

TEST_F(ListVerbsTest, SelectingSymbolsStoresExactlyThoseInSelectionMode) {
  const std::string dir = ChartDirectory("asc", 5, {"AAA", "BBB", "CCC", "DDD"});
  ASSERT_EQ(0, Config({"add-list", "ASC", "Watch", dir}).rc);

  ConfigRun run = Config({"select", "ASC", "Watch", dir, "BBB", "ddd"});
  ASSERT_EQ(0, run.rc) << run.err;
  EXPECT_NE(std::string::npos, run.out.find("selection, 2 of 4 instruments selected")) << run.out;
  SavedData saved;
  const Directory* selected = SavedListDirectory(saved, "ASC", "Watch", dir);
  ASSERT_NE(nullptr, selected);
  EXPECT_EQ(Directory::kSelectStored, selected->selectionMode());
  EXPECT_EQ((std::vector<std::string>{"BBB", "DDD"}), Selected(*selected));

  // A new selection replaces the old one.
  ASSERT_EQ(0, Config({"select", "ASC", "Watch", dir, "AAA"}).rc);
  SavedData replaced;
  selected = SavedListDirectory(replaced, "ASC", "Watch", dir);
  ASSERT_NE(nullptr, selected);
  EXPECT_EQ(std::vector<std::string>{"AAA"}, Selected(*selected));
}

TEST_F(ListVerbsTest, AllAndNoneSetTheModeAndStoreNoEntries) {
  const std::string dir = ChartDirectory("asc", 5, {"AAA", "BBB"});
  ASSERT_EQ(0, Config({"add-list", "ASC", "Watch", dir}).rc);
  ASSERT_EQ(0, Config({"select", "ASC", "Watch", dir, "BBB"}).rc);

  struct Case {
    const char* word;
    int mode;
  } cases[] = {{"none", Directory::kSelectNone}, {"all", Directory::kSelectAll}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.word);
    ConfigRun run = Config({"select", "ASC", "Watch", dir, c.word});
    ASSERT_EQ(0, run.rc) << run.err;
    SavedData saved;
    const Directory* selected = SavedListDirectory(saved, "ASC", "Watch", dir);
    ASSERT_NE(nullptr, selected);
    EXPECT_EQ(c.mode, selected->selectionMode());
    EXPECT_EQ(0, selected->size());
  }
}

TEST_F(ListVerbsTest, ASelectionThatCannotBeMadeChangesNothing) {
  const std::string dir = ChartDirectory("asc", 5, {"AAA"});
  const std::string empty = data.path() + "empty/";
  ASSERT_EQ(0, Config({"add-list", "ASC", "Watch", dir, empty}).rc);
  const std::string before = home.read("kvqt.dat");

  struct Case {
    std::vector<std::string> args;
    std::string message;
  } cases[] = {
      {{"select", "ASC", "Watch", dir, "AAA", "ZZZ"}, "kvqt-config: no instrument ZZZ in directory " + dir + "\n"},
      {{"select", "ASC", "Watch", empty, "AAA"}, "kvqt-config: Can't access Masterfile of directory " + empty + "\n"},
      {{"select", "ASC", "Other", dir, "AAA"}, "kvqt-config: format ASC has no list Other\n"},
      {{"select", "ASC", "watch", dir, "AAA"}, "kvqt-config: format ASC has no list watch\n"},
      {{"select", "ASC", "Watch", data.path() + "elsewhere", "all"},
       "kvqt-config: list Watch has no directory " + data.path() + "elsewhere/\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    ConfigRun run = Config(c.args);
    EXPECT_EQ(1, run.rc);
    EXPECT_EQ(c.message, run.err);
  }
  EXPECT_EQ(before, home.read("kvqt.dat"));
}

}  // namespace
}  // namespace kvqt::config
