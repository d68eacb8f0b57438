#include <gtest/gtest.h>

#include "byte_builder.h"
#include "formats/format_driver.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

using testing::Bytes;
using testing::TempDir;

std::string MasterWithFirstPeriod(char period) {
  return Bytes(106).hex(0, "01 00 01 00").byte(53 + 33, period);
}

TEST(DetectFormatTest, ByTheFilesOfTheDirectory) {
  struct Case {
    const char* what;
    std::vector<std::pair<std::string, std::string>> files;
    int wanted;
    int found;
    bool fits;
  } cases[] = {
      {"empty directory", {}, 5, 23, true},
      {"empty MASTER, daily wanted", {{"MASTER", Bytes(53)}}, 3, 4, true},
      {"empty MASTER, intraday wanted", {{"MASTER", Bytes(53)}}, 20, 20, true},
      {"empty MASTER, ASCII wanted", {{"MASTER", Bytes(53)}}, 5, 4, false},
      {"weekly first entry", {{"MASTER", MasterWithFirstPeriod('W')}}, 3, 4, true},
      {"monthly first entry", {{"Master", MasterWithFirstPeriod('M')}}, 4, 4, true},
      {"intraday first entry", {{"MASTER", MasterWithFirstPeriod('I')}}, 20, 20, true},
      {"intraday first entry, daily wanted", {{"MASTER", MasterWithFirstPeriod('I')}}, 4, 20, false},
      {"unknown period", {{"MASTER", MasterWithFirstPeriod('Q')}}, 4, -1, false},
      {"MASTER shorter than its header", {{"MASTER", "xx"}}, 4, -1, false},
      {"master.dat, TopVest wanted", {{"MASTER.DAT", ""}}, 8, 0, true},
      {"master.dat, MetaStock wanted", {{"master.dat", ""}}, 4, 0, false},
      {"current ASCII index", {{"master.kvq", Bytes(91).hex(0, "14 14 14 14").byte(30, 15)}}, 15, 15, true},
      {"current ASCII index, other id", {{"master.kvq", Bytes(91).hex(0, "14 14 14 14").byte(30, 21)}}, 5, 21,
       false},
      {"older index, data file with slashes",
       {{"master.kvq", Bytes(22).at(0, "ABC")}, {"ABC.prn", "01/03/00,1,2,3\r\n"}}, 11, -2, true},
      {"older index, data file with hyphens",
       {{"master.kvq", Bytes(22).at(0, "ABC")}, {"ABC.prn", "03-01-00\t1\r\n"}}, 11, -2, false},
      {"older index, YYYYMMDD dates",
       {{"master.kvq", Bytes(22).at(0, "ABC")}, {"abc.PRN", "20000103,1,2,3\n"}}, 15, -2, true},
      {"older index, short dates", {{"master.kvq", Bytes(22).at(0, "ABC")}, {"ABC.prn", "000103,1,2\n"}}, 5, -2,
       true},
      {"older index, tabs", {{"master.bin", Bytes(22).at(0, "ABC")}, {"ABC.prn", "000103\t1\n"}}, 9, -2, true},
      {"older index, no data file", {{"master.kvq", Bytes(22).at(0, "ABC")}}, 10, -2, true},
      {"effecten.dat", {{"effecten.dat", ""}}, 12, 12, true},
      {"effecten.dat, other id", {{"effecten.dat", ""}}, 4, 12, false},
      {"MASTER.NDX", {{"MASTER.NDX", ""}}, 16, 16, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    for (const auto& [name, bytes] : c.files) dir.write(name, bytes);
    DetectResult r = DetectFormat(dir.path(), c.wanted);
    EXPECT_EQ(c.found, r.found);
    EXPECT_EQ(c.fits, r.fits);
  }
}

}  // namespace
}  // namespace kvqt
