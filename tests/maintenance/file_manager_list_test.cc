// The file manager's view logic: the sort order, the cell and counter texts,
// the fields each format allows, and the find rules.
#include "maintenance/file_manager_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "app/model/directory.h"
#include "app/model/format.h"
#include "app/model/format_table.h"
#include "app/model/formats.h"
#include "maintenance/file_manager_fields.h"
#include "maintenance/instrument_find.h"

namespace kvqt {
namespace {

struct Row {
  const char* symbol;
  const char* name;
  int first;
  int firstTime;
  int last;
  int lastTime;
};

// A directory holding the rows; the directory keeps them by name, then symbol.
std::unique_ptr<Directory> Holding(std::initializer_list<Row> rows) {
  auto directory = std::make_unique<Directory>("/quotes/", 4);
  for (const Row& r : rows) {
    Datafile* d = directory->add(std::make_unique<Datafile>(r.symbol, r.name, 4, 30));
    d->setDates(Date::FromInt(r.first), Time::FromInt(r.firstTime), Date::FromInt(r.last), Time::FromInt(r.lastTime),
                10);
  }
  return directory;
}

std::string Symbols(const FileManagerRows& rows) {
  std::string symbols;
  for (int row = 0; row < rows.count(); ++row) symbols += (row ? " " : "") + rows.at(row)->symbol();
  return symbols;
}

TEST(FileManagerRowsTest, SortByEachColumn) {
  auto directory = Holding({
      {"BBB", "beta", 20000105, 0, 20000301, 93000},
      {"aaa", "Alpha", 20000104, 120000, 20000301, 100000},
      {"AAA", "alpha", 20000104, 90000, 20000302, 0},
      {"CCC", "Beta", 19991231, 0, 20000229, 173000},
  });
  const struct {
    int column;
    const char* order;
  } cases[] = {
      // Upper case before lower case: byte order.
      {kColumnName, "aaa CCC AAA BBB"},
      {kColumnSymbol, "AAA BBB CCC aaa"},
      // Equal dates are ordered by their times.
      {kColumnFrom, "CCC AAA aaa BBB"},
      {kColumnTo, "CCC BBB aaa AAA"},
  };
  FileManagerRows rows;
  rows.fill(directory.get());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.column);
    rows.sortBy(c.column);
    EXPECT_EQ(c.order, Symbols(rows));
    EXPECT_EQ(c.column, rows.sortColumn());
  }
  // A refill keeps the last sort order.
  rows.fill(directory.get());
  EXPECT_EQ("CCC BBB aaa AAA", Symbols(rows));
}

TEST(FileManagerRowsTest, RowsCarryTheirPositionInTheDirectory) {
  auto directory = Holding({{"B", "b", 20000103, 0, 20000104, 0}, {"A", "a", 20000105, 0, 20000106, 0}});
  FileManagerRows rows;
  rows.sortBy(kColumnFrom);
  rows.fill(directory.get());
  EXPECT_EQ("B A", Symbols(rows));
  EXPECT_EQ(1, rows.rowOfPosition(0));  // "a" comes first in the directory
  EXPECT_EQ(0, rows.rowOfSymbol("B"));
  EXPECT_EQ(1, rows.rowOf(directory->at(0)));
  EXPECT_EQ(-1, rows.rowOfSymbol("C"));
  EXPECT_EQ(nullptr, rows.at(2));
  EXPECT_EQ(nullptr, rows.at(-1));
  rows.fill(nullptr);
  EXPECT_EQ(0, rows.count());
}

