// The result import run through the headless step runner: hand-written
// sksdat.dat files into MetaStock and ASCII directories, read back through
// the format drivers and, for the text files, byte for byte.
#include "service/import/result_import.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "app/core/action_info.h"
#include "app/datafile/login_record.h"
#include "app/datafile/user_info.h"
#include "app/runner/headless_progress.h"
#include "app/core/logs.h"
#include "app/core/messages.h"
#include "app/model/datafile.h"
#include "app/model/directory.h"
#include "app/model/format.h"
#include "app/core/personal_profile.h"
#include "formats/directory_refresh.h"
#include "formats/file_names.h"
#include "formats/format_test_util.h"
#include "platform/program_dir.h"
#include "support/hex.h"
#include "import_fixture.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

using testing::Daily;
using testing::Hex;
using testing::ToHex;
using testing::Intraday;
using testing::TempDir;

struct Expected {
  std::int32_t date;
  float volume, open, high, low, close;
};

class ResultImportTest : public testing::ImportTest {
 protected:
  // Days 1 to n of January 2004 with prices from the day number.
  static std::vector<PriceRecord> Days(int n) {
    std::vector<PriceRecord> records;
    for (int d = 1; d <= n; ++d) records.push_back(Daily(Date(2004, 1, d), d, d + 1, d - 0.5f, d + 0.5f, d * 100));
    return records;
  }

  static DatafileEntry Entry(const TempDir& dir, int formatId, const std::string& symbol) {
    DatafileEntry entry;
    EXPECT_EQ(0, FindEntry(symbol, entry, formatId, dir.path(), kScanReadHeader)) << symbol;
    return entry;
  }
  static std::vector<PriceRecord> Records(const TempDir& dir, int formatId, const std::string& symbol) {
    return testing::ReadAll(dir.path(), formatId, Entry(dir, formatId, symbol));
  }
  static void ExpectRecords(const std::vector<PriceRecord>& records, const std::vector<Expected>& expected) {
    ASSERT_EQ(records.size(), expected.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(records[i].date.value(), expected[i].date);
      EXPECT_FLOAT_EQ(records[i].volume, expected[i].volume);
      EXPECT_FLOAT_EQ(records[i].open, expected[i].open);
      EXPECT_FLOAT_EQ(records[i].high, expected[i].high);
      EXPECT_FLOAT_EQ(records[i].low, expected[i].low);
      EXPECT_FLOAT_EQ(records[i].close, expected[i].close);
    }
  }
};

constexpr int kMetaStock = 4;
constexpr int kAscii = 5;

const char kFirstResult[] =
    "AAA,20040102,1500,10,11,9,10.5\r\n"
    "AAA,20040105,1200,10.5,12,10,11.75\r\n"
    "BBB,20040102,800,11,9,10.5\r\n"
    "BBB,20040105,0,10.5\r\n";

