// The Orvista 2000 import: the import file, the market code, the record
// writer, the scan over the Directory's Datafiles and the importer's start.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>

#include "app/core/messages.h"
#include "app/model/directory.h"
#include "app/core/personal_profile.h"
#include "format_test_util.h"
#include "formats/format_driver.h"
#include "formats/orvista_import.h"
#include "platform/clock.h"
#include "platform/program_dir.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

using testing::Daily;
using testing::TempDir;

class OrvistaTest : public ::testing::Test {
 protected:
  void SetUp() override { setProfilePath(settings.file("kvqt.ini")); }
  void TearDown() override { setProfilePath(platform::SettingsFilePath()); }
  std::string d() const { return dir.path(); }

  // Writes records for one instrument the way the result import does.
  void WriteFor(DatafileEntry& entry, const std::vector<PriceRecord>& records) {
    DatafileHandle handle;
    ASSERT_EQ(0, OpenDatafile(entry, handle, 16, OpenMode::kAppend, d()));
    for (const PriceRecord& r : records) ASSERT_EQ(0, WriteRecord(entry, handle, r, 16));
    ASSERT_EQ(0, FinalizeDirectory(entry, handle, 16, d()));
  }

  TempDir dir;
  TempDir settings;
  ScopedMessages messages;
};

TEST_F(OrvistaTest, ImportLineKeepsLettersAndDigitsOfTheSymbol) {
  DatafileEntry entry;
  entry.symbol = "A.B-C";
  entry.name = "Abc, Corp.";
  EXPECT_EQ("7|AEX|ABC|Abc, Corp.||20010303|12.50|13.00|12.00|12.75|1500\r\n",
            OrvistaImportLine("AEX", entry, Daily(Date(2001, 3, 3), 12.5f, 13, 12, 12.75f, 1500)));
  // A bar in a name would shift every field after it.
  entry.name = "Left|Right";
  EXPECT_EQ("7||ABC|Left Right||19991231|0.10|0.25|0.00|1.00|2\r\n",
            OrvistaImportLine("", entry, Daily(Date(1999, 12, 31), 0.1f, 0.25f, 0, 1, 2.4f)));
}

TEST_F(OrvistaTest, MarketCodeComesFromMarketIni) {
  std::string code = "old";
  EXPECT_FALSE(ReadMarketCode(code, d()));
  EXPECT_EQ("", code);
  dir.write("market.ini", "[Market]\r\nCode = AEX|Amsterdam\r\n");
  EXPECT_TRUE(ReadMarketCode(code, d()));
  EXPECT_EQ("AEX", code);
  dir.write("market.ini", "[Market]\r\nCode=" + std::string(100, 'M') + "\r\n");
  EXPECT_TRUE(ReadMarketCode(code, d()));
  EXPECT_EQ(std::string(80, 'M'), code);
}

TEST_F(OrvistaTest, AllInstrumentsOfARunGoIntoOneImportFile) {
  dir.write("Market.INI", "[Market]\r\nCode=AEX|Amsterdam\r\n");
  DatafileEntry a;
  ASSERT_EQ(0, AddEntry("AAA", "Aaa", 'D', a, 16, d()));
  a.recordCount = 7;
  // Out of order: the dates are compared, not taken in turn.
  WriteFor(a, {Daily(Date(2001, 3, 5), 1, 2, 1, 2, 3), Daily(Date(2001, 3, 2), 1, 2, 1, 2, 3),
               Daily(Date(2001, 3, 4), 1, 2, 1, 2, 3)});
  EXPECT_EQ(20010302, a.firstDate.value());
  EXPECT_EQ(20010305, a.lastDate.value());
  EXPECT_EQ(7, a.recordCount);
  DatafileEntry b;
  ASSERT_EQ(0, AddEntry("B.B", "Bbb", 'D', b, 16, d()));
  WriteFor(b, {Daily(Date(2001, 3, 5), 5, 6, 4, 5.5f, 100)});
  EXPECT_EQ(
      "7|AEX|AAA|Aaa||20010305|1.00|2.00|1.00|2.00|3\r\n"
      "7|AEX|AAA|Aaa||20010302|1.00|2.00|1.00|2.00|3\r\n"
      "7|AEX|AAA|Aaa||20010304|1.00|2.00|1.00|2.00|3\r\n"
      "7|AEX|BB|Bbb||20010305|5.00|6.00|4.00|5.50|100\r\n",
      dir.read("sksdat.o2k"));

  // There is nothing to read back.
  DatafileHandle handle;
  EXPECT_EQ(-1, OpenDatafile(a, handle, 16, OpenMode::kRead, d()));
  ClearImportFile(d());
  EXPECT_FALSE(dir.exists("sksdat.o2k"));
}