TEST(FileManagerListTest, CellTexts) {
  auto directory = Holding({{"ABCDEFGH", "Long Symbol Corp", 20000103, 91500, 20001229, 173000}});
  auto shortSymbol = Holding({{"AB", "Ab", 20000103, 0, 20000102, 0}});
  const Datafile& d = *directory->at(0);
  const struct {
    const Datafile* datafile;
    int column;
    bool intraday;
    const char* text;
  } cases[] = {
      {&d, kColumnName, false, "Long Symbol Corp"},
      {&d, kColumnSymbol, false, "ABCDEFGH"},
      {shortSymbol->at(0), kColumnSymbol, false, "AB      "},
      {&d, kColumnFrom, false, "03/01/2000"},
      {&d, kColumnFrom, true, "03/01/2000"},
      {&d, kColumnTo, false, "29/12/2000"},
      {&d, kColumnTo, true, "29/12/2000 17:30"},
      // An empty data file: the last date before the first.
      {shortSymbol->at(0), kColumnTo, false, "02/01/2000"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(c.text, FileManagerCellText(*c.datafile, c.column, c.intraday));
  }
  EXPECT_STREQ("name", FileManagerHeader(0));
  EXPECT_STREQ("symbol", FileManagerHeader(1));
  EXPECT_STREQ("from", FileManagerHeader(2));
  EXPECT_STREQ("to", FileManagerHeader(3));
}

TEST(FileManagerListTest, CounterTexts) {
  const struct {
    int count;
    const char* text;
  } cases[] = {{0, "no instruments"}, {1, "1 instrument"}, {2, "2 instruments"}, {1234, "1234 instruments"}};
  for (const auto& c : cases) EXPECT_EQ(c.text, InstrumentCounterText(c.count));
}

TEST(FileManagerFieldsTest, FormatsOffered) {
  Formats formats;
  MergeFormatTable(formats);
  std::vector<std::string> offered;
  for (const Format* f : FileManagerFormats(formats)) offered.push_back(f->symbol());
  // Orvista 2000 cannot be scanned and takes nothing; Pelto and Davi-Effect are output only.
  for (const char* absent : {"ORV2", "PEL", "DAVI-IMP"})
    EXPECT_EQ(offered.end(), std::find(offered.begin(), offered.end(), absent)) << absent;
  for (const char* present : {"MS", "MSI", "ASC", "KB2", "HERMES", "HERM-ITD", "TI", "TPV"})
    EXPECT_NE(offered.end(), std::find(offered.begin(), offered.end(), present)) << present;
  EXPECT_EQ(13u, offered.size());
}

TEST(FileManagerFieldsTest, FieldsByFormat) {
  Formats formats;
  MergeFormatTable(formats);
  const struct {
    const char* symbol;
    bool buttons, name, symbolField, start, factor, interval, open;
    int nameLength;
  } cases[] = {
      {"MS", true, true, true, true, true, false, true, 45},
      {"MSI", true, true, true, true, true, true, true, 45},
      {"ASC", true, true, true, true, true, false, true, 40},
      {"ASC6I", true, true, true, true, true, true, true, 40},
      {"KB2", true, false, true, false, false, false, true, 0},
      {"HERMES", true, false, true, false, false, false, true, 0},
      {"HERM-ITD", true, false, true, false, false, false, true, 0},
      {"TI", false, false, false, false, false, false, true, 0},
      {"TPV", false, false, false, false, false, false, true, 0},
      {"ORV2", false, false, false, false, false, false, false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.symbol);
    const FileManagerFields f = FileManagerFieldsFor(formats.findBySymbol(c.symbol));
    EXPECT_EQ(c.buttons, f.instrumentButtons);
    EXPECT_EQ(c.name, f.name);
    EXPECT_EQ(c.symbolField, f.symbol);
    EXPECT_EQ(c.start, f.startDate);
    EXPECT_EQ(c.factor, f.factor);
    EXPECT_EQ(c.interval, f.interval);
    EXPECT_EQ(c.open, f.open);
    EXPECT_EQ(c.nameLength, f.nameLength);
    EXPECT_EQ(c.nameLength == 0, f.nameReadOnly);
    EXPECT_EQ(8, f.symbolLength);
  }
  const FileManagerFields none = FileManagerFieldsFor(nullptr);
  EXPECT_FALSE(none.instrumentButtons || none.symbol || none.open);
}

class InstrumentFindTest : public ::testing::Test {
 protected:
  InstrumentFindTest()
      : directory(Holding({{"ASML", "ASML Holding", 20000103, 0, 20000104, 0},
                           {"INGA", "ING Groep", 20000103, 0, 20000104, 0},
                           {"AEX", "AEX Index", 20000103, 0, 20000104, 0},
                           {"PHIA", "Koninklijke Philips", 20000103, 0, 20000104, 0}})) {
    rows.fill(directory.get());  // AEX, ASML, ING, Koninklijke
  }
  int Find(const char* text, int selected) {
    return find.find(text, selected, [this](int row) -> const Datafile* { return rows.at(row); });
  }
  std::unique_ptr<Directory> directory;
  FileManagerRows rows;
  InstrumentFind find;
};

TEST_F(InstrumentFindTest, TheSameTextAgainMovesOnANewTextStartsAtTheTop) {
  const struct {
    const char* text;
    int selected;
    int found;
  } steps[] = {
      {"a", -1, 0},       // "AEX INDEX AEX"
      {"A", 0, 1},        // the same text upper-cased: after the selected row
      {"a", 1, 2},        // "ING GROEP INGA"
      {"a", 2, 3},        // "KONINKLIJKE PHILIPS PHIA"
      {"a", 3, -1},       // past the last match
      {"groep", 3, 2},    // a new text: from the top
      {"GROEP", 2, -1},
      {"ASML", -1, 1},
      {"ASML", -1, 1},    // nothing selected: from the top again
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(std::string(s.text) + " after " + std::to_string(s.selected));
    EXPECT_EQ(s.found, Find(s.text, s.selected));
  }
  EXPECT_EQ("ASML", find.lastText());
}

TEST_F(InstrumentFindTest, NameAndSymbolAreMatchedTogether) {
  const struct {
    const char* text;
    int found;
  } cases[] = {
      {"groep in", 2},      // the end of the name, the blank, the start of the symbol
      {"PHILIPS PHIA", 3},
      {"INDEX AEX", 0},
      {"groepinga", -1},    // the blank is part of the text
      {"INGA ING", -1},     // the symbol comes after the name
  };
  for (const auto& c : cases) {
    InstrumentFind fresh;
    SCOPED_TRACE(c.text);
    EXPECT_EQ(c.found, fresh.find(c.text, -1, [this](int row) -> const Datafile* { return rows.at(row); }));
  }
  EXPECT_TRUE(InstrumentMatches(*rows.at(1), "ML HOLDING AS"));
}

}  // namespace
}  // namespace kvqt