TEST_F(ResultImportTest, NewDirectoriesGetEveryLine) {
  for (int formatId : {kMetaStock, kAscii}) {
    SCOPED_TRACE(formatId);
    TempDir dir;
    Format& format = AddFormat(formatId);
    Directory& directory = AddDirectory(format, dir);
    Instrument(dir, formatId, "AAA");
    Instrument(dir, formatId, "BBB");
    userInfo.lastsessiondate = Date();
    releaseChecks = 0;

    ASSERT_EQ(Import(kFirstResult, 0, 1, format, &directory), kStepFinished);
    EXPECT_TRUE(progress->errors().empty());
    EXPECT_TRUE(messages->shown().empty());
    EXPECT_EQ(userInfo.lastsessiondate.value(), 20040106);
    EXPECT_EQ(releaseChecks, 1);

    ExpectRecords(Records(dir, formatId, "AAA"),
                  {{20040102, 1500, 10, 11, 9, 10.5f}, {20040105, 1200, 10.5f, 12, 10, 11.75f}});
    ExpectRecords(Records(dir, formatId, "BBB"),
                  {{20040102, 800, 0, 11, 9, 10.5f}, {20040105, 0, 10.5f, 10.5f, 10.5f, 10.5f}});
    DatafileEntry aaa = Entry(dir, formatId, "AAA");
    EXPECT_EQ(aaa.firstDate.value(), 20040102);
    EXPECT_EQ(aaa.lastDate.value(), 20040105);
    const Datafile* datafile = directory.bySymbol("AAA");
    ASSERT_NE(datafile, nullptr);
    EXPECT_EQ(datafile->lastDate().value(), 20040105);
    EXPECT_EQ(datafile->recordCount(), 2);
    EXPECT_FALSE(datafile->realtime());

    if (formatId == kAscii) {
      EXPECT_EQ(dir.read("AAA.prn"),
                "040102,10.000,11.000,9.000,10.500,1500\r\n"
                "040105,10.500,12.000,10.000,11.750,1200\r\n");
    } else {
      // The data file's header: no record limit, the count with the header.
      std::string path;
      ASSERT_EQ(0, BuildFileName(aaa, path, formatId, dir.path()));
      EXPECT_EQ(testing::ReadFileBytes(path).substr(0, 4), Hex("00 00 03 00"));
    }
  }
}

TEST_F(ResultImportTest, FirstLineOfTheLastStoredDayReplacesIt) {
  for (int formatId : {kMetaStock, kAscii}) {
    SCOPED_TRACE(formatId);
    TempDir dir;
    Format& format = AddFormat(formatId);
    Directory& directory = AddDirectory(format, dir);
    Instrument(dir, formatId, "AAA");
    Instrument(dir, formatId, "BBB");
    ASSERT_EQ(Import(kFirstResult, 0, 1, format, &directory), kStepFinished);

    // The day of the last stored (real-time) price comes again, final now.
    const char second[] =
        "AAA,20040105,2000,11,12.5,10,12\r\n"
        "AAA,20040106,900,12,13,11.5,12.25\r\n";
    ASSERT_EQ(Import(second, 0, 1 | 0x10, format, &directory), kStepFinished);
    ExpectRecords(Records(dir, formatId, "AAA"), {{20040102, 1500, 10, 11, 9, 10.5f},
                                                  {20040105, 2000, 11, 12.5f, 10, 12},
                                                  {20040106, 900, 12, 13, 11.5f, 12.25f}});
    EXPECT_EQ(action.type, 1);  // the flags are the request's, not the import's
    const Datafile* datafile = directory.bySymbol("AAA");
    EXPECT_EQ(datafile->recordCount(), 3);
    // Its last day is the session's day: a later request asks for it again.
    EXPECT_TRUE(datafile->realtime());
    EXPECT_FALSE(directory.bySymbol("BBB")->realtime());
    if (formatId == kAscii) {
      EXPECT_EQ(dir.read("AAA.prn"),
                "040102,10.000,11.000,9.000,10.500,1500\r\n"
                "040105,11.000,12.500,10.000,12.000,2000\r\n"
                "040106,12.000,13.000,11.500,12.250,900\r\n");
    }
  }
}

TEST_F(ResultImportTest, DateRangeMergesInDateOrder) {
  for (int formatId : {kMetaStock, kAscii}) {
    SCOPED_TRACE(formatId);
    TempDir dir;
    Format& format = AddFormat(formatId);
    Directory& directory = AddDirectory(format, dir);
    Instrument(dir, formatId, "AAA", Days(10));

    const char range[] =
        "AAA,20040105,5000,50,51,49,50.5\r\n"
        "AAA,20040112,1200,12,13,11.5,12.5\r\n";
    ASSERT_EQ(Import(range, 0, 2, format, &directory), kStepFinished);
    std::vector<Expected> expected;
    for (int d = 1; d <= 10; ++d) {
      if (d == 5)
        expected.push_back({20040105, 5000, 50, 51, 49, 50.5f});
      else
        expected.push_back({20040100 + d, d * 100.0f, float(d), d + 1.0f, d - 0.5f, d + 0.5f});
    }
    expected.push_back({20040112, 1200, 12, 13, 11.5f, 12.5f});
    ExpectRecords(Records(dir, formatId, "AAA"), expected);
    EXPECT_EQ(directory.bySymbol("AAA")->recordCount(), 11);
    EXPECT_EQ(directory.bySymbol("AAA")->lastDate().value(), 20040112);
    EXPECT_FALSE(dir.exists("DUMMY.prn"));
  }
}

