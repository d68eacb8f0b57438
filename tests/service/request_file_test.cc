// query.dat as a session uploads it: the header lines by settings and files,
// and the instrument lines read from real chart directories written through
// the format drivers, with the clock pinned.
#include "service/request_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/datafile/login_record.h"
#include "app/core/logs.h"
#include "app/core/messages.h"
#include "app/model/datafile.h"
#include "app/model/directory.h"
#include "app/model/format.h"
#include "app/model/formats.h"
#include "app/model/list.h"
#include "app/core/personal_profile.h"
#include "formats/directory_refresh.h"
#include "formats/driver_table.h"
#include "formats/format_driver.h"
#include "platform/clock.h"
#include "platform/program_dir.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

using testing::TempDir;

// Wednesday 3 March 2004, 10:30.
constexpr platform::LocalDateTime kWednesday{2004, 3, 3, 10, 30, 0};
constexpr const char* kVersionOnly = "VERSION f3.2.4\r\n";

Date D(int yyyymmdd) { return Date::FromValue(yyyymmdd); }

// Every day from `first` to `last`.
std::vector<Date> Days(int first, int last) {
  std::vector<Date> days;
  for (Date d = D(first); d.value() <= last; d = d.addDays(1)) days.push_back(d);
  return days;
}

class RequestFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setProfilePath(work.file("kvqt.ini"));
    previousRefresh = Directory::SetRefreshHook(nullptr);
    previousListFile = Directory::SetListFileHook(nullptr);
    InstallDirectoryRefresh();
    action.formats = &formats;
    action.login = &login;
  }
  void TearDown() override {
    Directory::SetRefreshHook(previousRefresh);
    Directory::SetListFileHook(previousListFile);
    setProfilePath(platform::SettingsFilePath());
  }

  static void Setting(const std::string& key, const std::string& value) { profile().putString(key, value); }
  // The header shrinks to the version line.
  static void VersionOnly() {
    Setting("newversion", "no");
    Setting("sinchanges", "no");
  }

  Format& AddFormat(int id, const std::string& symbol) {
    formats.add(std::make_unique<Format>(symbol, symbol + " format", id));
    return *formats.findBySymbol(symbol);
  }
  static Directory& AddDirectory(Format& format, const std::string& path) {
    format.addDirectory(std::make_unique<Directory>(path, format.formatId()));
    return *format.directoryByName(path);
  }
  static Directory& AddDirectory(List& list, const std::string& path, int mode) {
    list.addDirectory(std::make_unique<Directory>(path, list.formatId()));
    Directory& directory = *list.directoryByName(path);
    directory.setSelectionMode(mode);
    return directory;
  }
  std::string Subdirectory(const std::string& name) {
    std::string path = data.path() + name + "/";
    ::mkdir(path.c_str(), 0755);
    return path;
  }

  // An instrument with one daily record (at 15:30 for intraday ids) on each of
  // `days`; an instrument without records starts on `first`.
  static void Instrument(const std::string& path, int formatId, const std::string& symbol, char period,
                         const std::vector<Date>& days, Date first = Date(), int interval = 0) {
    DatafileEntry entry;
    entry.period = period;
    entry.firstDate = days.empty() ? first : days.front();
    ASSERT_EQ(1, CreateEntry(symbol, symbol + " name", static_cast<std::uint16_t>(interval), entry, formatId, path))
        << symbol;
    if (days.empty()) return;
    DatafileHandle handle;
    ASSERT_EQ(0, OpenDatafile(entry, handle, formatId, OpenMode::kAppend, path));
    for (Date day : days) {
      PriceRecord record;
      record.date = day;
      if (IsIntradayFormatId(formatId)) record.time = Time(15, 30, 0);
      record.open = record.high = record.low = record.close = 10;
      record.volume = 100;
      ASSERT_EQ(0, WriteRecord(entry, handle, record, formatId));
    }
    ASSERT_EQ(0, FinalizeDirectory(entry, handle, formatId, path));
  }

  int Build() { return BuildRequestFile(action, work.file("query.dat")); }
  std::string Query() const { return work.read("query.dat"); }
  std::vector<std::string> Shown() {
    std::vector<std::string> texts;
    for (const auto& shown : messages->shown()) texts.push_back(shown.text);
    return texts;
  }

  TempDir work;  // the program directory
  TempDir data;  // chart directories
  platform::ScopedFixedClock clock{kWednesday};
  ScopedMessages messages;
  Formats formats;
  ActionInfo action;
  LoginRecord login;
  Directory::RefreshHook previousRefresh = nullptr;
  Directory::ListFileHook previousListFile = nullptr;
};

