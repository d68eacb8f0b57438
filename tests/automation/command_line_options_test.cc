#include "automation/command_line_options.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/model/format_table.h"
#include "app/model/formats.h"
#include "app/runner/program_args.h"

namespace kvqt {
namespace {

using A = CommandLineAction;

TEST(CommandLineOptionsTest, OptionsAreRecognisedFirstAndWithTheirCountsOnly) {
  struct {
    std::vector<std::string> args;
    A action;
  } cases[] = {
      {{}, A::kNothing},
      {{"-nowindow", "-NOWINDOW"}, A::kNothing},
      {{"Tasks.TSK"}, A::kTaskFile},
      {{"-nowindow", "-nowindow", "Tasks.TSK"}, A::kTaskFile},
      {{"Tasks.TSK", "-nowindow"}, A::kUnknown},
      {{"-nowindow", "-nowindow"}, A::kNothing},
      {{"-definitionfile"}, A::kDefinitionFileFromSettings},
      {{"-DefinitionFile", "d", "f", "o"}, A::kDefinitionFile},
      {{"-definitionfile", "d"}, A::kUnknown},
      {{"-definitionfile", "d", "f", "o", "x"}, A::kUnknown},
      {{"-query"}, A::kQuery},
      {{"-QUERY", "f", "d", "q", "o", "f", "x", "y"}, A::kQuery},
      {{"-insnames"}, A::kInsertNames},
      {{"-InsNames", "t", "d", "x", "y"}, A::kInsertNames},
      {{"-inssymbols", "t"}, A::kInsertSymbols},
      {{"-printlist", "f", "x"}, A::kPrintList},
      {{"-printlist"}, A::kTaskFile},
      {{"-printlist", "f"}, A::kUnknown},
      {{"-add2master", "t", "f", "d"}, A::kAddToMaster},
      {{"-Add2Master", "t", "f", "d", "20240102"}, A::kAddToMaster},
      {{"-add2master"}, A::kTaskFile},
      {{"-add2master", "t", "f", "d", "s", "x"}, A::kUnknown},
      {{"-addsymbols", "t", "f", "d"}, A::kAddSymbols},
      {{"-addsymbols", "t", "f"}, A::kUnknown},
      {{"-datafile"}, A::kDataFile},
      {{"-datafile", "r", "f", "d", "x"}, A::kDataFile},
      {{"-nowindow", "-datafile", "r", "f"}, A::kDataFile},
      {{"x", "-datafile", "r", "f"}, A::kUnknown},
      {{"--headless", "-nowindow", "--HEADLESS", "Tasks.TSK"}, A::kTaskFile},
      {{"Tasks.TSK", "--headless"}, A::kUnknown},
  };
  for (const auto& c : cases) {
    std::string trace;
    for (const std::string& a : c.args) trace += a + " ";
    EXPECT_EQ(ParseCommandLine(c.args).action, c.action) << trace;
  }
}

TEST(CommandLineOptionsTest, ArgumentsAreKeptAsGivenAfterTheLeadingNowindow) {
  const CommandLine line = ParseCommandLine({"-NoWindow", "-Query", "ms", "Data/Charts", "-nowindow"});
  EXPECT_EQ(line.arguments, (std::vector<std::string>{"-Query", "ms", "Data/Charts", "-nowindow"}));
  EXPECT_EQ(line.count(), 4);
  EXPECT_EQ(line.argument(1), "-Query");
  EXPECT_EQ(line.argument(3), "Data/Charts");
  EXPECT_EQ(line.argument(5), "");
  EXPECT_EQ(line.argument(0), "");
}

TEST(CommandLineOptionsTest, RelativeFileAndDirectoryArgumentsAreTakenFromTheStartDirectory) {
  using Args = std::vector<std::string>;
  const struct {
    Args args;
    Args expected;
  } cases[] = {
      {{"rel.tsk"}, {"/start/rel.tsk"}},
      {{"-nowindow", "--headless", "../up/t.tsk"}, {"-nowindow", "--headless", "/up/t.tsk"}},
      {{"/abs/t.tsk"}, {"/abs/t.tsk"}},
      {{"-add2master"}, {"-add2master"}},  // a task file name in its message, as given
      {{"-definitionfile", "def.txt", "ms", "out.txt"}, {"-definitionfile", "/start/def.txt", "ms", "/start/out.txt"}},
      {{"-definitionfile"}, {"-definitionfile"}},
      {{"-query", "MS"}, {"-query", "MS"}},
      {{"-query", "MS", "data"}, {"-query", "MS", "/start/data"}},
      {{"-query", "MS", "d", "q.dat", "ASC", "o.txt"}, {"-query", "MS", "/start/d", "/start/q.dat", "ASC", "/start/o.txt"}},
      {{"-insnames", "names.txt"}, {"-insnames", "/start/names.txt"}},
      {{"-inssymbols", "n", "ms/"}, {"-inssymbols", "/start/n", "/start/ms/"}},
      {{"-add2master", "t.txt", "4", "d", "20240102"}, {"-add2master", "/start/t.txt", "4", "/start/d", "20240102"}},
      {{"-addsymbols", "t.txt", "MS", "/d/"}, {"-addsymbols", "/start/t.txt", "MS", "/d/"}},
      {{"-datafile", "r.dat", "MS"}, {"-datafile", "/start/r.dat", "MS"}},
      {{"-datafile", "r.dat"}, {"-datafile", "r.dat"}},  // the usage message
      {{"-printlist", "MS", "x"}, {"-printlist", "MS", "x"}},
      {{"-bogus", "x"}, {"-bogus", "x"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ArgumentsFromStartDirectory(c.args, "/start/"), c.expected) << c.args.front();
  }
  EXPECT_EQ(ArgumentsFromStartDirectory({"rel.tsk"}, ""), Args{"rel.tsk"});
}

TEST(CommandLineOptionsTest, HelpVersionAndHeadlessAreLeadingRequests) {
  using Args = std::vector<std::string>;
  EXPECT_EQ(FindInfoRequest(Args{"--help"}), InfoRequest::kHelp);
  EXPECT_EQ(FindInfoRequest(Args{"-nowindow", "-h"}), InfoRequest::kHelp);
  EXPECT_EQ(FindInfoRequest(Args{"--version", "x"}), InfoRequest::kVersion);
  EXPECT_EQ(FindInfoRequest(Args{"t.tsk", "--help"}), InfoRequest::kNone);
  EXPECT_EQ(FindInfoRequest(Args{}), InfoRequest::kNone);
  EXPECT_TRUE(HasHeadlessOption(Args{"-nowindow", "--Headless", "t.tsk"}));
  EXPECT_FALSE(HasHeadlessOption(Args{"t.tsk", "--headless"}));
}

TEST(CommandLineOptionsTest, FormatsByIdOrBySymbolInAnyCase) {
  Formats formats;
  MergeFormatTable(formats);
  // A symbol the user wrote in lower case is found as well.
  formats.add(std::make_unique<Format>("mine", "My Own", 13));
  struct {
    const char* text;
    const char* symbol;  // nullptr: no format
  } cases[] = {
      {"MS", "MS"},     {"ms", "MS"},   {"Ms", "MS"},       {"4", "MS"},     {"04", "MS"},
      {"4x", "MS"},     {"20", "MSI"},  {"asc", "ASC"},     {"5", "ASC"},    {"herm-itd", "HERM-ITD"},
      {"MINE", "mine"}, {"13", "mine"}, {"ZZ", nullptr},    {"3", nullptr},  {"", nullptr},
      {"99999999999", nullptr},         {" MS", nullptr},
  };
  for (const auto& c : cases) {
    const Format* format = FindFormatArgument(&formats, c.text);
    if (c.symbol == nullptr) {
      EXPECT_EQ(format, nullptr) << c.text;
    } else {
      ASSERT_NE(format, nullptr) << c.text;
      EXPECT_EQ(format->symbol(), c.symbol) << c.text;
    }
  }
  EXPECT_EQ(FindFormatArgument(nullptr, "MS"), nullptr);
}

}  // namespace
}  // namespace kvqt
