// Damaged MetaStock directories: every operation fails with its message, no
// crash or endless loop, and nothing in the directory changes.
#include <dirent.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "app/core/messages.h"
#include "byte_builder.h"
#include "format_test_util.h"
#include "formats/file_locator.h"
#include "formats/format_driver.h"
#include "support/hex.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

using testing::Bytes;
using testing::Le16;
using testing::Padded;
using testing::TempDir;

// One good daily MASTER record for file `number`.
std::string MasterRecord(int number, const std::string& symbol) {
  return Bytes(53)
      .byte(0, number)
      .hex(1, "65 00 1c 07")
      .at(7, Padded(symbol, 16, ' '))
      .at(33, "D")
      .at(36, Padded(symbol, 16, ' '));
}

std::map<std::string, std::string> Snapshot(const std::string& dir) {
  std::map<std::string, std::string> files;
  DIR* d = ::opendir(dir.c_str());
  while (struct dirent* e = ::readdir(d)) {
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    struct stat st;
    std::string path = dir + name;
    ::stat(path.c_str(), &st);
    files[name] = S_ISDIR(st.st_mode) ? "<dir>" : testing::ReadFileBytes(path);
  }
  ::closedir(d);
  return files;
}

struct DamageCase {
  const char* what;
  std::map<std::string, std::string> files;
  const char* message;  // the start of the message shown
};

std::vector<DamageCase> DamageCases() {
  std::string good = Bytes(53).hex(0, "01 00 01 00").str() + MasterRecord(1, "AAA");
  std::string emaster = Bytes(2 * 192).hex(0, "01 00 01 00");
  return {
      {"MASTER shorter than its header", {{"MASTER", std::string(10, '\0')}}, "Masterfile corrupt:"},
      {"MASTER count past its end", {{"MASTER", Bytes(53).hex(0, "05 00 05 00").str() + MasterRecord(1, "AAA")}},
       "Masterfile corrupt:"},
      {"MASTER count above 255",
       {{"MASTER", Bytes(53).hex(0, "2c 01 01 00").str() + std::string(300 * 53, '\0')}}, "Masterfile corrupt:"},
      {"EMASTER shorter than its header", {{"MASTER", good}, {"EMASTER", std::string(100, '\0')}},
       "Masterfile corrupt:"},
      {"EMASTER without the record of a MASTER entry",
       {{"MASTER", good}, {"EMASTER", Bytes(192).hex(0, "01 00 01 00").str()}}, "Masterfile corrupt:"},
      {"XMASTER shorter than its header", {{"MASTER", good}, {"EMASTER", emaster}, {"XMASTER", std::string(50, 'x')}},
       "Masterfile corrupt:"},
      {"XMASTER count past its end",
       {{"MASTER", good}, {"EMASTER", emaster}, {"XMASTER", Bytes(150).at(10, Le16(3)).str()}},
       "Masterfile corrupt:"},
      {"EMASTER without MASTER", {{"EMASTER", emaster}}, "Masterfile missing:"},
      {"XMASTER without MASTER", {{"XMASTER", Bytes(150).str()}}, "Masterfile missing:"},
  };
}

TEST(MetaStockDamageTest, DamagedMastersAreNeverWritten) {
  for (const DamageCase& c : DamageCases()) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    ScopedMessages messages;
    for (const auto& [name, bytes] : c.files) dir.write(name, bytes);
    auto before = Snapshot(dir.path());

    DatafileEntry entry;
    EXPECT_EQ(-1, AddEntry("NEW", "New", 'D', entry, 4, dir.path()));
    EXPECT_EQ(-1, CreateEntry("NEW2", "", 0, entry, 4, dir.path()));
    EXPECT_EQ(-1, RenameEntry("AAA", "BBB", "", 4, dir.path()));
    EXPECT_EQ(-1, DeleteEntry("AAA", entry, 4, dir.path()));
    EXPECT_TRUE(testing::ScanAll(dir.path(), 4).empty());

    EXPECT_EQ(before, Snapshot(dir.path()));
    ASSERT_FALSE(messages->shown().empty());
    EXPECT_EQ(0u, messages->shown()[0].text.rfind(c.message, 0)) << messages->shown()[0].text;
  }
}

TEST(MetaStockDamageTest, MasterThatCannotBeOpenedIsNotReplaced) {
  TempDir dir;
  ScopedMessages messages;
  ASSERT_EQ(0, ::mkdir(dir.file("MASTER").c_str(), 0755));
  DatafileEntry entry;
  EXPECT_EQ(-1, CreateEntry("NEW", "", 0, entry, 4, dir.path()));
  EXPECT_FALSE(dir.exists("EMASTER"));
  EXPECT_FALSE(dir.exists("f1.DAT"));
  ASSERT_FALSE(messages->shown().empty());
  EXPECT_EQ("Error opening masterfile " + dir.file("MASTER"), messages->shown()[0].text);
}