TEST_F(RequestFileTest, HeaderLinesFollowSettingsAndProgramFiles) {
  struct Case {
    const char* what;
    std::vector<std::pair<std::string, std::string>> settings;
    std::vector<std::string> files;
    int flags;
    const char* expected;
  } cases[] = {
      {"first session", {}, {}, 0,
       "VERSION f3.2.4\r\nNEWKVQT f3.2.4\r\nREQUEST 3|17\r\nREQUEST 3|18\r\nREQUEST 3|23\r\nREQUEST 1|2\r\n"
       "FIREREQUEST\r\n"},
      {"no changes asked for", {{"sinchanges", "no"}, {"splitfactors", "no"}}, {}, 0,
       "VERSION f3.2.4\r\nNEWKVQT f3.2.4\r\n"},
      {"a release waiting to be installed", {{"sinchanges", "no"}}, {"_kvqt.exe"}, 0, "VERSION f3.2.4\r\n"},
      {"no new releases", {{"sinchanges", "no"}, {"newversion", "No"}}, {}, 0, "VERSION f3.2.4\r\n"},
      {"changes since a date", {{"newversion", "no"}, {"sinchangesdate", "20040215"}}, {"kvqt.sdb"}, 0,
       "VERSION f3.2.4\r\nREQUEST 3|24|20040215\r\nREQUEST 1|2\r\nFIREREQUEST\r\n"},
      {"changes with options", {{"newversion", "no"}, {"sinchangesdate", "20040215"}, {"optionchanges", "yes"}},
       {"kvqt.sdb"}, 0, "VERSION f3.2.4\r\nREQUEST 3|22|20040215\r\nREQUEST 1|2\r\nFIREREQUEST\r\n"},
      {"changes date of six digits", {{"newversion", "no"}, {"sinchangesdate", "040215"}}, {"kvqt.sdb"}, 0,
       "VERSION f3.2.4\r\nREQUEST 3|24|20040215\r\nREQUEST 1|2\r\nFIREREQUEST\r\n"},
      {"changes since today", {{"newversion", "no"}}, {"kvqt.sdb"}, 0,
       "VERSION f3.2.4\r\nREQUEST 3|24|20040303\r\nREQUEST 1|2\r\nFIREREQUEST\r\n"},
      {"changes date unreadable", {{"newversion", "no"}, {"sinchangesdate", "soon"}}, {"kvqt.sdb"}, 0,
       "VERSION f3.2.4\r\nREQUEST 3|24|0\r\nREQUEST 1|2\r\nFIREREQUEST\r\n"},
      {"split factors from the day after",
       {{"newversion", "no"}, {"sinchanges", "no"}, {"splitfactors", "yes"}, {"splitfactorsdate", "20031231"}},
       {}, 0, "VERSION f3.2.4\r\nREQUEST 3|21|20040101\r\nREQUEST 1|2\r\nFIREREQUEST\r\n"},
      {"split factors since today", {{"newversion", "no"}, {"sinchanges", "no"}, {"splitfactors", "yes"}}, {}, 0,
       "VERSION f3.2.4\r\nREQUEST 3|21|20040304\r\nREQUEST 1|2\r\nFIREREQUEST\r\n"},
      {"both", {{"newversion", "no"}, {"sinchangesdate", "20040215"}, {"splitfactors", "yes"},
                {"splitfactorsdate", "20040229"}},
       {"kvqt.sdb"}, 0,
       "VERSION f3.2.4\r\nREQUEST 3|24|20040215\r\nREQUEST 3|21|20040301\r\nREQUEST 1|2\r\nFIREREQUEST\r\n"},
      {"reload the symbol table", {{"newversion", "no"}, {"sinchanges", "no"}}, {"kvqt.sdb"}, kReloadSymbolsFlag,
       "VERSION f3.2.4\r\nREQUEST 3|17\r\nREQUEST 3|18\r\nREQUEST 3|23\r\nREQUEST 1|2\r\nFIREREQUEST\r\n"},
  };
  for (const Case& c : cases) {
    TempDir own;
    setProfilePath(own.file("kvqt.ini"));
    for (const auto& [key, value] : c.settings) Setting(key, value);
    for (const std::string& file : c.files) own.write(file, "x");
    action.kind = kSelectNothing;
    action.type = kUpdateNormal | c.flags;
    EXPECT_EQ(0, BuildRequestFile(action, own.file("query.dat"))) << c.what;
    EXPECT_EQ(c.expected, own.read("query.dat")) << c.what;
    // Reloading starts the symbol table anew.
    if (c.flags & kReloadSymbolsFlag) {
      EXPECT_FALSE(own.exists("kvqt.sdb"));
    }
  }
  EXPECT_TRUE(Shown().empty());
}

