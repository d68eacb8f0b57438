#include "app/runner/details_log.h"

#include <gtest/gtest.h>

#include "app/runner/version.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

using kvqt::testing::TempDir;

TEST(DetailsLogTest, ReportLinesCutAt120Characters) {
  TempDir dir;
  dir.write("kvqt.rpt", "Connecting\r\n" + std::string(130, 'r') + "\r\nlast\n");
  EXPECT_EQ(ReadDetailLines(dir.file("kvqt.rpt")),
            (std::vector<std::string>{"Connecting", std::string(120, 'r'), "last"}));
}

TEST(DetailsLogTest, MissingReportLogGivesOneLineNamingIt) {
  EXPECT_EQ(ReadDetailLines("kvqt.rpt-that-is-not-there"),
            std::vector<std::string>{"Error opening kvqt.rpt-that-is-not-there"});
}

TEST(VersionTest, VersionNumberAsThreeParts) {
  struct {
    long number;
    const char* text;
  } cases[] = {{30204, "3.2.4"}, {10504, "1.5.4"}, {20302, "2.3.2"}, {123456, "12.34.56"}, {0, "0.0.0"}};
  for (const auto& c : cases) EXPECT_EQ(FormatVersion(c.number), c.text);
}

}  // namespace
}  // namespace kvqt
