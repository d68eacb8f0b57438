// The convert and append steps as the progress dialog runs them: what each
// status line shows, which items a selection takes, runs of any length, and
// the import file of an Orvista 2000 destination handed to the importer.
#include "maintenance/convert_steps.h"

#include <sys/stat.h>

#include <chrono>
#include <thread>

#include "convert_test_util.h"
#include "maintenance/convert_datafile.h"

namespace kvqt {
namespace {

using testing::IndexSelection;
using testing::ReadRecords;
using testing::TempDir;
using testing::TradingDays;
using testing::WriteSymbol;

// Every text the dialog's three lines were given, in order.
class LinesView : public ProgressView {
 public:
  void showStatus(std::string_view text, bool) override { status.emplace_back(text); }
  void showLine2(std::string_view text) override { line2.emplace_back(text); }
  void showLine3(std::string_view text) override { line3.emplace_back(text); }
  void showError(std::string_view text) override { errors.emplace_back(text); }
  std::vector<std::string> status, line2, line3, errors;
};

class ConvertStepsTest : public testing::ConvertTestBase {
 protected:
  void SetUp() override {
    ConvertTestBase::SetUp();
    WriteSymbol(src.path(), 5, "AAA", TradingDays(Date(2004, 3, 1), 6), "Aaa");
    WriteSymbol(src.path(), 5, "BBB", TradingDays(Date(2004, 3, 1), 4), "Bbb");
    Format& ascii = AddFormat(5);
    Format& metastock = AddFormat(4);
    action.sourceFormat = &ascii;
    action.sourceDirectory = &AddDirectory(ascii, src.path());
    action.destinationFormat = &metastock;
    action.destinationDirectory = &AddDirectory(metastock, dst.path());
  }

  // Ticks until the run ends; 999 when it never does.
  int Run(StepFunction step, int total) {
    StepRunner runner(view, step, &action, total);
    for (int tick = 0; tick < 10000; ++tick) {
      TickOutcome outcome = runner.tick();
      if (outcome != TickOutcome::Continue && outcome != TickOutcome::Wait) return runner.result();
    }
    return 999;
  }