TEST_F(RequestFileTest, TheSessionDateAndTimeAreTodayAndNow) {
  action.kind = kSelectNothing;
  ASSERT_EQ(0, Build());
  EXPECT_EQ(20040303, login.sessionDate.value());
  EXPECT_EQ(103000, login.sessionTime.value());
}

TEST_F(RequestFileTest, DirectoryDownloadAsksForWhatEachMetaStockFileLacks) {
  VersionOnly();
  Format& format = AddFormat(4, "MS");
  Directory& directory = AddDirectory(format, data.path());
  Instrument(data.path(), 4, "DAILY", 'D', Days(20040223, 20040227));
  Instrument(data.path(), 4, "WEEKLY", 'W', {D(20040214), D(20040221)});
  Instrument(data.path(), 4, "UPTODATE", 'W', {D(20040221), D(20040228)});
  Instrument(data.path(), 4, "MONTHLY", 'M', {D(20031231), D(20040131)});
  Instrument(data.path(), 4, "NEW", 'D', {}, D(20040301));
  action.sourceFormat = &format;
  action.sourceDirectory = &directory;
  action.kind = kSelectDirectory;
  action.type = kUpdateNormal;
  ASSERT_EQ(0, Build());
  EXPECT_EQ(std::string(kVersionOnly) +
                "DAILY,20040228,D\r\n"
                "WEEKLY,20040222,20040228,W\r\n"
                "MONTHLY,20040201,20040229,M\r\n"
                "NEW,20040301,D\r\n",
            Query());
  EXPECT_TRUE(Shown().empty());
}

TEST_F(RequestFileTest, WeeksAndMonthsEndByTheClock) {
  VersionOnly();
  Format& format = AddFormat(4, "MS");
  Directory& directory = AddDirectory(format, data.path());
  Instrument(data.path(), 4, "WEEKLY", 'W', {D(20040221), D(20040228)});
  Instrument(data.path(), 4, "MONTHLY", 'M', {D(20040131), D(20040229)});
  action.sourceFormat = &format;
  action.sourceDirectory = &directory;
  action.kind = kSelectDirectory;
  action.type = kUpdateNormal;
  struct Case {
    platform::LocalDateTime now;
    const char* lines;
  } cases[] = {
      {kWednesday, ""},
      {{2004, 3, 6, 12, 0, 0}, "WEEKLY,20040229,20040306,W\r\n"},  // a Saturday ends its own week
      {{2004, 3, 31, 12, 0, 0}, "WEEKLY,20040229,20040327,W\r\nMONTHLY,20040301,20040331,M\r\n"},
  };
  for (const Case& c : cases) {
    clock.clock().Set(c.now);
    ASSERT_EQ(0, Build());
    EXPECT_EQ(std::string(kVersionOnly) + c.lines, Query()) << c.now.day;
  }
}