// A date-range reload rewrites the data file: the stored prices keep their
// bytes and new ones are stored as a normal import stores them, also where
// three decimals cannot hold them.
TEST_F(ResultImportTest, DateRangeKeepsPricesBitForBit) {
  TempDir dir;
  Format& format = AddFormat(kMetaStock);
  Directory& directory = AddDirectory(format, dir);
  std::vector<PriceRecord> stored = Days(4);
  stored[1].close = 10.0625f;
  stored[3].open = 0.0001f;
  Instrument(dir, kMetaStock, "AAA", stored);
  const std::string before = dir.read("f1.DAT");

  home.write("local.txt", "AAA,20040103,300,3.0625,4.5,2.0625,10.0625\r\n");
  action.localDataFile = home.file("local.txt");
  ASSERT_EQ(Import("", 8, 2, format, &directory), kStepFinished);
  const std::string after = dir.read("f1.DAT");
  ASSERT_EQ(after.size(), before.size());
  // Header and days 1 and 2 as they were (day 2 closes at 10.0625: 00 00 21 84).
  EXPECT_EQ(ToHex(after.substr(0, 3 * 28)), ToHex(before.substr(0, 3 * 28)));
  EXPECT_EQ(ToHex(after.substr(2 * 28 + 16, 4)), "00 00 21 84");
  // The new day 3: open 3.0625, high 4.5, low 2.0625, close 10.0625, volume 300.
  EXPECT_EQ(ToHex(after.substr(3 * 28 + 4, 20)), "00 00 44 82 00 00 10 83 00 00 04 82 00 00 21 84 00 00 16 89");
  EXPECT_EQ(ToHex(after.substr(4 * 28)), ToHex(before.substr(4 * 28)));
}

TEST_F(ResultImportTest, IntradayBarsMergeByTimeWithinTheDay) {
  TempDir dir;
  Format& format = AddFormat(21);
  Directory& directory = AddDirectory(format, dir);
  Date day(2004, 1, 5);
  Instrument(dir, 21, "AAA",
             {Intraday(day, Time(9, 0, 0), 1, 1, 1, 1, 10), Intraday(day, Time(9, 5, 0), 2, 2, 2, 2, 20),
              Intraday(day, Time(9, 10, 0), 3, 3, 3, 3, 30)});

  const char range[] =
      "AAA,20040105,0905,25,2.5,2.5,2.5,2.5\r\n"
      "AAA,20040105,0915,40,4,4,4,4\r\n";
  ASSERT_EQ(Import(range, 0, 2, format, &directory), kStepFinished);
  std::vector<PriceRecord> records = Records(dir, 21, "AAA");
  ASSERT_EQ(records.size(), 4u);
  const std::int32_t times[] = {90000, 90500, 91000, 91500};
  const float closes[] = {1, 2.5f, 3, 4};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(records[i].time.value(), times[i]) << i;
    EXPECT_FLOAT_EQ(records[i].close, closes[i]) << i;
  }
}

TEST_F(ResultImportTest, PriceFactorsOfTheDataFiles) {
  TempDir dir;
  Format& format = AddFormat(kMetaStock);
  Directory& directory = AddDirectory(format, dir);
  Instrument(dir, kMetaStock, "HALF");
  Instrument(dir, kMetaStock, "INV");
  ASSERT_GE(directory.refresh(), 0);
  directory.bySymbol("HALF")->setFactor(0.5f);
  directory.bySymbol("INV")->setFactor(-1.0f);

  const char result[] =
      "HALF,20040102,1000,10\r\n"
      "INV,20040102,1000,4\r\n";
  ASSERT_EQ(Import(result, 0, 1, format, &directory), kStepFinished);
  ExpectRecords(Records(dir, kMetaStock, "HALF"), {{20040102, 2000, 5, 5, 5, 5}});
  ExpectRecords(Records(dir, kMetaStock, "INV"), {{20040102, 0.1f, 25, 25, 25, 25}});
}

