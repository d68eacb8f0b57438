#include "formats/file_names.h"

#include <gtest/gtest.h>

#include "app/core/messages.h"

namespace kvqt {
namespace {

TEST(FileNamesTest, NamesByFormatId) {
  struct Case {
    int id;
    int fileType;
    int fileNumber;
    const char* name;  // nullptr: no data file
  } cases[] = {
      {0, 10, 0, "/d/ABC.dS10"},     {0, 257, 0, "/d/ABC.dS1"},    {8, 10, 0, "/d/ABC.dSA"},
      {8, 264, 0, "/d/ABC.dS8"},     {1, 0, 0, "/d/ABC.mmD"},      {3, 0, 1, "/d/f1.DAT"},
      {4, 0, 255, "/d/f255.DAT"},    {20, 0, 256, "/d/f256.MWD"},  {4, 0, 6001, "/d/f6001.MWD"},
      {5, 0, 0, "/d/ABC.prn"},       {9, 0, 0, "/d/ABC.prn"},      {10, 0, 0, "/d/ABC.prn"},
      {11, 0, 0, "/d/ABC.prn"},      {13, 0, 0, "/d/ABC.prn"},     {14, 0, 0, "/d/ABC.prn"},
      {15, 0, 0, "/d/ABC.prn"},      {21, 0, 0, "/d/ABC.prn"},     {17, 0, 0, "/d/ABC.asc"},
      {22, 0, 0, "/d/ABC.kbt"},      {6, 0, 0, "/d/ABC.kbf"},      {7, 0, 0, "/d/ABC.hdf"},
      {16, 0, 0, "/d/sksdat.o2k"},   {2, 0, 0, nullptr},           {12, 0, 0, nullptr},
      {18, 0, 0, nullptr},           {19, 0, 0, nullptr},          {23, 0, 0, nullptr},
      {-1, 0, 0, nullptr},
  };
  for (const Case& c : cases) {
    DatafileEntry entry;
    entry.symbol = "ABC";
    entry.fields = c.fileType;
    entry.fileNumber = c.fileNumber;
    std::string name;
    int rc = BuildFileName(entry, name, c.id, "/d/");
    if (c.name) {
      EXPECT_EQ(0, rc) << c.id;
      EXPECT_EQ(c.name, name) << c.id;
    } else {
      EXPECT_EQ(-1, rc) << c.id;
      EXPECT_TRUE(name.empty()) << c.id;
    }
  }
}

// Symbols arrive from the download service too: none may name a file outside
// the directory. Numbered MetaStock files do not depend on the symbol.
TEST(FileNamesTest, SymbolsThatLeadOutOfTheDirectoryNameNoFile) {
  struct Case {
    const char* symbol;
    int id;
    bool named;
  } cases[] = {
      {"../x", 5, false}, {"NH/A", 5, false}, {"..", 17, false}, {".", 6, false},  {"a\\b", 22, false},
      {"", 5, false},     {"/abs", 0, false}, {"../x", 8, false}, {"x/y", 1, false}, {"x/y", 7, false},
      {"NH/A", 4, true},  {"../x", 16, true}, {"AB.C", 5, true},  {"R&D", 17, true}, {"D'OR", 6, true},
  };
  for (const Case& c : cases) {
    DatafileEntry entry;
    entry.symbol = c.symbol;
    entry.fileNumber = 1;
    std::string name;
    EXPECT_EQ(c.named ? 0 : -1, BuildFileName(entry, name, c.id, "/d/")) << c.symbol << " " << c.id;
    if (c.named) {
      EXPECT_EQ(name.rfind("/d/", 0), 0u) << name;
    }
  }
}

TEST(FileNamesTest, MissingDirectoryIsReported) {
  ScopedMessages messages;
  DatafileEntry entry;
  std::string name;
  EXPECT_EQ(-1, BuildFileName(entry, name, 4, ""));
  ASSERT_EQ(1u, messages->shown().size());
  EXPECT_EQ("build_filename: Illegal directory", messages->shown()[0].text);
}

}  // namespace
}  // namespace kvqt
