#include "formats/text_export.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/model/directory.h"
#include "app/model/list.h"
#include "format_test_util.h"

namespace kvqt {
namespace {

TEST(TextExport, WritesDownloadedFieldsPerFormat) {
  using Fields = std::vector<std::string>;
  const Fields tick = {"ABC", "010303", "0930", "12.5"};
  const Fields day = {"ABC", "010303", "12.5", "13", "12", "12.75", "1500"};
  struct Case {
    int id;
    Fields fields;
    const char* line;
  } cases[] = {
      {5, tick, "ABC,010303, 09:30,12.5\r\n"},
      {15, tick, "ABC,20010303, 09:30,12.5\r\n"},
      {17, tick, "ABC,20010303, 09:30,12.5\r\n"},
      {5, {"ABC", "20010303", "1705", "1.25"}, "ABC,20010303, 17:05,1.25\r\n"},
      {10, tick, "ABC\t03-03-01\t 09:30\t12,5\r\n"},
      {5, day, "ABC,010303,12.5,13,12,12.75,1500\r\n"},
      {9, day, "ABC\t010303\t12.5\t13\t12\t12.75\t1500\r\n"},
      {10, day, "ABC\t03-03-01\t12,5\t13\t12\t12,75\t1500\r\n"},
      {11, day, "ABC\t03/03/01\t12.5\t13\t12\t12.75\t1500\r\n"},
      {21, day, "ABC,010303,12.5,13,12,12.75,1500\r\n"},
      {5, {"ABC", "not a date", "1", "2", "3", "4", "5"}, "ABC,not a date,1,2,3,4,5\r\n"},
      // Any other number of fields is written as it came.
      {5, {"ABC", "010303", "1.5"}, "ABC,010303,1.5\r\n"},
      {10, {"ABC", "010303", "1.5"}, "ABC\t010303\t1,5\r\n"},
      // The decimal comma is for the values, never the symbol.
      {10, {"X.Y&Z", "010303", "1.5"}, "X.Y&Z\t010303\t1,5\r\n"},
      {10, {"X.Y&Z", "010303", "0930", "1.5", "100"}, "X.Y&Z\t010303\t0930\t1,5\t100\r\n"},
      {10, {"X.Y&Z", "010303", "12.5", "13", "12", "12.75", "1500"}, "X.Y&Z\t03-03-01\t12,5\t13\t12\t12,75\t1500\r\n"},
      {10, {"X.Y&Z", "010303", "0930", "12.5"}, "X.Y&Z\t03-03-01\t 09:30\t12,5\r\n"},
      {10, {"X.Y"}, "X.Y\r\n"},
      {18, day, "ABC,010303,12.5,13,12,12.75,1500\r\n"},
      {18, tick, "ABC,010303,0930,12.5\r\n"},
      {19, day, "ABC,ABC,03/03/2001,13,12,12.75,1500,12.5\r\n"},
      {19, tick, ""},
      {4, day, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(c.line, ExportFieldsLine(c.id, nullptr, c.fields));
  }
}

TEST(TextExport, DaviImportTakesTheNameFromTheDirectoryOrTheList) {
  const std::vector<std::string> day = {"ABC", "20010303", "12.5", "13", "12", "12.75", "1500"};
  Directory directory("/data/", 19);
  directory.add(std::make_unique<Datafile>("ABC", "Abc, Corp " + std::string(60, 'x'), 19));
  ExportNames byDirectory;
  byDirectory.directory = &directory;
  EXPECT_EQ("Abc Corp " + std::string(40, 'x') + ",ABC,03/03/2001,13,12,12.75,1500,12.5\r\n",
            ExportFieldsLine(19, nullptr, day, byDirectory));

  List list("Mine", 19);
  auto listed = std::make_unique<Directory>("/data/", 19);
  listed->add(std::make_unique<Datafile>("ABC", "Listed Name", 19));
  list.addDirectory(std::move(listed));
  ExportNames byList;
  byList.list = &list;
  EXPECT_EQ("Listed Name,ABC,03/03/2001,13,12,12.75,1500,12.5\r\n", ExportFieldsLine(19, nullptr, day, byList));

  // A symbol that is in neither keeps the symbol as its name.
  std::vector<std::string> other = day;
  other[0] = "ZZZ";
  EXPECT_EQ("ZZZ,ZZZ,03/03/2001,13,12,12.75,1500,12.5\r\n", ExportFieldsLine(19, nullptr, other, byList));
}

TEST(TextExport, QueryLinePutsTheVolumeFirst) {
  PriceRecord r = testing::Daily(Date(2001, 3, 3), 12.5f, 13, 12, 12.75f, 1500);
  r.time = Time(9, 30, 0);
  struct Case {
    int id;
    const char* line;
  } cases[] = {
      {5, "ABC,010303,1500,12.500,13.000,12.000,12.750\r\n"},
      {15, "ABC,20010303,1500,12.500,13.000,12.000,12.750\r\n"},
      {17, "ABC,20010303,1500,12.500,13.000,12.000,12.750\r\n"},
      {21, "ABC,010303,1500,12.500,13.000,12.000,12.750\r\n"},
      {10, "ABC\t03-03-01\t1500\t12,500\t13,000\t12,000\t12,750\r\n"},
      {11, "ABC\t03/03/01\t1500\t12.500\t13.000\t12.000\t12.750\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    EXPECT_EQ(c.line, ExportRecordLine(c.id, nullptr, "ABC", r));
  }
}

}  // namespace
}  // namespace kvqt