  TempDir src, dst;
  ActionInfo action;
  LinesView view;
};

TEST_F(ConvertStepsTest, ConvertAllShowsTheShareDoneAndTheDataFile) {
  ASSERT_EQ(kStepFinished, Run(convertAllStep, action.sourceDirectory->count()));
  EXPECT_EQ(view.status, std::vector<std::string>{"Converting to Metastock"});
  EXPECT_EQ(view.line3, (std::vector<std::string>{" 50% - Aaa", " 100% - Bbb"}));
  EXPECT_EQ(ReadRecords(dst.path(), 4, "AAA").size(), 6u);
  EXPECT_EQ(ReadRecords(dst.path(), 4, "BBB").size(), 4u);
}

TEST_F(ConvertStepsTest, ConvertTakesOnlyTheSelectedItems) {
  IndexSelection second({1});
  action.selection = &second;
  ASSERT_EQ(kStepFinished, Run(convertStep, action.sourceDirectory->count()));
  EXPECT_EQ(view.status, std::vector<std::string>{"Converting to Metastock"});
  EXPECT_EQ(view.line3, (std::vector<std::string>{"Bbb", ""}));
  EXPECT_TRUE(ReadRecords(dst.path(), 4, "AAA").empty());
  EXPECT_EQ(ReadRecords(dst.path(), 4, "BBB").size(), 4u);
}

TEST_F(ConvertStepsTest, AConvertErrorClearsTheLineAndStopsTheRun) {
  action.destinationDirectory = action.sourceDirectory;
  ASSERT_EQ(kStepStop, Run(convertAllStep, action.sourceDirectory->count()));
  EXPECT_EQ(view.line3, (std::vector<std::string>{" 50% - Aaa", ""}));
  EXPECT_EQ(Shown(), std::vector<std::string>{kSameDirectoryText});
}

TEST_F(ConvertStepsTest, AppendShowsTheDataFileWhileItIsProcessed) {
  WriteSymbol(dst.path(), 4, "AAA", TradingDays(Date(2004, 3, 1), 2), "Aaa");
  WriteSymbol(dst.path(), 4, "BBB", TradingDays(Date(2004, 3, 1), 2), "Bbb");
  IndexSelection first({0});
  action.selection = &first;
  ASSERT_EQ(kStepFinished, Run(appendStep, action.destinationDirectory->count()));
  EXPECT_EQ(view.status, std::vector<std::string>{"Appending to Metastock"});
  EXPECT_EQ(view.line2, (std::vector<std::string>{"Aaa", ""}));
  EXPECT_EQ(ReadRecords(dst.path(), 4, "AAA").size(), 6u);
  EXPECT_EQ(ReadRecords(dst.path(), 4, "BBB").size(), 2u);

  view.line3.clear();
  ASSERT_EQ(kStepFinished, Run(appendAllStep, action.destinationDirectory->count()));
  EXPECT_EQ(view.line3, (std::vector<std::string>{" 50% - Aaa", " 100% - Bbb"}));
  EXPECT_EQ(ReadRecords(dst.path(), 4, "BBB").size(), 4u);
}

TEST_F(ConvertStepsTest, RunsOfAnyLengthEnd) {
  // The directory a run goes over (the source for convert, the destination
  // for append) is empty, or holds fewer data files than the run has steps.
  TempDir empty;
  Format& ascii = AddFormat(5);
  Directory& none = AddDirectory(ascii, empty.path());
  struct Case {
    StepFunction step;
    bool convert;
    int total;
  } cases[] = {
      {convertAllStep, true, 0}, {convertAllStep, true, 3}, {convertStep, true, 2},
      {appendAllStep, false, 0}, {appendAllStep, false, 4}, {appendStep, false, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.total);
    const ActionInfo saved = action;
    (c.convert ? action.sourceDirectory : action.destinationDirectory) = &none;
    EXPECT_EQ(kStepFinished, Run(c.step, c.total));
    action = saved;
  }
  EXPECT_EQ(Shown(), std::vector<std::string>{});
  EXPECT_FALSE(dst.exists("MASTER"));

  // Unscanned until the run starts: its first step reads the directory.
  ASSERT_EQ(kStepFinished, Run(convertAllStep, 7));
  EXPECT_EQ(ReadRecords(dst.path(), 4, "AAA").size(), 6u);
  EXPECT_EQ(ReadRecords(dst.path(), 4, "BBB").size(), 4u);
}

// An Orvista 2000 destination with an importer that notes the file it was
// started with.
class OrvistaStepsTest : public ConvertStepsTest {
 protected:
  void SetUp() override {
    ConvertStepsTest::SetUp();
    profile().putString("orvista2kpath", tools.path());
    ::mkdir(tools.file("Tools").c_str(), 0755);
    testing::WriteFileBytes(tools.file("Tools/Ingest2000.exe"),
                            "#!/bin/sh\necho \"$1\" > \"" + tools.file("started.txt") + "\"\n");
    ::chmod(tools.file("Tools/Ingest2000.exe").c_str(), 0755);
    orvista.write("Market.INI", "[Market]\r\nCode=AEX|Amsterdam\r\n");
    // Left over from an earlier run that never reached the importer.
    orvista.write("sksdat.o2k", "7|AEX|OLD|Old||20000103|1.00|1.00|1.00|1.00|1\r\n");
    Format& format = AddFormat(16);
    action.destinationFormat = &format;
    action.destinationDirectory = &AddDirectory(format, orvista.path());
  }
  std::string WaitForStart() {
    for (int i = 0; i < 500 && tools.read("started.txt").find('\n') == std::string::npos; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return tools.read("started.txt");
  }
  TempDir tools, orvista;
};

TEST_F(OrvistaStepsTest, ConvertWritesOneImportFileAndStartsTheImporterAfterTheLastItem) {
  action.startDate = Date(2004, 3, 4);
  ASSERT_EQ(kStepFinished, Run(convertAllStep, action.sourceDirectory->count()));
  EXPECT_EQ(orvista.read("AEX.ORV"),
            "7|AEX|AAA|Aaa||20040304|20.75|22.25|20.00|21.25|1030\r\n"
            "7|AEX|AAA|Aaa||20040305|21.00|22.50|20.25|21.50|1040\r\n"
            "7|AEX|AAA|Aaa||20040308|21.25|22.75|20.50|21.75|1050\r\n"
            "7|AEX|BBB|Bbb||20040304|20.75|22.25|20.00|21.25|1030\r\n");
  EXPECT_FALSE(orvista.exists("sksdat.o2k"));
  EXPECT_EQ(WaitForStart(), orvista.file("AEX.ORV") + "\n");
  EXPECT_EQ(Shown(), std::vector<std::string>{});
  // The instruments are the directory's entries, with the dates written.
  Directory& directory = *action.destinationDirectory;
  ASSERT_EQ(directory.size(), 2);
  EXPECT_EQ(directory.bySymbol("AAA")->firstDate().value(), 20040304);
  EXPECT_EQ(directory.bySymbol("AAA")->lastDate().value(), 20040308);
  EXPECT_EQ(directory.bySymbol("BBB")->name(), "Bbb");
}

TEST_F(OrvistaStepsTest, AppendAddsTheNewerRecordsToOneImportFile) {
  Directory& directory = *action.destinationDirectory;
  directory.add(std::make_unique<Datafile>("AAA", "Aaa", 16))->setDates(Date(2004, 3, 1), Date(2004, 3, 5), 0);
  directory.add(std::make_unique<Datafile>("BBB", "Bbb", 16))->setDates(Date(2004, 3, 1), Date(2004, 3, 4), 0);
  ASSERT_EQ(kStepFinished, Run(appendAllStep, directory.count()));
  EXPECT_EQ(orvista.read("AEX.ORV"),
            "7|AEX|AAA|Aaa||20040308|21.25|22.75|20.50|21.75|1050\r\n");
  EXPECT_EQ(WaitForStart(), orvista.file("AEX.ORV") + "\n");
  EXPECT_EQ(directory.bySymbol("AAA")->lastDate().value(), 20040308);
  EXPECT_EQ(directory.bySymbol("BBB")->lastDate().value(), 20040304);
}

TEST_F(OrvistaStepsTest, WithoutAnImporterTheRunStillEndsAndSaysSo) {
  profile().putString("orvista2kpath", tools.file("nowhere"));
  ASSERT_EQ(kStepFinished, Run(convertAllStep, action.sourceDirectory->count()));
  ASSERT_EQ(messages->shown().size(), 1u);
  EXPECT_EQ(messages->shown()[0].text.rfind("Orvista 2000 Importer not found", 0), 0u);
  EXPECT_TRUE(orvista.exists("AEX.ORV"));
}

}  // namespace
}  // namespace kvqt