TEST_F(RequestFileTest, IntradayEntriesAskFromTheirLastBar) {
  VersionOnly();
  Format& format = AddFormat(21, "ASC6I");
  Directory& directory = AddDirectory(format, data.path());
  Instrument(data.path(), 21, "BARS", 'I', {D(20040301), D(20040302)}, Date(), 5);
  action.sourceFormat = &format;
  action.sourceDirectory = &directory;
  action.kind = kSelectDirectory;
  action.type = kUpdateNormal;
  ASSERT_EQ(0, Build());
  EXPECT_EQ(std::string(kVersionOnly) + "BARS,Q,20040302,1530,5\r\n", Query());
}

TEST_F(RequestFileTest, OneSymbolIsComparedWithItsCase) {
  VersionOnly();
  Format& format = AddFormat(4, "MS");
  Directory& directory = AddDirectory(format, data.path());
  Instrument(data.path(), 4, "abc", 'D', Days(20040225, 20040226));
  Instrument(data.path(), 4, "ABC", 'D', Days(20040225, 20040227));
  Instrument(data.path(), 4, "XYZ", 'D', Days(20040225, 20040227));
  action.sourceFormat = &format;
  action.sourceDirectory = &directory;
  action.type = kUpdateNormal;
  struct Case {
    int kind;
    const char* symbol;
    const char* lines;
  } cases[] = {
      {kSelectSymbol, "ABC", "ABC,20040228,D\r\n"},
      {kSelectSymbol, "abc", "abc,20040227,D\r\n"},
      {kSelectSymbol, "Abc", ""},
      {kFileSelectSymbol, "ABC", "ABC,20040105,20040130,D\r\n"},
  };
  for (const Case& c : cases) {
    Datafile selected(c.symbol, "", 4);
    action.datafile = &selected;
    action.kind = c.kind;
    action.startDate = D(20040105);
    action.endDate = D(20040130);
    ASSERT_EQ(0, Build()) << c.symbol;
    EXPECT_EQ(std::string(kVersionOnly) + c.lines, Query()) << c.symbol;
  }
}

TEST_F(RequestFileTest, ListDownloadChangesDirectoryForEachSelectedDirectory) {
  VersionOnly();
  Format& format = AddFormat(4, "MS");
  const std::string a = Subdirectory("a"), b = Subdirectory("b"), c = Subdirectory("c"), d = Subdirectory("d");
  Instrument(a, 4, "A1", 'D', Days(20040225, 20040226));
  Instrument(a, 4, "A2", 'D', Days(20040225, 20040227));
  Instrument(b, 4, "B1", 'D', Days(20040225, 20040226));
  Instrument(b, 4, "B2", 'D', Days(20040225, 20040227));
  Instrument(c, 4, "C1", 'D', Days(20040225, 20040227));
  Instrument(d, 4, "D1", 'D', Days(20040225, 20040227));
  format.addList(std::make_unique<List>("Mine", 4));
  List& list = *format.listByName("Mine");
  AddDirectory(list, a, Directory::kSelectAll);
  // As the program data file brings a stored selection back.
  AddDirectory(list, b, Directory::kSelectStored).add(std::make_unique<Datafile>("B2", "B2 name", 4))->setSelected(true);
  AddDirectory(list, c, Directory::kSelectStored);
  AddDirectory(list, d, Directory::kSelectNone);
  action.sourceFormat = &format;
  action.list = &list;
  action.kind = kSelectList;
  action.type = kUpdateNormal;
  ASSERT_EQ(0, Build());
  EXPECT_EQ(std::string(kVersionOnly) + "CD " + a + "\r\nA1,20040227,D\r\nA2,20040228,D\r\n" +  //
                "CD " + b + "\r\nB2,20040228,D\r\n" +                                        //
                "CD " + c + "\r\n",
            Query());

  // A file download of the list names no directories.
  action.kind = kFileSelectList;
  action.type = kUpdateRealtime;
  action.period = 0;
  ASSERT_EQ(0, Build());
  EXPECT_EQ(std::string(kVersionOnly) + "A1,R\r\nA2,R\r\nB2,R\r\n", Query());
}

