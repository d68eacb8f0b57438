#include "app/core/logs.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace kvqt {
namespace {

using kvqt::testing::TempDir;

class LogsTest : public ::testing::Test {
 protected:
  void SetUp() override { Logs::SetDirectory(dir_.path()); }
  void TearDown() override {
    Logs::SetDirectory("");
    Logs::SetDebugMode(0);
  }
  TempDir dir_;
};

TEST_F(LogsTest, ReportLogAppendsLinesAndStartsAnewWhenDeleted) {
  Logs::Report("Connecting");
  Logs::Report("Download Session Completed");
  EXPECT_EQ(dir_.read("kvqt.rpt"), "Connecting\r\nDownload Session Completed\r\n");
  Logs::DeleteReport();
  EXPECT_FALSE(dir_.exists("kvqt.rpt"));
  Logs::Report("new run");
  EXPECT_EQ(dir_.read("kvqt.rpt"), "new run\r\n");
}

TEST_F(LogsTest, DebugLinesOnlyInDebugModeExceptTheAlwaysKeptOnes) {
  Logs::SetDebugMode(0);
  debug("lookup failed");
  debugInt("count", 3);
  Logs::DebugAlways("started tarnswap 33");
  EXPECT_EQ(dir_.read("kvqt.dbg"), "started tarnswap 33\r\n");

  Logs::SetDebugMode(1);
  debug2("dir", std::string(100, 'p'));
  debugLong("records", 70000L);
  debugFormat("Invalid year: %d\n", 3000);
  EXPECT_EQ(dir_.read("kvqt.dbg"), "started tarnswap 33\r\ndir " + std::string(80, 'p') +
                                       "\r\nrecords 70000\r\nInvalid year: 3000\r\n");
}

TEST_F(LogsTest, UnwritableLogLosesTheLineQuietly) {
  Logs::SetDirectory(dir_.file("missing/"));
  Logs::Report("lost");
  Logs::SetDebugMode(1);
  debug("lost");
  EXPECT_FALSE(dir_.exists("missing"));
}

}  // namespace
}  // namespace kvqt
