// Directory entries rebuilt from the chart database, and list files.
#include "formats/directory_refresh.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/core/messages.h"
#include "app/model/directory.h"
#include "app/core/personal_profile.h"
#include "format_test_util.h"
#include "formats/format_driver.h"
#include "formats/storage_registry.h"
#include "platform/program_dir.h"
#include "support/hex.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

using testing::Daily;
using testing::TempDir;

class DirectoryRefreshTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setProfilePath(settings.file("kvqt.ini"));
    previousRefresh = Directory::SetRefreshHook(nullptr);
    previousListFile = Directory::SetListFileHook(nullptr);
    InstallDirectoryRefresh();
  }
  void TearDown() override {
    Directory::SetRefreshHook(previousRefresh);
    Directory::SetListFileHook(previousListFile);
    setProfilePath(platform::SettingsFilePath());
  }

  // An instrument with `days` daily records from 3 January 2000.
  void Instrument(const std::string& path, int formatId, const std::string& symbol, const std::string& name,
                  int days) {
    DatafileEntry entry;
    ASSERT_EQ(1, CreateEntry(symbol, name, 0, entry, formatId, path));
    std::vector<PriceRecord> records;
    for (int i = 0; i < days; ++i) records.push_back(Daily(Date(2000, 1, 3).addDays(i), 1, 2, 1, 2, 100));
    ASSERT_EQ(0, testing::AppendRecords(path, formatId, entry, records));
  }

  // A stored entry, as the program data file brings it back.
  Datafile* Stored(Directory& directory, const std::string& symbol, const std::string& name, bool selected) {
    Datafile* datafile = directory.add(std::make_unique<Datafile>(symbol, name, directory.formatId()));
    datafile->setSelected(selected);
    return datafile;
  }

  TempDir dir;
  TempDir settings;
  ScopedMessages messages;
  Directory::RefreshHook previousRefresh = nullptr;
  Directory::ListFileHook previousListFile = nullptr;
};

TEST_F(DirectoryRefreshTest, SelectionModesDecideWhatNewInstrumentsGet) {
  struct Case {
    int formatId;
    int mode;
    bool newSelected;
  } cases[] = {
      {5, Directory::kSelectAll, true},  {5, Directory::kSelectStored, false},
      {4, Directory::kSelectAll, true},  {4, Directory::kSelectStored, false},
      {15, Directory::kSelectNone, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.formatId * 10 + c.mode);
    TempDir own;
    Instrument(own.path(), c.formatId, "AAA", "Aaa", 2);
    Instrument(own.path(), c.formatId, "BBB", "Bbb", 3);
    Directory directory(own.path(), c.formatId);
    directory.setSelectionMode(c.mode);
    Stored(directory, "BBB", "Bbb", true);
    Stored(directory, "GONE", "Gone away", true);  // no longer in the master

    EXPECT_EQ(2, directory.count());
    EXPECT_TRUE(directory.scanned());
    Datafile* a = directory.find("AAA", "Aaa");
    Datafile* b = directory.find("BBB", "Bbb");
    ASSERT_NE(nullptr, a);
    ASSERT_NE(nullptr, b);
    EXPECT_EQ(c.newSelected, a->selected());
    EXPECT_TRUE(b->selected());  // a stored selection stays
    EXPECT_EQ(nullptr, directory.bySymbol("GONE"));
    EXPECT_EQ(3, b->recordCount());
    EXPECT_EQ(20000103, b->firstDate().value());
    EXPECT_EQ(20000105, b->lastDate().value());
    // Scanned once per run; later refreshes only check that the master opens.
    EXPECT_EQ(0, directory.refresh());
  }
}

TEST_F(DirectoryRefreshTest, AStoredEntryThatWasNotSelectedStaysUnselected) {
  Instrument(dir.path(), 5, "AAA", "Aaa", 1);
  Directory directory(dir.path(), 5);
  Stored(directory, "AAA", "Aaa", false)->setRealtime();
  ASSERT_EQ(1, directory.refresh());
  ASSERT_EQ(1, directory.size());
  EXPECT_FALSE(directory.at(0)->selected());
  EXPECT_TRUE(directory.at(0)->realtime());
}

TEST_F(DirectoryRefreshTest, APathWithoutTrailingSeparatorIsTheSameDirectory) {
  Instrument(dir.path(), 5, "AAA", "Aaa", 1);
  std::string path = dir.path();
  path.pop_back();
  Directory directory(path, 5);
  ASSERT_EQ(1, directory.refresh());
  EXPECT_EQ(1, directory.size());
}

TEST_F(DirectoryRefreshTest, MetaStockCountsPriceRecordsWithoutTheHeaderRecord) {
  Instrument(dir.path(), 4, "MS1", "MetaStock One", 10);  // the master says 11
  DatafileEntry entry;
  ASSERT_EQ(0, FindEntry("MS1", entry, 4, dir.path(), kScanReadHeader));
  ASSERT_EQ(11, entry.recordCount);
  Directory directory(dir.path(), 4);
  ASSERT_EQ(1, directory.refresh());
  ASSERT_EQ(1, directory.size());
  EXPECT_EQ(10, directory.at(0)->recordCount());
  EXPECT_EQ("MetaStock One", directory.at(0)->name());
}