TEST_F(ResultImportTest, FullMetaStockFileDropsRecordsAndWarnsAtTheEnd) {
  TempDir dir;
  Format& format = AddFormat(kMetaStock);
  Directory& directory = AddDirectory(format, dir);
  Instrument(dir, kMetaStock, "FULL");
  Instrument(dir, kMetaStock, "ROOM");
  // 65535 records with the header, no record limit of its own.
  std::string path;
  ASSERT_EQ(0, BuildFileName(Entry(dir, kMetaStock, "FULL"), path, kMetaStock, dir.path()));
  testing::WriteFileBytes(path, Hex("00 00 ff ff") + std::string(24, '\0'));
  ASSERT_EQ(::truncate(path.c_str(), 65535L * 28), 0);

  const char result[] =
      "FULL,20040102,1000,10\r\n"
      "ROOM,20040102,1000,10\r\n";
  ASSERT_EQ(Import(result, 0, 1, format, &directory), kStepErrorShown);
  ASSERT_EQ(progress->errors().size(), 1u);
  EXPECT_EQ(progress->errors()[0], "Download Session Completed\nWARNING: Some data files are full");
  EXPECT_EQ(testing::ReadFileBytes(path).size(), 65535u * 28);
  ExpectRecords(Records(dir, kMetaStock, "ROOM"), {{20040102, 1000, 10, 10, 10, 10}});
  EXPECT_EQ(releaseChecks, 1);
}

TEST_F(ResultImportTest, MergeThatOverflowsKeepsTheDataFile) {
  TempDir dir;
  Format& format = AddFormat(kMetaStock);
  Directory& directory = AddDirectory(format, dir);
  Instrument(dir, kMetaStock, "AAA", Days(3));
  // A record limit of four with the header: the three stored records fill it.
  std::string path;
  ASSERT_EQ(0, BuildFileName(Entry(dir, kMetaStock, "AAA"), path, kMetaStock, dir.path()));
  std::string bytes = testing::ReadFileBytes(path);
  bytes.replace(0, 2, Hex("04 00"));
  testing::WriteFileBytes(path, bytes);

  ASSERT_EQ(Import("AAA,20040105,100,1\r\n", 0, 2, format, &directory), kStepErrorShown);
  ASSERT_EQ(messages->shown().size(), 1u);
  EXPECT_EQ(messages->shown()[0].text, "Warning: Data file full AAA");
  ASSERT_EQ(progress->errors().size(), 1u);
  EXPECT_EQ(progress->errors()[0], "Download Session Completed\nWARNING: Some data files are full");
  EXPECT_EQ(testing::ReadFileBytes(path), bytes);
  EXPECT_FALSE(dir.exists("DUMMY.prn"));
}

TEST_F(ResultImportTest, ListImportFollowsTheCdLines) {
  TempDir one, two;
  Format& format = AddFormat(kAscii);
  AddDirectory(format, one);
  AddDirectory(format, two);
  Instrument(one, kAscii, "AAA");
  Instrument(one, kAscii, "BBB");
  Instrument(two, kAscii, "AAA");
  Instrument(two, kAscii, "CCC");
  Instrument(two, kAscii, "LONGNAME");

  const std::string result = "CD " + one.path() + "\r\n" +
                             "AAA,20040102,100,1\r\n"
                             "BBB,20040102,200,2\r\n"
                             "CCC,20040102,300,3\r\n" +  // not in this directory
                             "CD " + two.path() + "\r\n" +
                             "AAA,20040102,400,4\r\n"
                             "CCC,20040102,500,5\r\n"
                             "LONGNAMEX,20040102,600,6\r\n";  // no entry has this symbol
  ASSERT_EQ(Import(result, 1, 1, format, nullptr), kStepFinished);
  EXPECT_TRUE(messages->shown().empty());
  EXPECT_TRUE(progress->errors().empty());
  ExpectRecords(Records(one, kAscii, "AAA"), {{20040102, 100, 1, 1, 1, 1}});
  ExpectRecords(Records(one, kAscii, "BBB"), {{20040102, 200, 2, 2, 2, 2}});
  ExpectRecords(Records(two, kAscii, "AAA"), {{20040102, 400, 4, 4, 4, 4}});
  ExpectRecords(Records(two, kAscii, "CCC"), {{20040102, 500, 5, 5, 5, 5}});
  EXPECT_TRUE(Records(two, kAscii, "LONGNAME").empty());
  EXPECT_FALSE(one.exists("CCC.prn"));
}

