// What the operations do for every format id before and around the storage
// kind's own code.
#include "formats/format_driver.h"

#include <dirent.h>

#include <gtest/gtest.h>

#include "app/datafile/writer_settings.h"
#include "app/core/messages.h"
#include "format_test_util.h"
#include "formats/storage_registry.h"
#include "support/hex.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

using testing::TempDir;

int FileCount(const std::string& dir) {
  int n = 0;
  DIR* d = ::opendir(dir.c_str());
  while (struct dirent* e = ::readdir(d)) n += e->d_name[0] != '.';
  ::closedir(d);
  return n;
}

// Records what reaches a kind's driver.
class FakeDriver : public StorageDriver {
 public:
  int addEntry(DatafileEntry& entry, int formatId, const std::string&) override {
    added = entry;
    addedId = formatId;
    return 0;
  }
  int openMaster(MasterHandles&, int formatId, const std::string&) override {
    openedId = formatId;
    return 0;
  }
  DatafileEntry added;
  int addedId = -1;
  int openedId = -1;
};

class ScopedDriver {
 public:
  ScopedDriver(StorageKind kind, StorageDriver* driver) : kind_(kind), previous_(SetStorageDriver(kind, driver)) {}
  ~ScopedDriver() { SetStorageDriver(kind_, previous_); }

 private:
  StorageKind kind_;
  StorageDriver* previous_;
};

class FormatDriverTest : public ::testing::Test {
 protected:
  TempDir dir;
  ScopedMessages messages;
};

TEST_F(FormatDriverTest, IdsAbove22DoNothing) {
  for (int id : {23, 24, 100, -1}) {
    SCOPED_TRACE(id);
    DatafileEntry entry;
    entry.fields = 7;
    entry.fileNumber = 1;
    DatafileHandle handle;
    MasterHandles masters;
    PriceRecord record;
    std::string name;
    EXPECT_EQ(-1, BuildFileName(entry, name, id, dir.path()));
    EXPECT_EQ(-1, OpenDatafile(entry, handle, id, OpenMode::kCreate, dir.path()));
    EXPECT_EQ(-1, WriteRecord(entry, handle, record, id));
    EXPECT_EQ(-1, ReadRecord(entry, handle, record, id));
    EXPECT_EQ(-1, PositionAtRecord(entry, handle, id, 0));
    EXPECT_EQ(-1, MaxRecords(id, entry));
    EXPECT_EQ(-1, OpenMaster(masters, id, dir.path()));
    EXPECT_EQ(-1, CheckMaster(id, dir.path()));
    EXPECT_EQ(-1, ScanEntries(masters, id, entry, "", 0, dir.path()));
    EXPECT_EQ(-1, FindEntry("ABC", entry, id, dir.path()));
    EXPECT_EQ(-1, AddEntry("ABC", "", 'D', entry, id, dir.path()));
    EXPECT_EQ(-1, CreateEntry("ABC", "", 0, entry, id, dir.path()));
    EXPECT_EQ(-1, FinalizeDirectory(entry, handle, id, dir.path()));
    EXPECT_EQ(-1, RenameEntry("ABC", "DEF", "", id, dir.path()));
    EXPECT_EQ(-1, DeleteEntry("ABC", entry, id, dir.path()));
  }
  EXPECT_EQ(0, FileCount(dir.path()));
  EXPECT_TRUE(messages->shown().empty());
}

TEST_F(FormatDriverTest, MissingDirectoryMessages) {
  DatafileEntry entry;
  entry.fields = 7;
  entry.fileNumber = 1;
  DatafileHandle handle;
  EXPECT_EQ(-1, OpenDatafile(entry, handle, 4, OpenMode::kCreate, ""));
  EXPECT_EQ(-1, FinalizeDirectory(entry, handle, 4, ""));
  ASSERT_EQ(2u, messages->shown().size());
  EXPECT_EQ("open_datafile: illegal directory", messages->shown()[0].text);
  EXPECT_EQ("finalize: Illegal directory", messages->shown()[1].text);
}

TEST_F(FormatDriverTest, MastersByKind) {
  struct Case {
    int id;
    int open;   // OpenMaster in an empty directory
    int check;  // CheckMaster in an empty directory
  } cases[] = {
      {1, 0, 0}, {6, 0, 0}, {7, 0, 0}, {16, 0, 0}, {17, 0, 0}, {22, 0, 0},  // no master file
      {2, -1, -1}, {12, -1, -1}, {18, -1, -1}, {19, -1, -1},                  // no storage
      {3, -1, -2}, {4, -1, -2}, {20, -1, -2},                                 // MetaStock, none yet
  };
  for (const Case& c : cases) {
    MasterHandles masters;
    EXPECT_EQ(c.open, OpenMaster(masters, c.id, dir.path())) << c.id;
    CloseMaster(masters);
    EXPECT_EQ(c.check, CheckMaster(c.id, dir.path())) << c.id;
  }
  DatafileEntry entry;
  ASSERT_EQ(0, AddEntry("ABC", "", 'D', entry, 4, dir.path()));
  EXPECT_EQ(0, CheckMaster(4, dir.path()));
  EXPECT_EQ(0, CheckMaster(20, dir.path()));
}