TEST_F(RequestFileTest, AKoersbaseListFileSelectsTheListsInstruments) {
  VersionOnly();
  Format& format = AddFormat(6, "KB2");
  Instrument(data.path(), 6, "ABC", 'D', Days(20040225, 20040227));
  Instrument(data.path(), 6, "DEF", 'D', Days(20040225, 20040227));
  Instrument(data.path(), 6, "GHI", 'D', Days(20040225, 20040226));
  // Records of a length byte and twelve characters.
  const std::string listFile = work.file("koersen.lst");
  std::string records;
  records += std::string("\x07", 1) + "abc.KBF" + std::string(5, '\0');
  records += std::string("\x07", 1) + "GHI.kbf" + std::string(5, ' ');
  work.write("koersen.lst", records);
  format.addList(std::make_unique<List>(listFile, 6));
  List& list = *format.listByName(listFile);
  Directory& directory = AddDirectory(list, data.path(), Directory::kSelectAll);
  action.sourceFormat = &format;
  action.list = &list;
  action.kind = kSelectList;
  action.type = kUpdateNormal;
  ASSERT_EQ(0, Build());
  EXPECT_EQ(std::string(kVersionOnly) + "CD " + data.path() + "\r\nABC,20040228\r\nGHI,20040227\r\n", Query());
  EXPECT_EQ(Directory::kSelectStored, directory.selectionMode());

  // Without the file the list's own selection holds.
  std::remove(listFile.c_str());
  directory.setSelectionMode(Directory::kSelectAll);
  ASSERT_EQ(0, Build());
  EXPECT_EQ(std::string(kVersionOnly) + "CD " + data.path() + "\r\nABC,20040228\r\nDEF,20040228\r\nGHI,20040227\r\n",
            Query());
}

TEST_F(RequestFileTest, ReplacingRealtimePricesAsksForTheirDayAgain) {
  VersionOnly();
  Format& format = AddFormat(4, "MS");
  Directory& directory = AddDirectory(format, data.path());
  Instrument(data.path(), 4, "RT", 'D', Days(20040225, 20040303));
  Instrument(data.path(), 4, "FINAL", 'D', Days(20040225, 20040303));
  ASSERT_EQ(1, directory.refresh());
  directory.bySymbol("RT")->setRealtime();
  action.sourceFormat = &format;
  action.sourceDirectory = &directory;
  action.kind = kSelectDirectory;
  struct Case {
    int type;
    const char* lines;
  } cases[] = {
      {kUpdateNormal | kReplaceRealtimeFlag, "RT,20040303,D\r\nFINAL,20040304,D\r\n"},
      {kUpdateNormal, "RT,20040304,D\r\nFINAL,20040304,D\r\n"},
      {kUpdateNormalAndRealtime | kReplaceRealtimeFlag, "RT,R\r\nFINAL,R\r\n"},
  };
  for (const Case& c : cases) {
    action.type = c.type;
    ASSERT_EQ(0, Build());
    EXPECT_EQ(std::string(kVersionOnly) + c.lines, Query()) << c.type;
  }
  // The master itself keeps its dates.
  DatafileEntry entry;
  ASSERT_EQ(0, FindEntry("RT", entry, 4, data.path()));
  EXPECT_EQ(20040303, entry.lastDate.value());

  // A file download never moves dates.
  action.kind = kFileSelectDirectory;
  action.type = kUpdateNormal | kReplaceRealtimeFlag;
  action.startDate = action.endDate = D(20040302);
  action.period = 0;
  ASSERT_EQ(0, Build());
  EXPECT_EQ(std::string(kVersionOnly) + "RT,20040302,20040302,D\r\nFINAL,20040302,20040302,D\r\n", Query());
}