TEST_F(ResultImportTest, MalformedLinesAreSkipped) {
  TempDir dir;
  Format& format = AddFormat(kMetaStock);
  Directory& directory = AddDirectory(format, dir);
  Instrument(dir, kMetaStock, "AAA");
  // Cut at 255 characters, the rest of this line would read as a line of its own.
  std::string overlong = "AAA,20040107,5,";
  overlong += std::string(255 - overlong.size(), '1') + "AAA,20040108,1,2,3,4,5";

  const std::string result =
      "AAA,20040102,1500,10,11,9,10.5\r\n"
      "AAA,2004010x,1500,10,11,9,10.5\r\n"
      "AAA,,1500,10,11,9,10.5\r\n"
      "AAA,20041301,1500,10,11,9,10.5\r\n"
      "AAA,20040105,15o0,10,11,9,10.5\r\n"
      "AAA,20040105,1500,1O,11,9,10.5\r\n"
      "AAA\r\n" +
      overlong + "\r\n" +
      ",20040105,1,2,3,4,5\r\n"
      "\r\n"
      "AAA,20040106,1600,10,11,9,10.5\r\n";
  ASSERT_EQ(Import(result, 0, 1, format, &directory), kStepFinished);
  EXPECT_TRUE(progress->errors().empty());
  ExpectRecords(Records(dir, kMetaStock, "AAA"),
                {{20040102, 1500, 10, 11, 9, 10.5f}, {20040106, 1600, 10, 11, 9, 10.5f}});
}

TEST_F(ResultImportTest, MergeFileNeverTakesAnInstrumentsPlace) {
  TempDir dir;
  Format& format = AddFormat(kAscii);
  Directory& directory = AddDirectory(format, dir);
  Instrument(dir, kAscii, "DUMMY", Days(2));
  Instrument(dir, kAscii, "AAA", Days(2));
  const std::string dummy = dir.read("DUMMY.prn");

  ASSERT_EQ(Import("AAA,20040103,300,3\r\n", 0, 2, format, &directory), kStepFinished);
  EXPECT_EQ(dir.read("DUMMY.prn"), dummy);
  EXPECT_EQ(Records(dir, kAscii, "AAA").size(), 3u);
  EXPECT_FALSE(dir.exists("DUMMY1.prn"));
}

TEST_F(ResultImportTest, LocalDataFileIsMergedWithoutASession) {
  TempDir dir;
  Format& format = AddFormat(kAscii);
  Directory& directory = AddDirectory(format, dir);
  Instrument(dir, kAscii, "AAA", Days(3));
  home.write("local.txt", "AAA,20040102,999,9\r\nAAA,20040104,444,4\r\n");
  action.localDataFile = home.file("local.txt");

  ASSERT_EQ(Import("", 8, 2, format, &directory), kStepFinished);
  std::vector<PriceRecord> records = Records(dir, kAscii, "AAA");
  ASSERT_EQ(records.size(), 4u);
  EXPECT_FLOAT_EQ(records[1].close, 9);
  EXPECT_EQ(records[3].date.value(), 20040104);
}