TEST_F(FormatDriverTest, FormatsWithoutMasterTakeTheSymbolAsName) {
  for (int id : {1, 6, 7, 17, 22}) {
    DatafileEntry entry;
    ASSERT_EQ(0, AddEntry("ABCDEFGHIJ", "A Name", 'D', entry, id, dir.path())) << id;
    EXPECT_EQ("ABCDEFGH", entry.symbol);
    EXPECT_EQ("ABCDEFGH", entry.name);
  }
  EXPECT_EQ(0, FileCount(dir.path()));
}

TEST_F(FormatDriverTest, NewEntriesStartFromTheTemplates) {
  FakeDriver ring;
  ScopedDriver scoped(StorageKind::kRingBuffer, &ring);
  WriterSettings saved = writerSettings();
  writerSettings().technicalInvestorFileType = 258;
  writerSettings().technicalInvestorMaxRecords = 1000;
  writerSettings().topVestFileType = 266;
  writerSettings().topVestMaxRecords = 2000;
  struct Case {
    int id;
    int fileType;
    int ringSize;
  } cases[] = {{0, 258, 1000}, {8, 266, 2000}};
  for (const Case& c : cases) {
    DatafileEntry entry;
    entry.lastClose = 5;  // nothing of the caller's entry survives
    ASSERT_EQ(0, AddEntry("SYM   ", "Name  ", 'W', entry, c.id, dir.path()));
    EXPECT_EQ(c.id, ring.addedId);
    EXPECT_EQ(c.fileType, ring.added.fields);
    EXPECT_EQ(c.ringSize, ring.added.ringSize);
    EXPECT_EQ("SYM", ring.added.symbol);
    EXPECT_EQ("Name", ring.added.name);
    EXPECT_EQ('W', ring.added.period);
    EXPECT_EQ('S', ring.added.fileLetter);
    EXPECT_TRUE(ring.added.firstDate.isNull());
    EXPECT_EQ(0, ring.added.lastClose);
  }
  writerSettings() = saved;
}

TEST_F(FormatDriverTest, KindsWithoutDriverFailAndRegisteredOnesAreReached) {
  MasterHandles masters;
  EXPECT_EQ(-1, OpenMaster(masters, 5, dir.path()));
  FakeDriver text;
  ScopedDriver scoped(StorageKind::kTextIndex, &text);
  for (int id : {5, 9, 10, 11, 13, 14, 15, 21}) {
    EXPECT_EQ(0, OpenMaster(masters, id, dir.path())) << id;
    EXPECT_EQ(id, text.openedId);
    CloseMaster(masters);
  }
}

TEST_F(FormatDriverTest, MaxRecordsByKind) {
  struct Case {
    int id;
    int ringSize;
    int max;
  } cases[] = {{0, 500, 500}, {8, 0, -1}, {8, -3, -1}, {4, 0, 65535}, {4, 800, 800},
               {20, 0, 65535}, {3, 0, 65535}, {5, 500, -1}, {17, 0, -1}, {6, 10, -1}};
  for (const Case& c : cases) {
    DatafileEntry entry;
    entry.ringSize = c.ringSize;
    EXPECT_EQ(c.max, MaxRecords(c.id, entry)) << c.id << " " << c.ringSize;
  }
}

TEST_F(FormatDriverTest, RenameIsRefusedWhereDataFilesCannotBeRenamed) {
  for (int id : {0, 1, 7, 8, 16}) {
    messages->clear();
    EXPECT_EQ(-1, RenameEntry("ABC", "DEF", "", id, dir.path())) << id;
    ASSERT_EQ(1u, messages->shown().size());
    EXPECT_EQ("Can't rename data files for this format", messages->shown()[0].text);
    DatafileEntry entry;
    EXPECT_EQ(-1, DeleteEntry("ABC", entry, id, dir.path())) << id;
  }
}

