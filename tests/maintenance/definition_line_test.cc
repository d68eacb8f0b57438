#include "maintenance/definition_line.h"

#include <gtest/gtest.h>

namespace kvqt {
namespace {

TEST(DefinitionLineTest, FieldsAndKeywords) {
  struct Case {
    const char* line;
    bool used;
    const char* symbol;
    std::int32_t start;
    std::int32_t end;
  } cases[] = {
      {"AAA,20040105,20040220", true, "AAA", 20040105, 20040220},
      {"AAA,040105,1040220", true, "AAA", 20040105, 20040220},
      {" AAA , 20040105 , 20040220 ", true, "AAA", 20040105, 20040220},
      {"AAA,20040105", true, "AAA", 20040105, 0},
      {"AAA,20040105,", true, "AAA", 20040105, 0},
      {"AAA,20040105,soon", true, "AAA", 20040105, 0},
      {"AAA,20041305,20040220", true, "AAA", 0, 20040220},
      {"AAA", true, "AAA", 0, 0},
      {"BRK.A,20040105,20040220,extra", true, "BRK.A", 20040105, 20040220},
      {"", false, "", 0, 0},
      {",20040105,20040220", false, "", 0, 0},
      {"   ", false, "", 0, 0},
      {"CODE 1234", false, "", 0, 0},
      {"CODEX,20040105", false, "", 0, 0},
      {"VERSION f3.2.4", false, "", 0, 0},
      {"NEWKORVGB f3.2.4", false, "", 0, 0},
      {"NEWKORV f3.2.4", false, "", 0, 0},
      {"NEWKVQTMS", false, "", 0, 0},
      {"NEWKVQT f3.2.4", false, "", 0, 0},
      {"NEWDLDW", false, "", 0, 0},
      {"PELTOPRICES", false, "", 0, 0},
      {"REQUEST 3|17", false, "", 0, 0},
      {"FIREREQUEST", false, "", 0, 0},
      // Keywords are compared with their case.
      {"version,20040105", true, "version", 20040105, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    DefinitionLine line;
    ASSERT_EQ(ParseDefinitionLine(c.line, line), c.used);
    if (!c.used) continue;
    EXPECT_EQ(line.symbol, c.symbol);
    EXPECT_EQ(line.start.value(), c.start);
    EXPECT_EQ(line.end.value(), c.end);
  }
}

}  // namespace
}  // namespace kvqt
