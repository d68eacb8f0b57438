// "Query from" run by the headless step runner over an ASCII directory: the
// definition file's lines select the records, the output file is checked
// byte for byte.
#include "maintenance/query_from_step.h"

#include "app/runner/headless_progress.h"
#include "convert_test_util.h"

namespace kvqt {
namespace {

using testing::TempDir;
using testing::WriteSymbol;

PriceRecord Day(std::int32_t date, float open, float high, float low, float close, float volume) {
  PriceRecord r;
  r.date = Date::FromValue(date);
  r.open = open;
  r.high = high;
  r.low = low;
  r.close = close;
  r.volume = volume;
  return r;
}

class QueryFromTest : public testing::ConvertTestBase {
 protected:
  void SetUp() override {
    ConvertTestBase::SetUp();
    WriteSymbol(data.path(), 5, "AAA",
                {Day(20191227, 10, 11, 9, 10.5f, 1000), Day(20191230, 10.5f, 11.5f, 10, 11, 1100),
                 Day(20191231, 11, 12, 10.5f, 11.5f, 1200), Day(20200102, 11.5f, 12.5f, 11, 12, 1300),
                 Day(20200103, 12, 13, 11.5f, 12.5f, 1400)});
    WriteSymbol(data.path(), 5, "BBB",
                {Day(20200101, 1, 2, 0.5f, 1.5f, 10), Day(20200102, 2, 3, 1.5f, 2.5f, 20),
                 Day(20200103, 3, 4, 2.5f, 3.5f, 30)});
    WriteSymbol(data.path(), 5, "CCC", {Day(20191231, 5, 6, 4, 5.25f, 50), Day(20200106, 6, 7, 5, 6.75f, 60)});
    WriteSymbol(data.path(), 5, "CODEX", {Day(20200102, 1, 1, 1, 1, 1)});
    Format& ascii = AddFormat(5);
    action.sourceFormat = &ascii;
    action.sourceDirectory = &AddDirectory(ascii, data.path());
    action.definitionFile = "query.dat";
    action.outputFile = "sksdat.dat";
  }
  int Query(const std::string& definition, int outputId) {
    program.write("query.dat", definition);
    action.destinationFormat = &AddFormat(outputId);
    return progress.run(queryFromStep, action, kQueryFromSteps);
  }

  TempDir data;
  ActionInfo action;
  HeadlessProgress progress;
};

TEST_F(QueryFromTest, SymbolLinesSelectTheirRecordsAndKeywordLinesArePassedOver) {
  const std::string definition =
      "VERSION f3.2.4\r\n"
      "NEWKVQT f3.2.4\r\n"
      "REQUEST 3|17\r\n"
      "FIREREQUEST\r\n"
      "CODEX,20191201,20201231\r\n"
      "AAA,20191230\r\n"
      "\r\n"
      ",20191230,20200103\r\n"
      "BBB,20200102,20200102\r\n"
      "ZZZ,20190101,20201231\r\n"
      "CCC, 20191231 ,no date\n";
  ASSERT_EQ(kStepFinished, Query(definition, 15));
  // Without an end date, or with one that is no date, there is no upper bound.
  EXPECT_EQ(program.read("sksdat.dat"),
            "AAA,20191230,1100,10.500,11.500,10.000,11.000\r\n"
            "AAA,20191231,1200,11.000,12.000,10.500,11.500\r\n"
            "AAA,20200102,1300,11.500,12.500,11.000,12.000\r\n"
            "AAA,20200103,1400,12.000,13.000,11.500,12.500\r\n"
            "BBB,20200102,20,2.000,3.000,1.500,2.500\r\n"
            "CCC,20191231,50,5.000,6.000,4.000,5.250\r\n"
            "CCC,20200106,60,6.000,7.000,5.000,6.750\r\n");
  EXPECT_EQ(progress.statusLines(), std::vector<std::string>{"Query from Ascii: Comma Delimited"});
  EXPECT_EQ(progress.line2(), "");
  EXPECT_EQ(Shown(), std::vector<std::string>{});
}

TEST_F(QueryFromTest, RecordsAreWrittenInTheOutputFormat) {
  struct Case {
    int outputId;
    const char* bytes;
  } cases[] = {
      {5, "BBB,200102,20,2.000,3.000,1.500,2.500\r\n"},
      {15, "BBB,20200102,20,2.000,3.000,1.500,2.500\r\n"},
      {17, "BBB,20200102,20,2.000,3.000,1.500,2.500\r\n"},
      {9, "BBB\t200102\t20\t2.000\t3.000\t1.500\t2.500\r\n"},
      {10, "BBB\t02-01-20\t20\t2,000\t3,000\t1,500\t2,500\r\n"},
      {11, "BBB\t02/01/20\t20\t2.000\t3.000\t1.500\t2.500\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.outputId);
    ASSERT_EQ(kStepFinished, Query("BBB,20200102,20200102\r\n", c.outputId));
    EXPECT_EQ(program.read("sksdat.dat"), c.bytes);
  }
}

TEST_F(QueryFromTest, ALongLineIsCutAndTheNextLineStillRead) {
  ASSERT_EQ(kStepFinished, Query("BBB,20200103,20200103," + std::string(300, 'x') + "\r\nCCC,20200106\r\n", 15));
  EXPECT_EQ(program.read("sksdat.dat"),
            "BBB,20200103,30,3.000,4.000,2.500,3.500\r\n"
            "CCC,20200106,60,6.000,7.000,5.000,6.750\r\n");
}

TEST_F(QueryFromTest, FailuresStopTheRunWithTheirError) {
  struct Case {
    const char* definitionFile;
    const char* outputFile;
    const char* definition;
    const char* error;
    const char* output;
  } cases[] = {
      {"missing.dat", "sksdat.dat", "", "Error opening requestfile", nullptr},
      {"query.dat", "no/such/dir/out.dat", "", "Error opening outputfile no/such/dir/out.dat", nullptr},
      {"query.dat", "sksdat.dat", "BBB,20200103\r\nAAA,hello\r\nCCC,20191231\r\n", "Illegal startdate",
       "BBB,20200103,30,3.000,4.000,2.500,3.500\r\n"},
      {"query.dat", "sksdat.dat", "BBB\r\n", "Illegal startdate", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.error);
    program.write("sksdat.dat", "earlier output");
    action.definitionFile = c.definitionFile;
    action.outputFile = c.outputFile;
    ASSERT_EQ(kStepErrorShown, Query(c.definition, 15));
    ASSERT_FALSE(progress.errors().empty());
    EXPECT_EQ(progress.errors().back(), c.error);
    EXPECT_EQ(program.read("sksdat.dat"), c.output ? c.output : "earlier output");
  }
}

}  // namespace
}  // namespace kvqt
