// Ticker/names files: renaming MetaStock entries and adding instruments to a
// directory's master, with the new Datafiles in the data model.
#include "maintenance/ticker_names.h"

#include <gtest/gtest.h>

#include "formats/byte_builder.h"
#include "instruments_test_util.h"
#include "support/hex.h"

namespace kvqt {
namespace {

using testing::Bytes;
using testing::Hex;
using testing::Le32;
using testing::Padded;
using testing::ToHex;

#define EXPECT_BYTES(expected, actual) EXPECT_EQ(ToHex(expected), ToHex(actual))

constexpr int kMetastock = 4;

class TickerNamesTest : public testing::InstrumentsTest {
 protected:
  // A ticker/names file beside the settings.
  std::string File(const std::string& text) {
    settings.write("names.txt", text);
    return settings.file("names.txt");
  }
};

TEST_F(TickerNamesTest, InsertNamesRewritesTheMasterRecords) {
  Format& format = Use(kMetastock);
  ASSERT_EQ(0, addToMaster(File("ABC|Abc Corp|20000103\r\n"), Date(), format, *directory));
  ASSERT_EQ(0, insertNames(File("ABC,Abc Corporation International\r\n"), *directory));

  std::string master = Bytes(2 * 53)
                           .hex(0, "01 00 01 00")
                           .hex(53 + 0, "01 65 00 1c 07")
                           .at(53 + 7, "Abc Corporation ")
                           .hex(53 + 25, "70 2a 74 94")  // 2000-01-03 as MBF CYYMMDD
                           .hex(53 + 29, "60 2a 74 94")  // 2000-01-02: empty
                           .at(53 + 33, "D")
                           .at(53 + 36, Padded("ABC", 16, ' '));
  EXPECT_BYTES(master, dir.read("MASTER"));

  std::string emaster = Bytes(2 * 192)
                            .hex(0, "01 00 01 00")
                            .at(192 + 0, "66")
                            .byte(192 + 2, 1)
                            .byte(192 + 6, 7)
                            .byte(192 + 7, 0x7f)
                            .byte(192 + 9, 0x20)
                            .at(192 + 11, "ABC")
                            .at(192 + 32, "Abc Corporation ")
                            .at(192 + 60, "D")
                            .hex(192 + 64, "70 2a 74 49")
                            .hex(192 + 72, "60 2a 74 49")
                            .at(192 + 126, Le32(20000103))
                            .at(192 + 139, "Abc Corporation International");
  EXPECT_BYTES(emaster, dir.read("EMASTER"));
  EXPECT_TRUE(Shown().empty());
}

TEST_F(TickerNamesTest, LineEndsNeverReachTheName) {
  const char* files[] = {"DEF,Short\r\n", "DEF,Short\n", "DEF,Short", "DEF,Short\r\n\r\n"};
  Format& format = Use(kMetastock);
  ASSERT_EQ(0, addToMaster(File("DEF|Long Old Name Of Twenty|20000103"), Date(), format, *directory));
  for (const char* text : files) {
    SCOPED_TRACE(testing::ToHex(text));
    ASSERT_EQ(0, insertNames(File(text), *directory));
    EXPECT_EQ(Padded("Short", 16, ' '), dir.read("MASTER").substr(53 + 7, 16));
    EXPECT_EQ(Padded("Short", 16), dir.read("EMASTER").substr(192 + 32, 16));
    EXPECT_EQ(std::string(45, '\0'), dir.read("EMASTER").substr(192 + 139, 45));
  }
}

TEST_F(TickerNamesTest, UnknownSymbolsAndShortLinesArePassedOver) {
  Format& format = Use(kMetastock);
  ASSERT_EQ(0, addToMaster(File("ABC|Old|20000103\nDEF|Old|20000103\n"), Date(), format, *directory));
  const std::string before = dir.read("MASTER");
  ASSERT_EQ(0, insertNames(File("XYZ,Nobody\r\nABC\r\nABC,\r\n,Nameless\r\nDEF,New Def, Inc.\r\n"), *directory));
  EXPECT_EQ(before.substr(0, 2 * 53), dir.read("MASTER").substr(0, 2 * 53));  // ABC unchanged
  EXPECT_EQ(Padded("New Def", 16, ' '), dir.read("MASTER").substr(2 * 53 + 7, 16));
  EXPECT_TRUE(Shown().empty());
}

TEST_F(TickerNamesTest, InsertSymbolsAsNamesNamesEachEntryAfterItsSymbol) {
  Format& format = Use(kMetastock);
  ASSERT_EQ(0, addToMaster(File("ABC|Abc Corp|20000103\nDEF|Def Corp|20000103\n"), Date(), format, *directory));
  ASSERT_EQ(0, insertSymbolsAsNames(File("ABC,whatever\r\nDEF\r\n"), *directory));
  auto entries = Entries(kMetastock);
  ASSERT_EQ(2u, entries.size());
  EXPECT_EQ("ABC", entries[0].name);
  EXPECT_EQ("DEF", entries[1].name);
}

TEST_F(TickerNamesTest, ScannedDirectoryShowsTheNewNamesInNameOrder) {
  Format& format = Use(kMetastock);
  ASSERT_EQ(0, addToMaster(File("ABC|Zeta|20000103\nDEF|Alpha|20000103\n"), Date(), format, *directory));
  ASSERT_EQ("Alpha", directory->at(0)->name());
  directory->at(0)->setSelected(false);
  directory->setScanned(true);
  ASSERT_EQ(0, insertNames(File("DEF,Omega Holding Company Limited\n"), *directory));
  ASSERT_EQ(2, directory->size());
  EXPECT_EQ("Zeta", directory->at(1)->name());
  const Datafile* renamed = directory->at(0);
  EXPECT_EQ("DEF", renamed->symbol());
  EXPECT_EQ("Omega Holding Company Limited", renamed->name());
  EXPECT_FALSE(renamed->selected());
  EXPECT_EQ(Date(2000, 1, 3), renamed->firstDate());
}

TEST_F(TickerNamesTest, DirectoryWithoutMasterEndsTheRun) {
  Use(kMetastock);
  EXPECT_EQ(-1, insertNames(File("ABC,Abc\n"), *directory));
  EXPECT_EQ(-1, insertSymbolsAsNames(File("ABC\n"), *directory));
  std::string expected = "No master file found in directory " + dir.path();
  EXPECT_EQ((std::vector<std::string>{expected, expected}), Shown());
  EXPECT_FALSE(dir.exists("MASTER"));
}

TEST_F(TickerNamesTest, DamagedMasterEndsTheRunOnce) {
  Use(kMetastock);
  dir.write("MASTER", "\x01");
  EXPECT_EQ(-1, insertNames(File("ABC,Abc\nDEF,Def\n"), *directory));
  // The driver says what is wrong with the file; the run ends after the first line.
  EXPECT_EQ((std::vector<std::string>{"Masterfile corrupt: " + dir.file("MASTER"),
                                      "Error opening masterfile " + dir.path()}),
            Shown());
}

TEST_F(TickerNamesTest, FileThatCannotBeOpenedIsNamed) {
  Format& format = Use(kMetastock);
  const std::string missing = settings.file("missing.txt");
  EXPECT_EQ(-1, insertNames(missing, *directory));
  EXPECT_EQ(-1, insertSymbolsAsNames(missing, *directory));
  EXPECT_EQ(-1, addToMaster(missing, Date(2000, 1, 3), format, *directory));
  EXPECT_EQ(-1, addSymbols(missing, Date(2000, 1, 3), format, *directory));
  const std::string expected = "Error opening ticker/names file " + missing;
  EXPECT_EQ(std::vector<std::string>(4, expected), Shown());
}

TEST_F(TickerNamesTest, AddToMasterTakesTheLineDateElseTheGivenOne) {
  Format& format = Use(kMetastock);
  ASSERT_EQ(0, addToMaster(File("ABC|Abc Corp|20000103\r\n"
                                "DEF|Def Inc\r\n"
                                "GHI\r\n"
                                "\r\n"
                                "JKL|Jkl Ltd|not a date\r\n"
                                "MNO|Mno|000110\r\n"),
                           Date(2001, 6, 1), format, *directory));
  auto entries = Entries(kMetastock);
  ASSERT_EQ(4u, entries.size());
  struct Expected {
    const char* symbol;
    const char* name;
    Date first;
  } expected[] = {{"ABC", "Abc Corp", Date(2000, 1, 3)},
                  {"DEF", "Def Inc", Date(2001, 6, 1)},
                  {"JKL", "Jkl Ltd", Date(2001, 6, 1)},
                  {"MNO", "Mno", Date(2000, 1, 10)}};
  for (std::size_t i = 0; i < 4; ++i) {
    SCOPED_TRACE(expected[i].symbol);
    EXPECT_EQ(expected[i].symbol, entries[i].symbol);
    EXPECT_EQ(expected[i].name, entries[i].name);
    EXPECT_EQ('D', entries[i].period);
    EXPECT_EQ(expected[i].first, entries[i].firstDate);
    EXPECT_EQ(expected[i].first.addDays(-1).value(), entries[i].lastDate.value());
    const Datafile* datafile = directory->bySymbol(expected[i].symbol);
    ASSERT_NE(nullptr, datafile);
    EXPECT_EQ(expected[i].name, datafile->name());
    EXPECT_EQ(expected[i].first, datafile->firstDate());
    EXPECT_EQ(expected[i].first.addDays(-1).value(), datafile->lastDate().value());
    EXPECT_EQ('D', datafile->per());
    EXPECT_EQ(0, datafile->recordCount());
    EXPECT_TRUE(datafile->selected());
  }
  EXPECT_EQ(4, directory->size());
  EXPECT_TRUE(dir.exists("f4.DAT"));
  EXPECT_TRUE(Shown().empty());
}

TEST_F(TickerNamesTest, AddToMasterWithoutAnyStartDateStopsThere) {
  Format& format = Use(kMetastock);
  EXPECT_EQ(-1, addToMaster(File("ABC|Abc|20000103\nDEF|Def\nGHI|Ghi|20000103\n"), Date(), format, *directory));
  EXPECT_EQ(std::vector<std::string>{"No startdate specified"}, Shown());
  auto entries = Entries(kMetastock);
  ASSERT_EQ(1u, entries.size());
  EXPECT_EQ("ABC", entries[0].symbol);
}

TEST_F(TickerNamesTest, FormatsThatTakeNoInstrumentsAreRefused) {
  const int ids[] = {0, 8, 16};
  for (int id : ids) {
    messages->clear();
    Format& format = Use(id);
    SCOPED_TRACE(format.name());
    EXPECT_EQ(-1, addToMaster(File("ABC|Abc|20000103\n"), Date(2000, 1, 3), format, *directory));
    EXPECT_EQ(-1, addSymbols(File("ABC\n"), Date(2000, 1, 3), format, *directory));
    const std::string expected = "Option not supported for format " + format.name();
    EXPECT_EQ(std::vector<std::string>(2, expected), Shown());
  }
}

TEST_F(TickerNamesTest, AddSymbolsTakesTheFirstWordOfEachLine) {
  Format& format = Use(5);
  ASSERT_EQ(0, addSymbols(File("ABC   \r\n"
                               "  DEF,Def name\n"
                               "GHI|Ghi\n"
                               "JKL\tx\n"
                               "\t \r\n"
                               "MNO\x01\x02\n"),
                          Date(2000, 1, 3), format, *directory));
  auto entries = Entries(5);
  ASSERT_EQ(5u, entries.size());
  const char* symbols[] = {"ABC", "DEF", "GHI", "JKL", "MNO"};
  for (std::size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(symbols[i], entries[i].symbol);
    EXPECT_EQ(symbols[i], entries[i].name);
    EXPECT_TRUE(dir.exists(std::string(symbols[i]) + ".prn"));
  }
  EXPECT_EQ(5, directory->size());
}

TEST_F(TickerNamesTest, AddSymbolsNeedsTheGivenStartDate) {
  Format& format = Use(5);
  EXPECT_EQ(-1, addSymbols(File("ABC|20000103\n"), Date(), format, *directory));
  EXPECT_EQ(std::vector<std::string>{"No startdate specified"}, Shown());
  EXPECT_TRUE(Entries(5).empty());
}

TEST_F(TickerNamesTest, InstrumentsAlreadyThereAreLeftAlone) {
  Format& format = Use(kMetastock);
  ASSERT_EQ(0, addToMaster(File("ABC|Abc|20000103\n"), Date(), format, *directory));
  const std::string master = dir.read("MASTER");
  ASSERT_EQ(0, addToMaster(File("ABC|Other name|20050101\n"), Date(), format, *directory));
  ASSERT_EQ(0, addSymbols(File("ABC\n"), Date(2005, 1, 1), format, *directory));
  EXPECT_EQ(master, dir.read("MASTER"));
  EXPECT_EQ(1, directory->size());
  EXPECT_TRUE(Shown().empty());
}

TEST_F(TickerNamesTest, SymbolsThatNameNoFileLeaveNoEntryBehind) {
  Format& format = Use(5);
  ASSERT_EQ(0, addToMaster(File("../X|Escape|20000103\nA/B|Slash|20000103\nOK|Fine|20000103\n"), Date(), format,
                           *directory));
  auto entries = Entries(5);
  ASSERT_EQ(1u, entries.size());
  EXPECT_EQ("OK", entries[0].symbol);
  EXPECT_EQ(1, directory->size());
  EXPECT_FALSE(settings.exists("X.prn"));
  // Each is named, as adding an instrument by hand names it.
  EXPECT_EQ((std::vector<std::string>{"Cannot add datafile ../X", "Cannot add datafile A/B"}), Shown());
  messages->clear();
  ASSERT_EQ(0, addSymbols(File("EUR/USD\nOK2\n"), Date(2000, 1, 3), format, *directory));
  EXPECT_EQ(std::vector<std::string>{"Cannot add datafile EUR/USD"}, Shown());
  EXPECT_EQ(2u, Entries(5).size());
}

TEST_F(TickerNamesTest, IntradayEntriesGetAnIntervalTheirFormatAccepts) {
  Format& format = Use(20);
  ASSERT_EQ(0, addToMaster(File("ABC|Abc|20000103\n"), Date(), format, *directory));
  // Run again: the entry is found, so no second one is made.
  ASSERT_EQ(0, addToMaster(File("ABC|Abc|20000103\n"), Date(), format, *directory));
  auto entries = Entries(20);
  ASSERT_EQ(1u, entries.size());
  EXPECT_EQ('I', entries[0].period);
  EXPECT_EQ(15, entries[0].interval);
  ASSERT_EQ(1, directory->size());
  EXPECT_EQ('I', directory->at(0)->per());
  EXPECT_EQ(15, directory->at(0)->interval());
}

}  // namespace
}  // namespace kvqt
