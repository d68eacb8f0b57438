// The lines of ticker/names files and the fields of their four kinds of line.
#include "maintenance/ticker_file.h"

#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace kvqt {
namespace {

std::vector<std::string> Lines(std::string bytes) {
  std::vector<std::string> lines;
  std::FILE* f = fmemopen(bytes.data(), bytes.size(), "rb");
  if (!f) return lines;
  TickerFileReader reader(f);
  for (std::string line; lines.size() < 100 && reader.next(line);) lines.push_back(line);
  std::fclose(f);
  return lines;
}

TEST(TickerFileReaderTest, LinesComeWithoutTheirEnds) {
  struct Case {
    std::string bytes;
    std::vector<std::string> lines;
  } cases[] = {
      {"A,B\r\nC,D\r\n", {"A,B", "C,D"}},
      {"A,B\nC,D", {"A,B", "C,D"}},
      {"A,B\r\n\r\nC\r", {"A,B", "", "C"}},
      {"", {}},
      {"\n", {""}},
      {std::string("AB\0CD\nE\n", 8), {"AB", "E"}},
  };
  for (const Case& c : cases) EXPECT_EQ(c.lines, Lines(c.bytes)) << c.bytes;
}

TEST(TickerFileReaderTest, LongLinesAreCutAndTheirRestSkipped) {
  const std::string line120(120, 'x');
  const std::string longLine = std::string(119, 'y') + "|ABC|Name|20000103";
  EXPECT_EQ((std::vector<std::string>{line120, "next"}), Lines(line120 + "\r\nnext\r\n"));
  EXPECT_EQ((std::vector<std::string>{longLine.substr(0, 120), "next"}), Lines(longLine + "\r\nnext\n"));
  EXPECT_EQ((std::vector<std::string>{std::string(120, 'z')}), Lines(std::string(5000, 'z')));
  // A CR at the 120th character is no part of the line, whatever follows it.
  EXPECT_EQ((std::vector<std::string>{std::string(119, 'x'), "next"}),
            Lines(std::string(119, 'x') + "\ryyy\r\nnext\r\n"));
}

TEST(TickerFieldsTest, NameLines) {
  struct Case {
    const char* line;
    bool ok;
    const char* symbol;
    const char* name;
  } cases[] = {
      {"ABC,Abc Corp", true, "ABC", "Abc Corp"},
      {"ABC,Abc, Inc.", true, "ABC", "Abc"},
      {"ABC, Abc", true, "ABC", " Abc"},
      {"ABC", false, "", ""},
      {"ABC,", false, "", ""},
      {",Abc", false, "", ""},
      {"", false, "", ""},
  };
  for (const Case& c : cases) {
    std::string_view symbol, name;
    EXPECT_EQ(c.ok, CutNameLine(c.line, symbol, name)) << c.line;
    if (c.ok) {
      EXPECT_EQ(c.symbol, symbol);
      EXPECT_EQ(c.name, name);
    }
  }
  EXPECT_EQ("ABC", CutSymbolField("ABC,Abc"));
  EXPECT_EQ("ABC", CutSymbolField("ABC"));
  EXPECT_EQ("", CutSymbolField(",Abc"));
}

TEST(TickerFieldsTest, MasterLines) {
  struct Case {
    const char* line;
    bool ok;
    const char* symbol;
    const char* name;
    const char* date;
  } cases[] = {
      {"ABC|Abc Corp|20000103", true, "ABC", "Abc Corp", "20000103"},
      {"ABC|Abc Corp", true, "ABC", "Abc Corp", ""},
      {"ABC|Abc Corp| 20000103 |more", true, "ABC", "Abc Corp", "20000103"},
      {"ABC|Abc Corp|", true, "ABC", "Abc Corp", ""},
      {"ABC||20000103", false, "", "", ""},
      {"|Abc|20000103", false, "", "", ""},
      {"ABC", false, "", "", ""},
  };
  for (const Case& c : cases) {
    std::string_view symbol, name, date;
    EXPECT_EQ(c.ok, CutMasterLine(c.line, symbol, name, date)) << c.line;
    if (c.ok) {
      EXPECT_EQ(c.symbol, symbol);
      EXPECT_EQ(c.name, name);
      EXPECT_EQ(c.date, date);
    }
  }
}

TEST(TickerFieldsTest, SymbolLines) {
  struct Case {
    const char* line;
    const char* symbol;
  } cases[] = {
      {"ABC", "ABC"},       {"ABC   ", "ABC"},    {"ABC,Name", "ABC"}, {"ABC Name", "ABC"}, {"ABC\tName", "ABC"},
      {"ABC|Name", "ABC"},  {"  ABC", "ABC"},     {",|ABC", "ABC"},    {"ABC\x01\x7f", "ABC"},
      {" \t", ""},          {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.symbol, CutSymbolLine(c.line)) << c.line;
}

}  // namespace
}  // namespace kvqt