TEST_F(ResultImportTest, OrvistaDirectoriesGetImportFilesHandedToTheImporter) {
  TempDir one, two;
  Format& format = AddFormat(16);
  Directory& first = AddDirectory(format, one);
  Directory& second = AddDirectory(format, two);
  first.add(std::make_unique<Datafile>("AAA", "Aaa", 16));
  second.add(std::make_unique<Datafile>("BBB", "Bbb", 16));
  one.write("Market.INI", "[Market]\r\nCode=AEX|Amsterdam\r\n");
  two.write("Market.INI", "[Market]\r\nCode=XETRA\r\n");
  profile().putString("orvista2kpath", home.file("nowhere"));

  const std::string result = "CD " + one.path() + "\r\n" +
                             "AAA,20040102,1500,10,11,9,10.5\r\n"
                             "AAA,20040105,1600,10,11,9,10.75\r\n" +
                             "CD " + two.path() + "\r\n" + "BBB,20040102,700,5\r\n";
  // Whatever the request was, lines are only ever added to an import file.
  ASSERT_EQ(Import(result, 1, 2, format, nullptr), kStepFinished);
  EXPECT_EQ(action.type, 1);
  EXPECT_EQ(one.read("AEX.ORV"),
            "7|AEX|AAA|Aaa||20040102|10.00|11.00|9.00|10.50|1500\r\n"
            "7|AEX|AAA|Aaa||20040105|10.00|11.00|9.00|10.75|1600\r\n");
  EXPECT_EQ(two.read("XETRA.ORV"), "7|XETRA|BBB|Bbb||20040102|5.00|5.00|5.00|5.00|700\r\n");
  // One attempt to start the importer per directory, each reported.
  ASSERT_EQ(messages->shown().size(), 2u);
  EXPECT_EQ(messages->shown()[0].text.rfind("Orvista 2000 Importer not found", 0), 0u);
  EXPECT_EQ(first.bySymbol("AAA")->lastDate().value(), 20040105);
}

TEST_F(ResultImportTest, ErrorsStopTheImport) {
  TempDir dir;
  Format& format = AddFormat(kAscii);
  Directory& directory = AddDirectory(format, dir);
  Instrument(dir, kAscii, "AAA");
  ASSERT_GE(directory.refresh(), 0);
  // In the master but not among the entries the directory was read with.
  Instrument(dir, kAscii, "NEW");

  struct Case {
    int kind;
    std::string result;
    std::string error;
  } cases[] = {
      {1, "CD /no/such/directory/\r\nAAA,20040102,1,1\r\n", "CD command failed"},
      {1, "CD " + dir.path() + std::string(300, 'x') + "\r\n", "CD command failed"},
      {0, "NEW,20040102,1,1\r\n", "Datafile not found NEW"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.error);
    ASSERT_EQ(Import(c.result, c.kind, 1, format, &directory), kStepErrorShown);
    ASSERT_EQ(progress->errors().size(), 1u);
    EXPECT_EQ(progress->errors()[0], c.error);
  }
  EXPECT_TRUE(Records(dir, kAscii, "AAA").empty());

  // A master of another layout is never written into, whichever way it is reached.
  TempDir other;
  Instrument(other, 15, "AAA");
  Directory& unreadable = AddDirectory(format, other);
  for (int kind : {0, 1}) {
    SCOPED_TRACE(kind);
    const std::string result = kind == 1 ? "CD " + other.path() + "\r\n" : std::string("AAA,20040102,1,1\r\n");
    ASSERT_EQ(Import(result, kind, 1, format, &unreadable), kStepErrorShown);
    ASSERT_EQ(progress->errors().size(), 1u);
    EXPECT_EQ(progress->errors()[0], "Can't access Masterfile of directory");
  }
}