TEST(RefreshCheckTest, OnlyARealtimeDataFileOfTheFormatsDirectoryMovesBack) {
  ScopedMessages messages;
  Format format("HERMES", "Hermes", 17);
  format.addDirectory(std::make_unique<Directory>("/charts/hermes/", 17));
  Directory& directory = *format.directoryByName("/charts/hermes/");
  directory.add(std::make_unique<Datafile>("RT", "", 17))->setRealtime();  // the symbol is its name
  directory.add(std::make_unique<Datafile>("NAMED", "Named one", 17))->setRealtime();
  directory.add(std::make_unique<Datafile>("FINAL", "", 17));
  struct Case {
    const char* symbol;
    const char* name;
    const char* path;
    int last;
  } cases[] = {
      {"RT", "", "/charts/hermes/", 20040302},
      {"RT", "", "/CHARTS/Hermes", 20040302},  // paths compare regardless of case and end
      {"NAMED", "Named one", "/charts/hermes/", 20040302},
      {"NAMED", "Another name", "/charts/hermes/", 20040303},
      {"FINAL", "", "/charts/hermes/", 20040303},
      {"GONE", "", "/charts/hermes/", 20040303},
      {"RT", "", "/charts/other/", 20040303},
  };
  for (const Case& c : cases) {
    DatafileEntry entry;
    entry.symbol = c.symbol;
    entry.name = c.name;
    entry.lastDate = D(20040303);
    RefreshCheck(entry, &format, c.path);
    EXPECT_EQ(c.last, entry.lastDate.value()) << c.symbol << " " << c.path;
  }
  DatafileEntry entry;
  entry.symbol = "RT";
  entry.lastDate = D(20040303);
  RefreshCheck(entry, nullptr, "/charts/hermes/");
  EXPECT_EQ(20040303, entry.lastDate.value());
}

TEST(RefreshCheckTest, MissesGoToTheDebugLog) {
  TempDir logs;
  Logs::SetDirectory(logs.path());
  Logs::SetDebugMode(1);
  Format format("HERMES", "Hermes", 17);
  format.addDirectory(std::make_unique<Directory>("/charts/hermes/", 17));
  DatafileEntry entry;
  entry.symbol = "GONE";
  RefreshCheck(entry, &format, "/charts/hermes/");
  RefreshCheck(entry, &format, "/charts/other/");
  Logs::SetDebugMode(0);
  Logs::SetDirectory("");
  EXPECT_EQ("RefreshCheck: datafile not found: GONE\r\nRefreshCheck: directory of format not found: /charts/other/\r\n",
            logs.read("kvqt.dbg"));
}

TEST_F(RequestFileTest, OrvistaDirectoriesStartANewImportFile) {
  VersionOnly();
  Format& format = AddFormat(16, "ORV2");
  Directory& directory = AddDirectory(format, data.path());
  directory.add(std::make_unique<Datafile>("ORV", "Orvista one", 16))->setDates(D(20040105), D(20040227), 10);
  // Never downloaded: the last "orvista2k_months_new_share" months (48) are asked for.
  directory.add(std::make_unique<Datafile>("NEW", "Orvista two", 16));
  data.write("sksdat.o2k", "30,ORV,20040226,1,2,1,2,100\r\n");
  action.sourceFormat = &format;
  action.sourceDirectory = &directory;
  action.kind = kSelectDirectory;
  action.type = kUpdateNormal;
  ASSERT_EQ(0, Build());
  EXPECT_EQ(std::string(kVersionOnly) + "ORV,20040228\r\nNEW,20000303\r\n", Query());
  EXPECT_FALSE(data.exists("sksdat.o2k"));

  // A file download leaves the import file alone.
  data.write("sksdat.o2k", "x");
  action.kind = kFileSelectDirectory;
  ASSERT_EQ(0, Build());
  EXPECT_TRUE(data.exists("sksdat.o2k"));
}

