// A task file that downloads from the reference server on loopback and then
// converts what arrived into another format's directory.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "automation/task_file.h"
#include "formats/format_test_util.h"
#include "service/session/session_fixture.h"

namespace kvqt {
namespace {

using testing::DownloadSessionFixture;
using testing::kAsciiId;
using testing::kMetaStockId;

class TaskFileSessionTest : public DownloadSessionFixture {
 protected:
  void TearDown() override {
    closeTaskFile(action);
    SetTaskFileStep(nullptr);
    DownloadSessionFixture::TearDown();
  }

  int RunTaskFile(const std::string& text) {
    const std::string path = programDir + "run.tsk";
    testing::WriteFileBytes(path, text);
    std::FILE* file = std::fopen(path.c_str(), "rb");
    EXPECT_NE(file, nullptr);
    prepareTaskFile(action, file);
    progress = std::make_unique<HeadlessProgress>();
    return progress->run(interpretTaskFile, action, 1);
  }

  static std::vector<PriceRecord> Records(int formatId, const std::string& directory, const std::string& symbol) {
    DatafileEntry entry;
    EXPECT_EQ(0, FindEntry(symbol, entry, formatId, directory, kScanReadHeader)) << symbol;
    return testing::ReadAll(directory, formatId, entry);
  }
};

TEST_F(TaskFileSessionTest, DownloadThenConvert) {
  ChartDirectory(kMetaStockId, {"ABC"});
  const std::string metastock = chartDir;
  ChartDirectory(kAsciiId, {});
  const std::string ascii = chartDir;
  StartServer();

  const int result = RunTaskFile("=Download(0, 1, \"F4\", \"\", \"" + metastock + "\", 0, 0)\r\n=Convert(\"F4\", \"" +
                                 metastock + "\", \"F5\", \"" + ascii + "\", 0, 0)\r\n");
  EXPECT_EQ(result, kStepFinished);
  EXPECT_TRUE(Errors().empty()) << Errors().front();
  EXPECT_EQ(server->Join().outcome, "sent");
  EXPECT_EQ(Statuses().back(), "Task file finished");
  EXPECT_FALSE(action.taskFileFlag);
  EXPECT_EQ(action.taskFile, nullptr);

  // The store's ABC: nine weekdays from 2 January 2024.
  const std::vector<PriceRecord> downloaded = Records(kMetaStockId, metastock, "ABC");
  ASSERT_EQ(downloaded.size(), 9u);
  EXPECT_EQ(downloaded.front().date.value(), 20240102);
  EXPECT_EQ(downloaded.back().date.value(), 20240112);
  EXPECT_FLOAT_EQ(downloaded.back().close, 18.5f);

  const std::vector<PriceRecord> converted = Records(kAsciiId, ascii, "ABC");
  ASSERT_EQ(converted.size(), downloaded.size());
  for (std::size_t i = 0; i < converted.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(converted[i].date.value(), downloaded[i].date.value());
    EXPECT_FLOAT_EQ(converted[i].close, downloaded[i].close);
    EXPECT_FLOAT_EQ(converted[i].volume, downloaded[i].volume);
  }
  const std::string firstLine = "240102,10.000,11.500,9.500,10.500,1002\r\n";
  EXPECT_EQ(testing::ReadFileBytes(ascii + "ABC.prn").substr(0, firstLine.size()), firstLine);
}

// A session that stops with its error stops the task; the rest of the file
// does not run and the run's owner closes the file.
TEST_F(TaskFileSessionTest, AFailedDownloadStopsTheTask) {
  ChartDirectory(kMetaStockId, {"ABC"});
  const std::string metastock = chartDir;
  login.password.clear();
  const int result =
      RunTaskFile("=Download(0, 1, \"F4\", \"\", \"" + metastock + "\", 0, 0)\r\nSLEEP 1\r\n");
  EXPECT_EQ(result, kStepErrorShown);
  EXPECT_EQ(Errors().size(), 1u);
  EXPECT_EQ(progress->waits(), 0);
  EXPECT_NE(action.taskFile, nullptr);
  closeTaskFile(action);
}

}  // namespace
}  // namespace kvqt