TEST_F(ResultImportTest, ADamagedDataFileFailsTheImportAndIsNamed) {
  for (int type : {1, 2}) {
    SCOPED_TRACE(type);
    TempDir dir;
    Format& format = AddFormat(kMetaStock);
    Directory& directory = AddDirectory(format, dir);
    Instrument(dir, kMetaStock, "AAA", Days(2));
    Instrument(dir, kMetaStock, "BBB", Days(2));
    const DatafileEntry bbb = Entry(dir, kMetaStock, "BBB");
    std::string name;
    ASSERT_EQ(BuildFileName(bbb, name, kMetaStock, dir.path()), 0);
    // Cut short of its header.
    ASSERT_EQ(::truncate(name.c_str(), 3), 0);
    ASSERT_EQ(Import("AAA,20040105,100,1\r\nBBB,20040105,100,2\r\nAAA,20040106,100,3\r\n", 0, type, format,
                     &directory),
              kStepErrorShown);
    ASSERT_EQ(progress->errors().size(), 1u);
    EXPECT_EQ(progress->errors()[0], "Datafile corrupt: " + name.substr(0, 80));
    EXPECT_EQ(testing::ReadFileBytes(name).size(), 3u);  // left as it was
    action.importState.reset();
  }
}

TEST_F(ResultImportTest, HowAnImportEnds) {
  TempDir dir;
  Format& format = AddFormat(kAscii);
  Directory& directory = AddDirectory(format, dir);
  Instrument(dir, kAscii, "AAA");

  // With the transcript on screen the user closes the window.
  home.write("sksdat.dat", "AAA,20040102,1,1\r\n");
  action.kind = 0;
  action.type = 1;
  action.sourceFormat = &format;
  action.sourceDirectory = &directory;
  HeadlessProgress details;
  details.setDetailsShown(true);
  EXPECT_EQ(details.run(actionPostDatafile, action, 2), kStepErrorShown);
  ASSERT_EQ(details.errors().size(), 1u);
  EXPECT_EQ(details.errors()[0], "Download Session Completed");
  EXPECT_EQ(details.line2(), "");

  // No result: done, nothing said, nothing recorded.
  userInfo.lastsessiondate = Date();
  releaseChecks = 0;
  ASSERT_EQ(::unlink("sksdat.dat"), 0);
  HeadlessProgress missing;
  EXPECT_EQ(missing.run(actionPostDatafile, action, 2), kStepFinished);
  EXPECT_TRUE(missing.errors().empty());
  EXPECT_TRUE(userInfo.lastsessiondate.isNull());
  EXPECT_EQ(releaseChecks, 0);

  // No format.
  action.sourceFormat = nullptr;
  HeadlessProgress noFormat;
  EXPECT_EQ(noFormat.run(actionPostDatafile, action, 2), kStepFinished);
  ASSERT_EQ(messages->shown().size(), 1u);
  EXPECT_EQ(messages->shown()[0].text, "actionPostDatafile: Illegal format");
}

TEST_F(ResultImportTest, FileDownloadWritesTheExportLines) {
  Format& output = AddFormat(15);
  Format& source = AddFormat(kAscii);
  std::string wide;
  for (int i = 1; i <= 35; ++i) wide += (i > 1 ? "," : "") + std::to_string(i);
  const std::string result =
      "AAA,20040102,1500,10,11,9,10.5\r\n"
      "CD /somewhere/\r\n"
      "AAA,20040102,0930,12.5\r\n" +
      wide + "\r\n";
  action.destinationFormat = &output;
  action.outputFile = home.file("out.txt");
  ASSERT_EQ(Import(result, 3, 1, source, nullptr), kStepFinished);
  EXPECT_EQ(home.read("out.txt"),
            "AAA,20040102,1500,10,11,9,10.5\r\n"
            "AAA,20040102, 09:30,12.5\r\n" +
                wide + "\r\n");
  EXPECT_EQ(userInfo.lastsessiondate.value(), 20040106);
  EXPECT_EQ(releaseChecks, 1);

  action.outputFile = home.file("no/such/dir/out.txt");
  ASSERT_EQ(Import(result, 3, 1, source, nullptr), kStepErrorShown);
  EXPECT_EQ(progress->errors()[0], "Failed to open data file");
}

}  // namespace
}  // namespace kvqt