TEST_F(FormatDriverTest, FilePerSymbolRenameAndDelete) {
  struct Case {
    int id;
    const char* extension;
  } cases[] = {{6, ".kbf"}, {17, ".asc"}, {22, ".kbt"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    messages->clear();
    std::string ext = c.extension;
    dir.write("ABC" + ext, "data");
    dir.write("USED" + ext, "other");
    EXPECT_EQ(-1, RenameEntry("NONE", "X", "", c.id, dir.path()));
    EXPECT_EQ(-1, RenameEntry("ABC", "USED", "", c.id, dir.path()));
    ASSERT_EQ(0, RenameEntry("ABC", "NEW", "", c.id, dir.path()));
    EXPECT_EQ("data", dir.read("NEW" + ext));
    EXPECT_FALSE(dir.exists("ABC" + ext));
    EXPECT_EQ("other", dir.read("USED" + ext));
    DatafileEntry entry;
    EXPECT_EQ(0, DeleteEntry("NEW", entry, c.id, dir.path()));
    EXPECT_EQ(-1, DeleteEntry("NEW", entry, c.id, dir.path()));
    EXPECT_FALSE(dir.exists("NEW" + ext));
    ASSERT_EQ(3u, messages->shown().size());
    EXPECT_EQ("Symbol not found NONE", messages->shown()[0].text);
    EXPECT_EQ("Symbol already used USED", messages->shown()[1].text);
    EXPECT_EQ("Symbol not found NEW", messages->shown()[2].text);
    std::remove(dir.file("USED" + ext).c_str());
  }
}

TEST_F(FormatDriverTest, CreateEntryForAnExistingSymbolChangesNothing) {
  DatafileEntry entry;
  entry.firstDate = Date(2000, 1, 3);
  ASSERT_EQ(1, CreateEntry("ABC", "Name", 0, entry, 4, dir.path()));
  EXPECT_EQ(20000102, entry.lastDate.value());  // empty: the day before the first
  std::string master = dir.read("MASTER");
  std::string data = dir.read("f1.DAT");
  DatafileEntry again;
  EXPECT_EQ(0, CreateEntry("ABC", "Other", 0, again, 4, dir.path()));
  EXPECT_EQ(1, again.fileNumber);
  EXPECT_EQ(master, dir.read("MASTER"));
  EXPECT_EQ(data, dir.read("f1.DAT"));
  EXPECT_FALSE(dir.exists("f2.DAT"));
}

TEST_F(FormatDriverTest, UpdateAtEndRewritesTheLastRecordButNeverTheHeader) {
  DatafileEntry entry;
  ASSERT_EQ(1, CreateEntry("ABC", "", 0, entry, 4, dir.path()));
  DatafileEntry empty;
  ASSERT_EQ(0, FindEntry("ABC", empty, 4, dir.path()));
  DatafileHandle handle;
  ASSERT_EQ(0, OpenDatafile(empty, handle, 4, OpenMode::kUpdateAtEnd, dir.path()));
  EXPECT_EQ(1, empty.recordCount);  // only the header: nothing to step back onto
  handle.close();

  ASSERT_EQ(0, testing::AppendRecords(dir.path(), 4, entry,
                                      {testing::Daily(Date(2000, 1, 3), 1, 2, 1, 2, 10),
                                       testing::Daily(Date(2000, 1, 4), 1, 2, 1, 2, 20)}));
  DatafileEntry found;
  ASSERT_EQ(0, FindEntry("ABC", found, 4, dir.path()));
  ASSERT_EQ(0, OpenDatafile(found, handle, 4, OpenMode::kUpdateAtEnd, dir.path()));
  EXPECT_EQ(2, found.recordCount);
  ASSERT_EQ(0, WriteRecord(found, handle, testing::Daily(Date(2000, 1, 4), 5, 6, 5, 6, 30), 4));
  ASSERT_EQ(0, FinalizeDirectory(found, handle, 4, dir.path()));
  auto records = testing::ReadAll(dir.path(), 4, found);
  ASSERT_EQ(2u, records.size());
  EXPECT_EQ(30, records[1].volume);
  EXPECT_EQ(testing::Hex("00 00 03 00"), dir.read("f1.DAT").substr(0, 4));
}

TEST_F(FormatDriverTest, FullDataFileRefusesRecords) {
  DatafileEntry entry;
  ASSERT_EQ(1, CreateEntry("ABC", "", 0, entry, 4, dir.path()));
  DatafileHandle handle;
  ASSERT_EQ(0, OpenDatafile(entry, handle, 4, OpenMode::kAppend, dir.path()));
  entry.recordCount = 65534;
  EXPECT_EQ(0, WriteRecord(entry, handle, testing::Daily(Date(2000, 1, 3), 1, 2, 1, 2, 10), 4));
  EXPECT_EQ(65535, entry.recordCount);
  EXPECT_EQ(-1, WriteRecord(entry, handle, testing::Daily(Date(2000, 1, 4), 1, 2, 1, 2, 10), 4));
  EXPECT_EQ(65535, entry.recordCount);
}

TEST_F(FormatDriverTest, PositionAtANegativeRecordDoesNothing) {
  DatafileEntry entry;
  ASSERT_EQ(1, CreateEntry("ABC", "", 0, entry, 4, dir.path()));
  DatafileHandle handle;
  ASSERT_EQ(0, OpenDatafile(entry, handle, 4, OpenMode::kAppend, dir.path()));
  EXPECT_EQ(0, PositionAtRecord(entry, handle, 4, -5));
  EXPECT_EQ(28, handle.binary.tell());
  EXPECT_EQ(0, PositionAtRecord(entry, handle, 4, 3));
  EXPECT_EQ(84, handle.binary.tell());
}

}  // namespace
}  // namespace kvqt