TEST_F(OrvistaTest, ScanWalksTheDirectorysDatafiles) {
  platform::LocalDateTime now;
  now.year = 2004;
  now.month = 5;
  now.day = 20;
  platform::ScopedFixedClock clock(now);
  Directory directory(d(), 16);
  Datafile* known = directory.add(std::make_unique<Datafile>("KNOWN", "Known One", 16));
  known->setDates(Date(2000, 1, 3), Date(2004, 5, 19), 100);
  Datafile* fresh = directory.add(std::make_unique<Datafile>("FRESH", "Fresh One", 16));
  fresh->setDates(Date(1970, 1, 1), Date(1970, 1, 1), 0);

  MasterHandles masters;
  masters.directoryObject = &directory;
  ASSERT_EQ(0, OpenMaster(masters, 16, d()));
  DatafileEntry entry;
  std::vector<DatafileEntry> entries;
  for (int flags = kScanNoDataFiles; ScanEntries(masters, 16, entry, "", flags, d()) == 0;
       flags = kScanNoDataFiles | kScanContinue)
    entries.push_back(entry);
  ASSERT_EQ(2u, entries.size());
  EXPECT_EQ("FRESH", entries[0].symbol);
  EXPECT_EQ("Fresh One", entries[0].name);
  EXPECT_EQ(fresh, entries[0].datafile);
  // Never downloaded: 48 months and a day back from today.
  EXPECT_EQ(20000519, entries[0].firstDate.value());
  EXPECT_EQ(20000519, entries[0].lastDate.value());
  EXPECT_EQ("KNOWN", entries[1].symbol);
  EXPECT_EQ(20000103, entries[1].firstDate.value());
  EXPECT_EQ(20040519, entries[1].lastDate.value());
  EXPECT_EQ(0, entries[1].recordCount);

  profile().putInt("orvista2k_months_new_share", 6);
  ASSERT_EQ(0, ScanEntries(masters, 16, entry, "FRESH", kScanMatch | kScanNoDataFiles, d()));
  EXPECT_EQ(20031119, entry.lastDate.value());
  // Without kScanNoDataFiles the stored dates stay.
  ASSERT_EQ(0, ScanEntries(masters, 16, entry, "FRESH", kScanMatch, d()));
  EXPECT_EQ(19700101, entry.lastDate.value());
  EXPECT_EQ(-1, ScanEntries(masters, 16, entry, "NONE", kScanMatch, d()));
  CloseMaster(masters);
}

class OrvistaImporterTest : public OrvistaTest {
 protected:
  void SetUp() override {
    OrvistaTest::SetUp();
    profile().putString("orvista2kpath", program.path());
  }
  // An importer that records the file it was started with.
  void InstallImporter(bool executable) {
    ::mkdir(program.file("Tools").c_str(), 0755);
    std::string script = "#!/bin/sh\necho \"$1\" > \"" + program.file("started.txt") + "\"\n";
    testing::WriteFileBytes(program.file("Tools/Ingest2000.exe"), script);
    ::chmod(program.file("Tools/Ingest2000.exe").c_str(), executable ? 0755 : 0644);
  }
  std::string WaitForStart() {
    for (int i = 0; i < 500 && !program.exists("started.txt"); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    for (int i = 0; i < 100 && program.read("started.txt").find('\n') == std::string::npos; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return program.read("started.txt");
  }
  TempDir program;
};

TEST_F(OrvistaImporterTest, WithoutAnImportFileNothingHappens) {
  EXPECT_EQ(0, RunImporter(d()));
  EXPECT_TRUE(messages->shown().empty());
}

TEST_F(OrvistaImporterTest, RenamesTheImportFileAfterTheMarketAndStartsTheImporter) {
  InstallImporter(true);
  dir.write("Market.INI", "[Market]\r\nCode=AEX|Amsterdam\r\n");
  dir.write("sksdat.o2k", "7|AEX|AAA|Aaa||20010305|1.00|2.00|1.00|2.00|3\r\n");
  dir.write("aex.orv", "an earlier import");
  ASSERT_EQ(0, RunImporter(d()));
  EXPECT_FALSE(dir.exists("sksdat.o2k"));
  EXPECT_FALSE(dir.exists("aex.orv"));
  EXPECT_EQ("7|AEX|AAA|Aaa||20010305|1.00|2.00|1.00|2.00|3\r\n", dir.read("AEX.ORV"));
  EXPECT_EQ(d() + "AEX.ORV\n", WaitForStart());
  EXPECT_TRUE(messages->shown().empty());
}

TEST_F(OrvistaImporterTest, ReportsAMissingImporterAndAFailedStart) {
  dir.write("sksdat.o2k", "7|||||20010305|1.00|2.00|1.00|2.00|3\r\n");
  EXPECT_EQ(-1, RunImporter(d()));
  // Without a market code the file is named by the point and ORV alone.
  EXPECT_TRUE(dir.exists(".ORV"));
  ASSERT_EQ(1u, messages->shown().size());
  EXPECT_EQ("Orvista 2000 Importer not found", messages->shown()[0].text.substr(0, 31));

  InstallImporter(false);
  dir.write("sksdat.o2k", "7|||||20010306|1.00|2.00|1.00|2.00|3\r\n");
  messages->clear();
  EXPECT_EQ(-1, RunImporter(d()));
  ASSERT_EQ(1u, messages->shown().size());
  EXPECT_EQ("Check your Orvista 2000 Program Path in Configuration:",
            messages->shown()[0].text.substr(0, 54));
}

TEST_F(OrvistaImporterTest, AProgramFolderWrittenForWindowsIsFoundOnDriveC) {
  // Drive c: is the home directory when there is no Wine prefix.
  const char* home = std::getenv("HOME");
  const std::string oldHome = home ? home : "";
  const char* prefix = std::getenv("WINEPREFIX");
  const std::string oldPrefix = prefix ? prefix : "";
  ::unsetenv("WINEPREFIX");
  std::string parent = program.path();
  parent.pop_back();
  parent = parent.substr(0, parent.rfind('/') + 1);
  ::setenv("HOME", parent.c_str(), 1);
  std::string folder = program.path();
  folder.pop_back();
  folder = folder.substr(folder.rfind('/') + 1);
  profile().putString("orvista2kpath", "c:\\" + folder);

  InstallImporter(true);
  dir.write("sksdat.o2k", "7|AEX|AAA|Aaa||20010305|1.00|2.00|1.00|2.00|3\r\n");
  EXPECT_EQ(0, RunImporter(d()));
  EXPECT_EQ(d() + ".ORV\n", WaitForStart());

  ::setenv("HOME", oldHome.c_str(), 1);
  if (prefix) ::setenv("WINEPREFIX", oldPrefix.c_str(), 1);
}

}  // namespace
}  // namespace kvqt
