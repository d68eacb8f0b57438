// Split factors that a session brings reach every local data file of their
// symbol, also in the directories this download did not touch: sessions
// against the reference server, whose store announces a two-for-one split of
// ABC from 8 January 2024.
#include <gtest/gtest.h>

#include "app/model/list.h"
#include "formats/format_test_util.h"
#include "maintenance/data_manager_view.h"
#include "maintenance/headless_data_manager.h"
#include "service/request_file.h"
#include "service/symbols/sintable.h"
#include "session_fixture.h"

namespace kvqt {
namespace {

using testing::DownloadSessionFixture;
using testing::kMetaStockId;

class SplitFactorSessionTest : public DownloadSessionFixture {
 protected:
  void SetUp() override {
    DownloadSessionFixture::SetUp();
    previousView = setDataManagerView(&headless);
    profile().putString("splitfactors", "yes");
    profile().putString("splitfactorsdate", "20240101");
  }
  void TearDown() override {
    setDataManagerView(previousView);
    DownloadSessionFixture::TearDown();
  }

  // A MetaStock directory of its own whose ABC holds three days of December
  // 2023 at 10, volume 1000: history from before the split.
  std::string HistoryDirectory() {
    const std::string dir = outer.path() + "history" + std::to_string(++historyDirs) + "/";
    std::filesystem::create_directory(dir);
    DatafileEntry entry;
    EXPECT_EQ(1, CreateEntry("ABC", "ABC Inc", 0, entry, kMetaStockId, dir));
    std::vector<PriceRecord> days;
    for (int day : {27, 28, 29}) days.push_back(testing::Daily(Date(2023, 12, day), 10, 10, 10, 10, 1000));
    EXPECT_EQ(0, testing::AppendRecords(dir, kMetaStockId, entry, days));
    return dir;
  }

  static std::vector<PriceRecord> Records(const std::string& dir) {
    DatafileEntry entry;
    EXPECT_EQ(0, FindEntry("ABC", entry, kMetaStockId, dir, kScanReadHeader));
    return testing::ReadAll(dir, kMetaStockId, entry);
  }

  static void ExpectHalvedHistory(const std::vector<PriceRecord>& records) {
    ASSERT_GE(records.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
      EXPECT_FLOAT_EQ(records[i].close, 5) << i;
      EXPECT_FLOAT_EQ(records[i].volume, 2000) << i;
    }
  }

  void ExpectSplitKeptAsApplied() {
    TSintable table(programDir);
    ASSERT_EQ(table.splitFactorCount(), 1);
    EXPECT_TRUE(table.splitFactor(0)->applied);
  }

  HeadlessDataManager headless;
  DataManagerView* previousView = nullptr;
  int historyDirs = 0;
};

TEST_F(SplitFactorSessionTest, DirectoryThatWasNotDownloadedIsSplitToo) {
  Directory& downloaded = ChartDirectory(kMetaStockId, {"ABC"});
  const std::string other = HistoryDirectory();
  // Known from the data file, not yet refreshed in this run: no entries.
  formats.findById(kMetaStockId)->addDirectory(std::make_unique<Directory>(other, kMetaStockId));
  StartServer();

  ASSERT_EQ(Run(), kStepFinished);
  server->Join();

  EXPECT_TRUE(Errors().empty()) << Errors().front();
  EXPECT_EQ(Records(downloaded.name()).size(), 9u);
  const std::vector<PriceRecord> history = Records(other);
  EXPECT_EQ(history.size(), 3u);
  ExpectHalvedHistory(history);
  ExpectSplitKeptAsApplied();
}

TEST_F(SplitFactorSessionTest, ListDownloadSplitsTheHistoryOfWhatItDownloads) {
  const std::string dir = HistoryDirectory();
  auto format = std::make_unique<Format>("MS", "Metastock", kMetaStockId);
  format->addDirectory(std::make_unique<Directory>(dir, kMetaStockId));
  auto list = std::make_unique<List>("Watch", kMetaStockId);
  list->addDirectory(std::make_unique<Directory>(dir, kMetaStockId));
  format->addList(std::move(list));
  formats.add(std::move(format));
  Format& ms = *formats.findById(kMetaStockId);
  action.kind = kSelectList;
  action.type = 1;
  action.sourceFormat = &ms;
  action.list = ms.listAt(0);
  StartServer();

  ASSERT_EQ(Run(), kStepFinished);
  server->Join();

  EXPECT_TRUE(Errors().empty()) << Errors().front();
  const std::vector<PriceRecord> records = Records(dir);
  ASSERT_EQ(records.size(), 3u + 9u);
  ExpectHalvedHistory(records);
  EXPECT_EQ(records[3].date.value(), 20240102);
  EXPECT_FLOAT_EQ(records[3].close, 10.5f);
  ExpectSplitKeptAsApplied();
}

}  // namespace
}  // namespace kvqt