TEST(MetaStockDamageTest, ShortDataFileHeaderIsReportedAndTheScanGoesOn) {
  TempDir dir;
  ScopedMessages messages;
  dir.write("MASTER", Bytes(53).hex(0, "02 00 02 00").str() + MasterRecord(1, "AAA") + MasterRecord(2, "BBB"));
  dir.write("F1.DAT", std::string(10, '\0'));  // 7 fields need a 28-byte header

  MasterHandles masters;
  ASSERT_EQ(0, OpenMaster(masters, 4, dir.path()));
  DatafileEntry entry;
  EXPECT_EQ(-1, ScanEntries(masters, 4, entry, "", kScanReadHeader, dir.path()));
  ASSERT_EQ(1u, messages->shown().size());
  EXPECT_EQ("Datafile corrupt: AAA (1)", messages->shown()[0].text);
  // The next entry, whose data file does not exist yet: counts 0.
  ASSERT_EQ(0, ScanEntries(masters, 4, entry, "", kScanReadHeader | kScanContinue, dir.path()));
  EXPECT_EQ("BBB", entry.symbol);
  EXPECT_EQ(0, entry.recordCount);
  EXPECT_EQ(-1, ScanEntries(masters, 4, entry, "", kScanReadHeader | kScanContinue, dir.path()));
  CloseMaster(masters);

  // Appending to the damaged file is refused the same way; the file stays as it was.
  ASSERT_EQ(0, FindEntry("AAA", entry, 4, dir.path()));
  DatafileHandle handle;
  EXPECT_EQ(-1, OpenDatafile(entry, handle, 4, OpenMode::kAppend, dir.path()));
  EXPECT_EQ(std::string(10, '\0'), dir.read("F1.DAT"));
}

TEST(MetaStockDamageTest, HeaderCountBeyondTheFileIsNotTrusted) {
  TempDir dir;
  ScopedMessages messages;
  dir.write("MASTER", Bytes(53).hex(0, "01 00 01 00").str() + MasterRecord(1, "AAA"));
  // The header claims 200 records; the file holds the header and one record.
  dir.write("F1.DAT", Bytes(56).hex(0, "00 00 c8 00").hex(28, "70 2a 74 94"));
  DatafileEntry entry;
  ASSERT_EQ(0, FindEntry("AAA", entry, 4, dir.path()));
  ASSERT_EQ(0, testing::AppendRecords(dir.path(), 4, entry, {testing::Daily(Date(2000, 1, 4), 1, 2, 1, 2, 3)}));
  // Written right after the last whole record, not 200 records further.
  EXPECT_EQ(84u, dir.read("F1.DAT").size());
  EXPECT_EQ(testing::Hex("00 00 03 00"), dir.read("F1.DAT").substr(0, 4));
}

TEST(MetaStockDamageTest, RandomMasterBytesNeverCrashOrHang) {
  std::mt19937 random(20240607);
  for (int round = 0; round < 300; ++round) {
    TempDir dir;
    ScopedMessages messages;
    auto bytes = [&](std::size_t maxSize) {
      std::string b(random() % maxSize, '\0');
      for (char& c : b) c = static_cast<char>(random() % 4 == 0 ? random() : 0);
      return b;
    };
    std::string master = bytes(600);
    // Often a plausible header, so the records behind it get read too.
    if (master.size() >= 53 && round % 2 == 0) {
      std::size_t count = (master.size() / 53) - 1;
      master[0] = static_cast<char>(count);
      master[1] = 0;
    }
    dir.write("MASTER", master);
    if (round % 3 != 0) dir.write("EMASTER", bytes(2000));
    if (round % 4 == 0) dir.write("XMASTER", bytes(1200));
    for (int n = 0; n < 4; ++n)
      if (random() % 2) dir.write("F" + std::to_string(random() % 256) + ".DAT", bytes(200));

    for (int id : {3, 4, 20}) {
      auto entries = testing::ScanAll(dir.path(), id, kScanReadHeader);
      for (const DatafileEntry& e : entries) testing::ReadAll(dir.path(), id, e);
      DatafileEntry entry;
      FindEntry("AAA", entry, id, dir.path());
      DetectFormat(dir.path(), id);
    }
    DatafileEntry entry;
    if (CreateEntry("NEW", "", 0, entry, 4, dir.path()) == 1)
      testing::AppendRecords(dir.path(), 4, entry, {testing::Daily(Date(2000, 1, 4), 1, 2, 1, 2, 3)});
  }
}

}  // namespace
}  // namespace kvqt