TEST_F(RequestFileTest, DefinitionFilesAreCopiedWithCrLfLineEnds) {
  VersionOnly();
  const std::string longLine(300, 'L');
  work.write("mine.qry", "AAA,20040101\nBBB,R\r\n" + longLine + "\nCCC,0");
  action.kind = kSelectDefinitionFile;
  action.definitionFile = work.file("mine.qry");
  action.sourceFormat = &AddFormat(5, "ASC");
  ASSERT_EQ(0, Build());
  EXPECT_EQ(std::string(kVersionOnly) + "AAA,20040101\r\nBBB,R\r\n" + longLine + "\r\nCCC,0", Query());

  action.sourceFormat = &AddFormat(18, "PEL");
  ASSERT_EQ(0, Build());
  EXPECT_EQ(std::string(kVersionOnly) + "TYPE=PELTO\r\nAAA,20040101\r\nBBB,R\r\n" + longLine + "\r\nCCC,0", Query());
  EXPECT_TRUE(Shown().empty());

  action.definitionFile = work.file("missing.qry");
  EXPECT_EQ(-1, Build());
  EXPECT_EQ(std::vector<std::string>{"Error opening custom requestfile"}, Shown());
  EXPECT_EQ(std::string(kVersionOnly) + "TYPE=PELTO\r\n", Query());
}

TEST_F(RequestFileTest, AMissingSelectionWritesOnlyTheHeader) {
  VersionOnly();
  Format& format = AddFormat(4, "MS");
  Directory& directory = AddDirectory(format, data.path());
  Instrument(data.path(), 4, "SYM", 'D', Days(20040225, 20040227));
  action.sourceFormat = &format;
  action.type = kUpdateNormal;
  struct Case {
    int kind;
    Directory* directory;
  } cases[] = {
      {kSelectDirectory, nullptr}, {kSelectList, &directory},       {kSelectSymbol, &directory},
      {kFileSelectDirectory, nullptr}, {kFileSelectList, &directory}, {kFileSelectSymbol, &directory},
      {kSelectNothing, &directory}, {9, &directory}, {-1, &directory},
  };
  for (const Case& c : cases) {
    action.kind = c.kind;
    action.sourceDirectory = c.directory;
    EXPECT_EQ(0, Build()) << c.kind;
    EXPECT_EQ(kVersionOnly, Query()) << c.kind;
  }
  EXPECT_TRUE(Shown().empty());
}

TEST_F(RequestFileTest, ALocalImportBuildsNoRequest) {
  action.kind = kSelectLocalImport;
  EXPECT_EQ(0, Build());
  EXPECT_FALSE(work.exists("query.dat"));
  EXPECT_EQ(20040303, login.sessionDate.value());
}

TEST_F(RequestFileTest, AFullDiskIsAFailure) {
  if (::access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
  VersionOnly();
  action.kind = kSelectNothing;
  EXPECT_EQ(-1, BuildRequestFile(action, "/dev/full"));
  EXPECT_EQ(std::vector<std::string>{"Error writing Requestfile"}, Shown());
}

TEST_F(RequestFileTest, FailuresAreShownAndReturned) {
  VersionOnly();
  action.kind = kSelectNothing;
  EXPECT_EQ(-1, BuildRequestFile(action, work.file("absent/query.dat")));
  EXPECT_EQ(std::vector<std::string>{"Error opening Requestfile"}, Shown());
  messages->clear();

  // A MetaStock directory that holds no master yet.
  Format& format = AddFormat(4, "MS");
  Directory& directory = AddDirectory(format, data.path());
  action.sourceFormat = &format;
  action.sourceDirectory = &directory;
  action.kind = kSelectDirectory;
  action.type = kUpdateNormal;
  EXPECT_EQ(-1, Build());
  EXPECT_EQ(std::vector<std::string>{"Can't access Masterfile of directory " + data.path()}, Shown());
  EXPECT_EQ(kVersionOnly, Query());
  messages->clear();

  // A directory whose path would break its "CD" line apart.
  format.addList(std::make_unique<List>("Mine", 4));
  List& list = *format.listByName("Mine");
  const std::string odd = data.path() + "two\nlines/";
  AddDirectory(list, odd, Directory::kSelectAll);
  action.list = &list;
  action.kind = kSelectList;
  EXPECT_EQ(-1, Build());
  EXPECT_EQ(std::vector<std::string>{"Can't access Masterfile of directory " + odd}, Shown());
  EXPECT_EQ(kVersionOnly, Query());
}

}  // namespace
}  // namespace kvqt