TEST_F(DirectoryRefreshTest, IntradayEntriesGetTimesAndInterval) {
  DatafileEntry entry;
  ASSERT_EQ(1, CreateEntry("MIN", "", 5, entry, 21, dir.path()));
  ASSERT_EQ(0, testing::AppendRecords(dir.path(), 21, entry,
                                      {testing::Intraday(Date(2001, 3, 3), Time(9, 30, 0), 1, 2, 1, 2, 3),
                                       testing::Intraday(Date(2001, 3, 3), Time(9, 35, 0), 1, 2, 1, 2, 3)}));
  Directory directory(dir.path(), 21);
  ASSERT_EQ(1, directory.refresh());
  Datafile* d = directory.bySymbol("MIN");
  ASSERT_NE(nullptr, d);
  EXPECT_EQ("MIN", d->name());  // an empty name takes the symbol
  EXPECT_EQ(5, d->interval());
  EXPECT_EQ('I', d->per());
  EXPECT_EQ(93000, d->firstTime().value());
  EXPECT_EQ(93500, d->lastTime().value());
}

TEST_F(DirectoryRefreshTest, FailuresLeaveTheEntriesAsTheyWere) {
  Directory empty(dir.path(), 5);
  Stored(empty, "KEEP", "Keep", true);
  EXPECT_EQ(-2, empty.refresh());
  EXPECT_EQ(1, empty.size());
  EXPECT_FALSE(empty.scanned());

  // An index of the former layout cannot be opened.
  dir.write("master.kvq", testing::Hex("41 42 43 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"));
  EXPECT_EQ(-1, empty.refresh());
  EXPECT_EQ(1, empty.size());
  EXPECT_EQ("Datadirectory has former ascii format", messages->shown().back().text);

  // A scanned directory whose master went away.
  TempDir other;
  Directory scanned(other.path(), 4);
  scanned.setScanned(true);
  EXPECT_EQ(-1, scanned.refresh());
}

TEST_F(DirectoryRefreshTest, OrvistaDirectoriesKeepTheirEntries) {
  Directory directory(dir.path(), 16);
  Stored(directory, "ORV", "Orvista one", false);
  EXPECT_EQ(1, directory.refresh());
  EXPECT_EQ(1, directory.size());
  EXPECT_EQ(0, directory.refresh());
}

TEST_F(DirectoryRefreshTest, HermesListFileSelectsTheNamedEntries) {
  for (const char* name : {"ABC.asc", "DEF.asc", "ghi.ASC"}) dir.write(name, "20000103,1,2,3,4,5\r\n");
  auto record = [](const std::string& text) {
    std::string r(13, '\0');
    r[0] = static_cast<char>(text.size());
    r.replace(1, text.size() < 12 ? text.size() : 12, text.substr(0, 12));
    return r;
  };
  std::string list = record("abc.ASC") + record("GHI.ASC") + record("zzz.asc") + std::string("\x05" "DEF", 4);
  dir.write("hermes.lst", list);

  Directory directory(dir.path(), 17);
  directory.readListFile(dir.file("hermes.lst"));
  EXPECT_EQ(Directory::kSelectStored, directory.selectionMode());
  ASSERT_EQ(3, directory.size());
  EXPECT_TRUE(directory.bySymbol("ABC")->selected());
  EXPECT_FALSE(directory.bySymbol("DEF")->selected());  // only in a record cut short
  EXPECT_TRUE(directory.bySymbol("ghi")->selected());
  EXPECT_TRUE(messages->shown().empty());

  // Another format, or a file that is not there, changes nothing.
  Directory other(dir.path(), 5);
  other.readListFile(dir.file("hermes.lst"));
  EXPECT_EQ(Directory::kSelectAll, other.selectionMode());
  directory.setSelectionMode(Directory::kSelectAll);
  directory.readListFile(dir.file("missing.lst"));
  EXPECT_EQ(Directory::kSelectAll, directory.selectionMode());
}

// Koersbase II entries from a stand-in driver: the list-file rules do not
// depend on how the files are read.
class FixedEntries : public StorageDriver {
 public:
  int scanEntries(MasterHandles& m, int, DatafileEntry& entry, const std::string&, int flags,
                  const std::string&) override {
    static const char* const kSymbols[] = {"ABC", "XYZ"};
    std::int64_t next = (flags & kScanContinue) ? m.scan.master : 0;
    if (next >= 2) return -1;
    entry = DatafileEntry();
    entry.symbol = entry.name = kSymbols[next];
    m.scan.master = next + 1;
    return 0;
  }
};

TEST_F(DirectoryRefreshTest, KoersbaseListFileCutsTheNameAtKbf) {
  FixedEntries fixed;
  StorageDriver* previous = SetStorageDriver(StorageKind::kBinaryPerSymbol, &fixed);
  dir.write("KB.LST", std::string("\x07" "abc.KBF", 8) + std::string(5, '\0'));
  Directory directory(dir.path(), 6);
  directory.readListFile(dir.file("kb.lst"));  // found regardless of case
  SetStorageDriver(StorageKind::kBinaryPerSymbol, previous);
  ASSERT_EQ(2, directory.size());
  EXPECT_TRUE(directory.bySymbol("ABC")->selected());
  EXPECT_FALSE(directory.bySymbol("XYZ")->selected());
}

}  // namespace
}  // namespace kvqt
