#include "automation/task_line_parse.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

namespace kvqt {
namespace {

std::string Join(const std::vector<std::string>& items) {
  std::string out;
  for (const std::string& item : items) out += "[" + item + "]";
  return out;
}

std::string Arguments(const TaskArguments& args) {
  std::string out;
  for (std::size_t i = 0; i < args.size(); ++i) out += "[" + std::string(args.text(i)) + "]";
  return out;
}

TEST(TaskLineParseTest, ActionLinesSplitIntoNameAndArguments) {
  struct Case {
    const char* line;
    const char* name;
    ActionSyntax syntax;
    const char* arguments;
  } cases[] = {
      {"=Download(0, 1, \"MS\", \"\", \"/d/\", 0, 0)", "=Download", ActionSyntax::Ok,
       "[0][1][\"MS\"][\"\"][\"/d/\"][0][0]"},
      // The writer's form for an absent source directory: no blank after the comma.
      {"=Convert(\"MS\", \"\",\"ASC\", \"/a/\", 0, 0)", "=Convert", ActionSyntax::Ok,
       "[\"MS\"][\"\"][\"ASC\"][\"/a/\"][0][0]"},
      // Tabs and blanks before an argument go, those after it stay.
      {"=Append(\t \"A\" ,\"B\")", "=Append", ActionSyntax::Ok, "[\"A\" ][\"B\"]"},
      // Everything after the first ')' is ignored, also inside quotes.
      {"=Execute(\"prog (x)\") trailing", "=Execute", ActionSyntax::Ok, "[\"prog (x]"},
      {"=Execute(\"a,b\")", "=Execute", ActionSyntax::Ok, "[\"a][b\"]"},
      {"=Download ()", "=Download", ActionSyntax::Ok, ""},
      {"=Download(  )", "=Download", ActionSyntax::Ok, ""},
      {"=Download(,)", "=Download", ActionSyntax::Ok, "[][]"},
      {"=Download 0, 1", "=Download 0, 1", ActionSyntax::OpenExpected, ""},
      {"=Download(0, 1", "=Download", ActionSyntax::CloseExpected, ""},
      // A ')' before the '(' does not close the argument list.
      {"=X)(1", "=X)", ActionSyntax::CloseExpected, ""},
      {"=", "=", ActionSyntax::OpenExpected, ""},
      // The name and 14 arguments at most.
      {"=L(1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16)", "=L", ActionSyntax::Ok,
       "[1][2][3][4][5][6][7][8][9][10][11][12][13][14]"},
  };
  for (const Case& c : cases) {
    const ParsedTaskLine parsed = ParseTaskLine(c.line);
    EXPECT_EQ(parsed.form, TaskLineForm::Action) << c.line;
    EXPECT_EQ(parsed.name, c.name) << c.line;
    EXPECT_EQ(parsed.syntax, c.syntax) << c.line;
    EXPECT_EQ(Arguments(parsed.arguments), c.arguments) << c.line;
  }
}

TEST(TaskLineParseTest, CommandLinesLoseTrailingPunctuationAndSplitAtBlanks) {
  struct Case {
    const char* line;
    TaskLineForm form;
    const char* words;
  } cases[] = {
      {"WAIT 12:30", TaskLineForm::Command, "[WAIT][12:30]"},
      {"  cd\t4  c:\\data\\", TaskLineForm::Command, "[cd][4][c:\\data]"},
      {"CD 4 /charts/daily/", TaskLineForm::Command, "[CD][4][/charts/daily]"},
      {"LU MS 0 RANGE 20240101 20240131.;!", TaskLineForm::Command, "[LU][MS][0][RANGE][20240101][20240131]"},
      {"", TaskLineForm::Empty, ""},
      {"   \t ", TaskLineForm::Empty, ""},
      {"-- ;; .. !!", TaskLineForm::Empty, ""},
      {"\r", TaskLineForm::Empty, ""},
      // Letters beyond ASCII are not letters here.
      {"SLEEP 3 \xc3\xa9", TaskLineForm::Command, "[SLEEP][3]"},
      // Only an '=' at the very start makes an action line.
      {" =Download(0)", TaskLineForm::Command, "[=Download(0]"},
  };
  for (const Case& c : cases) {
    const ParsedTaskLine parsed = ParseTaskLine(c.line);
    EXPECT_EQ(parsed.form, c.form) << c.line;
    EXPECT_EQ(Join(parsed.words), c.words) << c.line;
  }
}

TEST(TaskLineParseTest, StringAndNumberArguments) {
  const TaskArguments args(
      {"\"MS\"", "\"\"", "\"", "MS", "\"open", "20240131", "7x", "x7", "", "99999999999", "0", "\"a\" "});
  struct Case {
    std::size_t index;
    bool isString;
    const char* string;
    bool isNumber;
    int number;
  } cases[] = {
      {0, true, "MS", false, 0},         {1, true, "", false, 0},
      {2, false, "", false, 0},          {3, false, "", false, 0},
      {4, false, "", false, 0},          {5, false, "", true, 20240131},
      {6, false, "", true, 7},           {7, false, "", false, 0},
      {8, false, "", false, 0},          {9, false, "", true, INT_MAX},
      {10, false, "", true, 0},          {11, false, "", false, 0},
      {12, false, "", false, 0},  // missing
  };
  for (const Case& c : cases) {
    std::string s;
    int n = -1;
    EXPECT_EQ(args.string(c.index, s), c.isString) << c.index;
    if (c.isString) {
      EXPECT_EQ(s, c.string) << c.index;
    }
    EXPECT_EQ(args.number(c.index, n), c.isNumber) << c.index;
    if (c.isNumber) {
      EXPECT_EQ(n, c.number) << c.index;
    }
  }
}

TEST(TaskLineParseTest, CommandWordsGroupQuotedBlanks) {
  struct Case {
    const char* command;
    const char* words;
  } cases[] = {
      {"touch /tmp/x", "[touch][/tmp/x]"},
      {"  prog\t a  ", "[prog][a]"},
      {"prog \"a b\" c", "[prog][a b][c]"},
      {"prog \"\"", "[prog][]"},
      {"\"/opt/my tools/run\"", "[/opt/my tools/run]"},
      {"prog \"unclosed quote", "[prog][unclosed quote]"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Join(CommandWords(c.command)), c.words) << c.command;
}

TEST(TaskLineParseTest, OptionWordsArePrefixesWithoutCase) {
  EXPECT_TRUE(StartsWithIgnoreCase("realtimes", "REALTIME"));
  EXPECT_FALSE(StartsWithIgnoreCase("REALTIM", "REALTIME"));
}

class ReadTaskLineTest : public ::testing::Test {
 protected:
  std::vector<std::string> ReadAll(const std::string& bytes) {
    std::FILE* file = std::tmpfile();
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::rewind(file);
    std::vector<std::string> lines;
    std::string line;
    while (ReadTaskLine(file, line)) lines.push_back(line);
    std::fclose(file);
    return lines;
  }
};

TEST_F(ReadTaskLineTest, LineEndsAndTheLastLineWithoutOne) {
  EXPECT_EQ(Join(ReadAll("SLEEP 1\r\nSLEEP 2\nSLEEP 3")), "[SLEEP 1][SLEEP 2][SLEEP 3]");
  EXPECT_EQ(Join(ReadAll("a\r\n\r\n\nb\r\n")), "[a][][][b]");
  EXPECT_EQ(Join(ReadAll("")), "");
  // A CR inside a line stays.
  EXPECT_EQ(Join(ReadAll("a\rb\n")), "[a\rb]");
  std::string line = "x";
  EXPECT_FALSE(ReadTaskLine(nullptr, line));
  EXPECT_EQ(line, "");
}

TEST_F(ReadTaskLineTest, AByteOrderMarkAtTheStartIsSkipped) {
  EXPECT_EQ(Join(ReadAll("\xEF\xBB\xBFSLEEP 1\r\nSLEEP 2\r\n")), "[SLEEP 1][SLEEP 2]");
  EXPECT_EQ(Join(ReadAll("\xEF\xBB\xBF")), "[]");
  // Only at the start of the file.
  EXPECT_EQ(Join(ReadAll("SLEEP 1\r\n\xEF\xBB\xBFSLEEP 2\r\n")), "[SLEEP 1][\xEF\xBB\xBFSLEEP 2]");
  EXPECT_EQ(ParseTaskLine(ReadAll("\xEF\xBB\xBF=Execute(\"true\")\r\n").front()).form, TaskLineForm::Action);
}

TEST_F(ReadTaskLineTest, ALongLineIsCutAndItsRestSkipped) {
  const std::string exact(511, 'a');
  const std::string longer = "CD 4 " + std::string(600, 'b');
  const std::vector<std::string> lines = ReadAll(exact + "\r\n" + longer + "\r\nSLEEP 1\r\n");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], exact);
  EXPECT_EQ(lines[1], longer.substr(0, 511));
  EXPECT_EQ(lines[2], "SLEEP 1");
  // A line of 510 characters keeps none of its CR LF.
  EXPECT_EQ(ReadAll(std::string(510, 'c') + "\r\n").front(), std::string(510, 'c'));
}

}  // namespace
}  // namespace kvqt
