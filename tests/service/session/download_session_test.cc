// Whole download sessions against the reference server: first downloads into
// new MetaStock and ASCII directories, what comes with the result, and the
// acknowledgements the server counts.
#include "service/session/download_session.h"

#include <gtest/gtest.h>

#include "app/model/datafile.h"
#include "formats/format_test_util.h"
#include "service/network.h"
#include "session_fixture.h"

namespace kvqt {
namespace {

using testing::DownloadSessionFixture;
using testing::kAsciiId;
using testing::kMetaStockId;

class DownloadSessionTest : public DownloadSessionFixture {
 protected:
  std::vector<PriceRecord> Records(int formatId, const std::string& symbol) {
    DatafileEntry entry;
    EXPECT_EQ(0, FindEntry(symbol, entry, formatId, chartDir, kScanReadHeader)) << symbol;
    return testing::ReadAll(chartDir, formatId, entry);
  }
  // The store's ABC: nine weekdays from 2 January 2024, closes 10.5, 11.5, ...
  static void ExpectStoreAbc(const std::vector<PriceRecord>& records) {
    const int days[] = {20240102, 20240103, 20240104, 20240105, 20240108,
                        20240109, 20240110, 20240111, 20240112};
    ASSERT_EQ(records.size(), 9u);
    for (std::size_t i = 0; i < records.size(); ++i) {
      SCOPED_TRACE(i);
      const float close = 10.5f + static_cast<float>(i);
      EXPECT_EQ(records[i].date.value(), days[i]);
      EXPECT_FLOAT_EQ(records[i].open, close - 0.5f);
      EXPECT_FLOAT_EQ(records[i].high, close + 1);
      EXPECT_FLOAT_EQ(records[i].low, close - 1);
      EXPECT_FLOAT_EQ(records[i].close, close);
      EXPECT_FLOAT_EQ(records[i].volume, 1000.0f + static_cast<float>(days[i] % 100));
    }
  }
  // `expected` appear in this order among the logged status lines.
  void ExpectStatusOrder(const std::vector<std::string>& expected) {
    std::size_t next = 0;
    for (const std::string& line : Statuses()) {
      if (next < expected.size() && line == expected[next]) ++next;
    }
    EXPECT_EQ(next, expected.size()) << "missing or out of order: "
                                     << (next < expected.size() ? expected[next] : std::string());
  }
};

TEST_F(DownloadSessionTest, FirstDownloadIntoANewMetaStockDirectory) {
  ChartDirectory(kMetaStockId, {"ABC", "X.Y"});
  StartServer();
  ASSERT_EQ(Run(), kStepFinished);
  EXPECT_TRUE(Errors().empty()) << Errors().front();
  const server::SessionReport& report = server->Join();
  EXPECT_EQ(report.outcome, "sent");

  ExpectStoreAbc(Records(kMetaStockId, "ABC"));
  EXPECT_TRUE(Records(kMetaStockId, "X.Y").empty());  // the store has no prices for it
  const Datafile* abc = action.sourceDirectory->bySymbol("ABC");
  ASSERT_NE(abc, nullptr);
  EXPECT_EQ(abc->lastDate().value(), 20240112);
  EXPECT_EQ(abc->recordCount(), 9);
  EXPECT_EQ(testing::g_release_checks, 1);
  EXPECT_EQ(userInfo.lastsessiondate.value(), 20240112);

  ExpectStatusOrder({"Creating definition file", "Connecting to Norvale group...", "User authorization",
                     "Credit: Unlimited", "Creating datafile\nCredit: Unlimited", "Receiving datafile",
                     "Close session", "Decompress datafile", "Processing symbol changes", "Write to database"});
  EXPECT_EQ(action.creditText, "Unlimited");
  // The symbol-table feed was applied and is gone.
  EXPECT_FALSE(std::filesystem::exists(programDir + "sintab.fd"));
  EXPECT_TRUE(std::filesystem::exists(programDir + "kvqt.sdb"));
  // The connection is closed once the result is in.
  ASSERT_TRUE(action.network);
  EXPECT_FALSE(action.network->connected());
  // The request went up as written.
  EXPECT_EQ(report.upload, testing::ReadFileBytes(programDir + "query.dat"));
}

// A second session asks only for the days after the last stored one, and
// nothing already stored arrives twice.
TEST_F(DownloadSessionTest, SecondDownloadAsksOnlyForTheMissingDays) {
  ChartDirectory(kMetaStockId, {"ABC"});
  StartServer();
  ASSERT_EQ(Run(), kStepFinished);
  server->Join();
  ExpectStoreAbc(Records(kMetaStockId, "ABC"));

  StartServer();
  ASSERT_EQ(Run(), kStepFinished);
  EXPECT_TRUE(Errors().empty()) << Errors().front();
  const server::SessionReport& report = server->Join();
  EXPECT_NE(report.upload.find("\r\nABC,20240113,D\r\n"), std::string::npos) << report.upload;
  ExpectStoreAbc(Records(kMetaStockId, "ABC"));
  EXPECT_EQ(action.sourceDirectory->bySymbol("ABC")->recordCount(), 9);
}

TEST_F(DownloadSessionTest, FirstDownloadIntoANewAsciiDirectory) {
  ChartDirectory(kAsciiId, {"ABC"});
  StartServer();
  ASSERT_EQ(Run(), kStepFinished);
  EXPECT_TRUE(Errors().empty()) << Errors().front();
  server->Join();
  ExpectStoreAbc(Records(kAsciiId, "ABC"));
  const std::string firstLines =
      "240102,10.000,11.500,9.500,10.500,1002\r\n"
      "240103,11.000,12.500,10.500,11.500,1003\r\n";
  EXPECT_EQ(testing::ReadFileBytes(chartDir + "ABC.prn").substr(0, firstLines.size()), firstLines);
}

TEST_F(DownloadSessionTest, ResultAcknowledgedAfterNameSizeEveryFullBlockAndAPartialEnd) {
  ChartDirectory(kMetaStockId, {"ABC"});
  StartServer();
  ASSERT_EQ(Run(), kStepFinished);
  const server::SessionReport& report = server->Join();
  const std::size_t size = report.archive.size();
  ASSERT_GT(size, 0u);
  const std::size_t blocks = size / 1024 + (size % 1024 != 0 ? 1 : 0);
  EXPECT_EQ(report.acks_received, static_cast<int>(2 + blocks));
  EXPECT_EQ(testing::ReadFileBytes(programDir + "result.zip"), report.archive);
}

TEST_F(DownloadSessionTest, MessageOfTheDayIsOpenedWithoutWaiting) {
  ChartDirectory(kMetaStockId, {"ABC"});
  ASSERT_EQ(store->SetMotd("Markets closed on Monday\r\n"), 0);
  StartServer();
  ASSERT_EQ(Run(), kStepFinished);
  server->Join();
  EXPECT_TRUE(StatusShown("Message of the day"));
  EXPECT_EQ(testing::ReadFileBytes(programDir + "motd.txt"), "Markets closed on Monday\r\n");
  // The file opener of the test environment leaves its mark in the program directory.
  EXPECT_TRUE(testing::AppearsWithin(programDir + "motd-opened", std::chrono::seconds(3)));
}

TEST_F(DownloadSessionTest, SplitFactorsRunBeforeTheImportWhenAskedFor) {
  ChartDirectory(kMetaStockId, {"ABC"});
  profile().putString("splitfactors", "yes");
  StartServer();
  ASSERT_EQ(Run(), kStepFinished);
  EXPECT_TRUE(Errors().empty()) << Errors().front();
  server->Join();
  ExpectStatusOrder({"Decompress datafile", "Check directories for splits", "Write to database"});
  ExpectStoreAbc(Records(kMetaStockId, "ABC"));
}

TEST_F(DownloadSessionTest, DetailsWindowEndsWithTheCompletionMessage) {
  ChartDirectory(kMetaStockId, {"ABC"});
  StartServer();
  progress = std::make_unique<HeadlessProgress>();
  progress->setDetailsShown(true);
  EXPECT_EQ(progress->run(DownloadSession, action, kDownloadSessionSteps), kStepErrorShown);
  server->Join();
  ASSERT_EQ(progress->errors().size(), 1u);
  EXPECT_EQ(progress->errors().front(), "Download Session Completed");
  // The transcript shows what the server said, not the password.
  std::string transcript;
  for (const std::string& line : progress->detailLines()) transcript += line + "|";
  EXPECT_NE(transcript.find("Welcome"), std::string::npos) << transcript;
  EXPECT_NE(transcript.find("Start upload"), std::string::npos) << transcript;
  EXPECT_NE(transcript.find("demo0vqx"), std::string::npos) << transcript;
  EXPECT_EQ(transcript.find("demopass"), std::string::npos) << transcript;
}

}  // namespace
}  // namespace kvqt
