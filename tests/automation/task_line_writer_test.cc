#include "automation/task_line_writer.h"

#include <gtest/gtest.h>

#include "app/model/directory.h"
#include "app/model/format.h"
#include "app/model/list.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

using kvqt::testing::TempDir;

class TaskLineWriterTest : public ::testing::Test {
 protected:
  Format ms_{"MS", "Metastock", 4};
  Format asc_{"ASC", "Ascii", 6};
  Directory daily_{"/data/ms/daily", 4};
  Directory out_{"/data/asc", 6};
  List list_{"Banks", 4};
};

TEST_F(TaskLineWriterTest, EachActionWritesItsLine) {
  ActionInfo convert;
  convert.sourceFormat = &ms_;
  convert.sourceDirectory = &daily_;
  convert.destinationFormat = &asc_;
  convert.destinationDirectory = &out_;
  convert.startDate = Date(2024, 1, 31);
  convert.convertFlags = kConvertSkipExisting;

  ActionInfo append = convert;

  ActionInfo download;
  download.kind = 1;
  download.type = 2 | 0x10;
  download.sourceFormat = &ms_;
  download.list = &list_;
  download.sourceDirectory = &daily_;
  download.startDate = Date(2023, 12, 1);
  download.endDate = Date(2023, 12, 29);

  ActionInfo file_download;
  file_download.priceType = 1;
  file_download.kind = 4;
  file_download.type = 2;
  file_download.period = 1;
  file_download.startDate = Date(2024, 2, 1);
  file_download.endDate = Date(2024, 2, 29);
  file_download.sourceFormat = &ms_;
  file_download.list = &list_;
  file_download.destinationFormat = &asc_;
  file_download.outputFile = "out.txt";
  file_download.infoType = 3;

  struct Case {
    int kind;
    const ActionInfo* action;
    const char* line;
  } cases[] = {
      {kActionConvert, &convert, "=Convert(\"MS\", \"/data/ms/daily\", \"ASC\", \"/data/asc\", 20240131, 2)\r\n"},
      {kActionAppend, &append, "=Append(\"MS\", \"/data/ms/daily\", \"ASC\", \"/data/asc\")\r\n"},
      {kActionDownload, &download, "=Download(1, 18, \"MS\", \"Banks\", \"/data/ms/daily\", 20231201, 20231229)\r\n"},
      {kActionFileDownload, &file_download,
       "=FileDownload(1, 4, 2, 1, 20240201, 20240229, \"MS\", \"Banks\", \"ASC\", \"out.txt\", 3)\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(TaskLine(c.kind, *c.action), c.line) << c.kind;
}

TEST_F(TaskLineWriterTest, MissingSelectionsAreEmptyStringsAndNullDatesZero) {
  ActionInfo convert;
  convert.sourceFormat = &ms_;
  convert.destinationFormat = &asc_;
  // No source directory: two quotes and a comma without the blank; no start date: 0.
  EXPECT_EQ(TaskLine(kActionConvert, convert), "=Convert(\"MS\", \"\",\"ASC\", \"\", 0, 0)\r\n");

  ActionInfo append;
  EXPECT_EQ(TaskLine(kActionAppend, append), "=Append(\"\", \"\", \"\", \"\")\r\n");

  ActionInfo download;
  download.kind = 0;
  download.type = 1;
  download.sourceFormat = &ms_;
  download.sourceDirectory = &daily_;
  EXPECT_EQ(TaskLine(kActionDownload, download), "=Download(0, 1, \"MS\", \"\", \"/data/ms/daily\", 0, 0)\r\n");
}

TEST_F(TaskLineWriterTest, FileDownloadNamesTheSelectionOfItsKind) {
  ActionInfo a;
  a.type = 1;
  a.sourceFormat = &ms_;
  a.sourceDirectory = &daily_;
  a.list = &list_;
  a.definitionFile = "my query.dat";
  a.destinationFormat = &asc_;
  a.outputFile = "/tmp/o.csv";
  const char* expected[] = {
      "=FileDownload(0, 3, 1, 0, 0, 0, \"MS\", \"/data/ms/daily\", \"ASC\", \"/tmp/o.csv\", 0)\r\n",
      "=FileDownload(0, 4, 1, 0, 0, 0, \"MS\", \"Banks\", \"ASC\", \"/tmp/o.csv\", 0)\r\n",
      "=FileDownload(0, 7, 1, 0, 0, 0, \"MS\", \"my query.dat\", \"ASC\", \"/tmp/o.csv\", 0)\r\n",
  };
  int kinds[] = {3, 4, 7};
  for (int i = 0; i < 3; ++i) {
    a.kind = kinds[i];
    EXPECT_EQ(TaskLine(kActionFileDownload, a), expected[i]) << kinds[i];
  }
}

TEST_F(TaskLineWriterTest, ActionsThatAreNotRecordedLeaveTheTaskFileUnchanged) {
  TempDir dir;
  const std::string path = dir.file("kvqt.tsk");
  dir.write("kvqt.tsk", "=Execute(\"x\")\r\n");
  ActionInfo a;
  a.sourceFormat = &ms_;
  struct {
    int actionKind;
    int selectionKind;
  } cases[] = {{kActionDownload, 2}, {kActionDownload, 3}, {kActionFileDownload, 5}, {kActionFileDownload, 6},
               {kActionFileDownload, 0}, {99, 0}};
  for (const auto& c : cases) {
    a.kind = c.selectionKind;
    writeTaskLine(c.actionKind, a, path);
  }
  EXPECT_EQ(dir.read("kvqt.tsk"), "=Execute(\"x\")\r\n");
}

TEST_F(TaskLineWriterTest, LinesAreAppendedOneAtATime) {
  TempDir dir;
  const std::string path = dir.file("kvqt.tsk");
  ActionInfo a;
  a.sourceFormat = &ms_;
  a.destinationFormat = &asc_;
  writeTaskLine(kActionAppend, a, path);
  writeTaskLine(kActionAppend, a, path);
  EXPECT_EQ(dir.read("kvqt.tsk"), "=Append(\"MS\", \"\", \"ASC\", \"\")\r\n=Append(\"MS\", \"\", \"ASC\", \"\")\r\n");
  // A task file that cannot be opened loses the line quietly.
  writeTaskLine(kActionAppend, a, dir.file("missing/kvqt.tsk"));
  EXPECT_FALSE(dir.exists("missing"));
}

TEST_F(TaskLineWriterTest, LineEndsInsideNamesCannotSplitTheLine) {
  Directory odd{"/data/a\nb", 4};
  ActionInfo a;
  a.sourceFormat = &ms_;
  a.sourceDirectory = &odd;
  EXPECT_EQ(TaskLine(kActionAppend, a), "=Append(\"MS\", \"/data/ab\", \"\", \"\")\r\n");
}

}  // namespace
}  // namespace kvqt
