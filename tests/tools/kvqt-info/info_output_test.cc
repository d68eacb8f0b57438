#include "kvqt-info/info_output.h"

#include <gtest/gtest.h>

namespace kvqt::info {
namespace {

TEST(InfoOutputTest, QuotesOnlyWhatNeedsIt) {
  struct Case {
    std::string value;
    const char* written;
  } cases[] = {
      {"ASC", "ASC"},
      {"/data/ms/", "/data/ms/"},
      {"C:\\data\\", "C:\\data\\"},
      {"a=b", "a=b"},
      {"", "\"\""},
      {"Ascii: Comma Delimited", "\"Ascii: Comma Delimited\""},
      {"say \"hi\"", "\"say \\\"hi\\\"\""},
      {"back\\slash x", "\"back\\\\slash x\""},
      {"tab\there", "\"tab\\there\""},
      {"\r\n", "\"\\r\\n\""},
      {std::string("nul\0x", 5), "\"nul\\000x\""},
      {"\x01" "1", "\"\\0011\""},
      {"Soci\xe9t\xe9", "\"Soci\\351t\\351\""},
      {"\x7f", "\"\\177\""},
  };
  for (const Case& c : cases) EXPECT_EQ(QuoteValue(c.value), c.written) << c.written;
}

TEST(InfoOutputTest, FieldsOfEachKind) {
  InfoLine line("thing");
  line.text("name", "two words")
      .character("fsep", ',')
      .character("dsep", '\0')
      .character("tab", '\t')
      .integer("n", -12)
      .date("first", Date(2024, 1, 5))
      .date("none", Date())
      .time("at", Time(9, 5, 0))
      .time("never", Time())
      .real("factor", 0.1f)
      .real("one", 1.0f);
  EXPECT_EQ(line.str(),
            "thing name=\"two words\" fsep=, dsep=\"\" tab=\"\\t\" n=-12 first=20240105 none=0 at=90500 never=-1 "
            "factor=0.1 one=1");
}

TEST(InfoOutputTest, FloatsAreTheShortestTextThatReadsBack) {
  const struct {
    float value;
    const char* text;
  } cases[] = {{3.08f, "3.08"}, {10.5f, "10.5"}, {1234567.0f, "1234567"}, {0.0f, "0"},
               {-2.25f, "-2.25"}, {16777216.0f, "16777216"}, {1e10f, "1e+10"}, {0.3f, "0.3"}};
  for (const auto& c : cases) {
    InfoLine line("r");
    line.real("v", c.value);
    EXPECT_EQ(line.str(), std::string("r v=") + c.text) << c.text;
  }
}

}  // namespace
}  // namespace kvqt::info
