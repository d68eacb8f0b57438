// One suite for every format id whose storage kind has a driver: create an
// entry, write, finalize, scan, read back, rename and delete through the
// operations keyed by format id. A kind joins by registering its driver.
#include <gtest/gtest.h>

#include "app/core/messages.h"
#include "format_test_util.h"
#include "formats/driver_table.h"
#include "formats/format_driver.h"
#include "formats/storage_registry.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

using testing::TempDir;

std::vector<int> FormatIdsWithDrivers() {
  std::vector<int> ids;
  for (int id = 0; id <= kMaxFormatId; ++id) {
    StorageKind kind = StorageKindOf(id);
    // The Orvista import file is only written, never read back; its own tests cover it.
    if (kind == StorageKind::kOrvista) continue;
    if (kind != StorageKind::kNone && HasStorageDriver(kind) && AddKindOf(id) != AddKind::kUnsupported)
      ids.push_back(id);
  }
  return ids;
}

// A record as a format gives it back: the fields it has no room for come back
// as its reader fills them in.
PriceRecord AsStored(int formatId, PriceRecord r) {
  switch (formatId) {
    case 0:  // the default file type keeps no open; it reads as the close
      r.open = r.close;
      break;
    case 1:
    case 6:  // no open
      r.open = 0;
      break;
    case 22:  // one price per record
      r.open = r.high = r.low = r.close;
      break;
    default:
      break;
  }
  return r;
}

class RecordingSink : public DatafileSink {
 public:
  void finalized(const DatafileEntry& entry, std::int32_t count, bool withTimes) override {
    last = entry;
    records = count;
    times = withTimes;
    ++calls;
  }
  DatafileEntry last;
  std::int32_t records = -1;
  bool times = false;
  int calls = 0;
};

class FormatConformanceTest : public ::testing::TestWithParam<int> {
 protected:
  int id() const { return GetParam(); }
  bool intraday() const { return IsIntradayFormatId(id()); }

  std::vector<PriceRecord> Records() const {
    std::vector<PriceRecord> records;
    for (int day = 3; day <= 5; ++day) {
      PriceRecord r = testing::Daily(Date(2000, 1, day), 10 + day, 11 + day, 9 + day, 10.5f + day, 1000 * day);
      if (intraday()) r.time = Time(9, 30 + day, 0);
      records.push_back(r);
    }
    return records;
  }

  TempDir dir;
  ScopedMessages messages;
};

TEST_P(FormatConformanceTest, CreateWriteFinalizeScanReadRenameDelete) {
  const std::string d = dir.path();
  DatafileEntry entry;
  ASSERT_EQ(1, CreateEntry("CONF", "Conformance Test", intraday() ? 5 : 0, entry, id(), d));
  DatafileEntry again;
  EXPECT_EQ(0, CreateEntry("CONF", "Other", 0, again, id(), d));

  RecordingSink sink;
  DatafileHandle handle;
  ASSERT_EQ(0, OpenDatafile(entry, handle, id(), OpenMode::kAppend, d));
  for (const PriceRecord& r : Records()) ASSERT_EQ(0, WriteRecord(entry, handle, r, id()));
  ASSERT_EQ(0, FinalizeDirectory(entry, handle, id(), d, &sink));
  EXPECT_EQ(1, sink.calls);
  EXPECT_EQ(3, sink.records);
  EXPECT_EQ(intraday(), sink.times);
  EXPECT_EQ(20000103, sink.last.firstDate.value());
  EXPECT_EQ(20000105, sink.last.lastDate.value());

  auto entries = testing::ScanAll(d, id(), kScanReadHeader);
  ASSERT_EQ(1u, entries.size());
  const DatafileEntry& scanned = entries[0];
  EXPECT_EQ("CONF", scanned.symbol);
  // Formats without a master keep no name; the symbol stands for it.
  EXPECT_EQ(AddKindOf(id()) == AddKind::kNameIsSymbol ? "CONF" : "Conformance Test", scanned.name);
  EXPECT_EQ(20000103, scanned.firstDate.value());
  EXPECT_EQ(20000105, scanned.lastDate.value());
  EXPECT_EQ(3, PriceRecordCount(scanned, id()));
  if (intraday()) {
    EXPECT_EQ(id() == 22 ? 0 : 5, scanned.interval);  // .kbt files keep no interval
    EXPECT_EQ(93300, scanned.firstTime.value());
    EXPECT_EQ(93500, scanned.lastTime.value());
  }

  auto expected = Records();
  for (PriceRecord& r : expected) r = AsStored(id(), r);
  auto records = testing::ReadAll(d, id(), scanned);
  ASSERT_EQ(expected.size(), records.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(expected[i].date.value(), records[i].date.value());
    EXPECT_EQ(expected[i].time.value(), records[i].time.value());
    EXPECT_EQ(expected[i].open, records[i].open);
    EXPECT_EQ(expected[i].high, records[i].high);
    EXPECT_EQ(expected[i].low, records[i].low);
    EXPECT_EQ(expected[i].close, records[i].close);
    EXPECT_EQ(expected[i].volume, records[i].volume);
  }

  RenameKind renaming = RenameKindOf(id());
  if (renaming != RenameKind::kDriver && renaming != RenameKind::kFilePerSymbol) return;
  ASSERT_EQ(0, RenameEntry("CONF", "RENAMED", "Renamed Test", id(), d));
  DatafileEntry found;
  EXPECT_EQ(-1, FindEntry("CONF", found, id(), d));
  ASSERT_EQ(0, FindEntry("RENAMED", found, id(), d));
  EXPECT_EQ(3u, testing::ReadAll(d, id(), found).size());

  DatafileEntry deleted;
  ASSERT_EQ(0, DeleteEntry("RENAMED", deleted, id(), d));
  EXPECT_EQ(-1, FindEntry("RENAMED", found, id(), d));
  EXPECT_TRUE(testing::ScanAll(d, id()).empty());
  std::string name;
  // Formats with a file per symbol hand back no entry: their file is named by the symbol.
  if (deleted.symbol.empty()) deleted.symbol = "RENAMED";
  ASSERT_EQ(0, BuildFileName(deleted, name, id(), d));
  EXPECT_FALSE(dir.exists(name.substr(d.size())));
  EXPECT_TRUE(messages->shown().empty());
}

INSTANTIATE_TEST_SUITE_P(FormatIds, FormatConformanceTest, ::testing::ValuesIn(FormatIdsWithDrivers()),
                         [](const ::testing::TestParamInfo<int>& info) { return "Id" + std::to_string(info.param); });

}  // namespace
}  // namespace kvqt
