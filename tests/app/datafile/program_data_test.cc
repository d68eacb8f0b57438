#include "app/datafile/program_data.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "app/datafile/writer_settings.h"
#include "app/core/logs.h"
#include "app/core/personal_profile.h"
#include "platform/clock.h"
#include "support/hex.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

using kvqt::testing::Le32;
using kvqt::testing::TempDir;
using kvqt::testing::ToHex;

class ProgramDataTest : public ::testing::Test {
 protected:
  ProgramDataTest() : clock_({2024, 3, 15, 14, 30, 5}) {
    setProfilePath(settings_.file("kvqt.ini"));
    previousLogDir_ = Logs::Directory();
    Logs::SetDirectory(dir_.path());
  }
  ~ProgramDataTest() override {
    Logs::SetDebugMode(0);
    Logs::SetDirectory(previousLogDir_);
    ResetWriterSettings();
  }

  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  // A data file of one format with the given id and user info.
  static std::string DataFile(int formatId, const UserInfo& info = {}) {
    Formats formats;
    auto format = std::make_unique<Format>("OLD", "Old format", formatId);
    auto directory = std::make_unique<Directory>("/data/old/", formatId);
    directory->setSelectionMode(Directory::kSelectStored);
    auto entry = std::make_unique<Datafile>("A", "Alpha", formatId, 30);
    entry->setSelected(true);
    directory->add(std::move(entry));
    format->addDirectory(std::move(directory));
    formats.add(std::move(format));
    return EncodeProgramDataFile(info, formats);
  }

  static std::string LoginFile(const char* user, const char* password) {
    LoginRecord record;
    record.userNumber = user;
    record.password = password;
    return std::string(5, '\0') + EncodeLoginRecord(record);
  }

  TempDir dir_;
  TempDir settings_;
  platform::ScopedFixedClock clock_;
  std::string previousLogDir_;
};

TEST_F(ProgramDataTest, FirstStartHasTheDefaultsAndSavesBothFiles) {
  ProgramData data;
  Formats formats;
  EXPECT_EQ(data.load(dir_.path(), formats), 0);
  EXPECT_FALSE(data.loginRecordRead());
  EXPECT_EQ(data.login().userNumber, "");
  EXPECT_EQ(data.login().sessionDate.value(), 20240315);
  EXPECT_EQ(data.login().sessionTime.value(), 143005);
  EXPECT_EQ(data.userInfo().savft, "1D");
  EXPECT_EQ(formats.count(), 16);
  EXPECT_EQ(formats.current()->symbol(), "ASC");
  EXPECT_EQ(writerSettings(), WriterSettings{});

  data.login().userNumber = "12345";
  data.login().password = "abc";
  EXPECT_EQ(data.save(dir_.path(), formats), 0);
  EXPECT_EQ(Files(), (std::vector<std::string>{"kvqt.dat", "kvqt.prs"}));
  std::string prs = dir_.read("kvqt.prs");
  ASSERT_EQ(prs.size(), 89u);
  EXPECT_EQ(ToHex(prs.substr(14, 4)), "93 95 97 00");
  EXPECT_EQ(prs.substr(5 + 26, 8), Le32(20240315) + Le32(143005));
  struct stat st;
  ASSERT_EQ(::stat(dir_.file("kvqt.prs").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  EXPECT_EQ(ToHex(dir_.read("kvqt.dat")), ToHex(EncodeProgramDataFile(UserInfo{}, formats)));
}

TEST_F(ProgramDataTest, LoadThenSaveChangesNothing) {
  UserInfo info;
  info.savft = "AD";
  info.ddir = "/home/u/dl/";
  dir_.write("kvqt.dat", DataFile(13, info));
  dir_.write("kvqt.prs", LoginFile("12345", "secret"));

  ProgramData first;
  Formats formats;
  ASSERT_EQ(first.load(dir_.path(), formats), 0);
  EXPECT_TRUE(first.loginRecordRead());
  EXPECT_EQ(first.login().password, "secret");
  ASSERT_EQ(first.save(dir_.path(), formats), 0);
  std::string dat = dir_.read("kvqt.dat");
  std::string prs = dir_.read("kvqt.prs");

  ProgramData second;
  Formats again;
  ASSERT_EQ(second.load(dir_.path(), again), 0);
  ASSERT_EQ(second.save(dir_.path(), again), 0);
  EXPECT_EQ(ToHex(dir_.read("kvqt.dat")), ToHex(dat));
  EXPECT_EQ(ToHex(dir_.read("kvqt.prs")), ToHex(prs));
  EXPECT_EQ(again.count(), 17);
  EXPECT_EQ(again.findBySymbol("OLD")->directoryAt(0)->size(), 1);
  EXPECT_EQ(second.userInfo().ddir, "/home/u/dl/");
}

TEST_F(ProgramDataTest, WriterSettingsComeFromTheUserInfo) {
  UserInfo info;
  info.savft = "AD";
  info.savmr = 100;
  info.tpvft = "3";
  dir_.write("kvqt.dat", DataFile(13, info));
  writerSettings().topVestMaxRecords = 1;
  ProgramData data;
  Formats formats;
  data.load(dir_.path(), formats);
  EXPECT_EQ(writerSettings().technicalInvestorFileType, 266);
  EXPECT_EQ(writerSettings().technicalInvestorMaxRecords, 100);
  EXPECT_EQ(writerSettings().topVestFileType, 3);
  EXPECT_EQ(writerSettings().topVestMaxRecords, 4000);
}

TEST_F(ProgramDataTest, PredecessorFilesAreCopiedOnceAndItsOwnFormatsDropped) {
  dir_.write("personal.dat", LoginFile("777", "pw"));
  dir_.write("korv.dat", DataFile(12));
  ProgramData data;
  Formats formats;
  ASSERT_EQ(data.load(dir_.path(), formats), 0);
  EXPECT_TRUE(data.importedPredecessor());
  EXPECT_TRUE(data.loginRecordRead());
  EXPECT_EQ(data.login().userNumber, "777");
  EXPECT_EQ(formats.findBySymbol("OLD"), nullptr);
  EXPECT_EQ(formats.count(), 16);
  EXPECT_EQ(dir_.read("kvqt.prs"), dir_.read("personal.dat"));
  EXPECT_EQ(ToHex(dir_.read("kvqt.dat")), ToHex(EncodeProgramDataFile(data.userInfo(), formats)));

  // The next start reads the program's own files and keeps what is in them.
  dir_.write("kvqt.dat", DataFile(12));
  dir_.write("korv.dat", "ignored");
  ProgramData next;
  Formats again;
  ASSERT_EQ(next.load(dir_.path(), again), 0);
  EXPECT_FALSE(next.importedPredecessor());
  EXPECT_NE(again.findBySymbol("OLD"), nullptr);
}

// A first run that never saves (no display, a refused change) leaves the
// program's own files as they must be read later: the data file converted,
// the login file private.
TEST_F(ProgramDataTest, PredecessorFilesAreTakenOverAsTheProgramsOwnWithoutASave) {
  dir_.write("personal.dat", LoginFile("777", "pw"));
  ::chmod(dir_.file("personal.dat").c_str(), 0644);
  dir_.write("korv.dat", DataFile(12));
  {
    ProgramData data;
    Formats formats;
    ASSERT_EQ(data.load(dir_.path(), formats), 0);
  }
  struct stat st;
  ASSERT_EQ(::stat(dir_.file("kvqt.prs").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);

  ProgramData next;
  Formats again;
  ASSERT_EQ(next.load(dir_.path(), again), 0);
  EXPECT_FALSE(next.importedPredecessor());
  EXPECT_EQ(again.findBySymbol("OLD"), nullptr);
  EXPECT_EQ(again.count(), 16);
  EXPECT_EQ(next.login().userNumber, "777");
}

TEST_F(ProgramDataTest, OwnFilesAreFoundRegardlessOfCase) {
  dir_.write("KVQT.DAT", DataFile(13));
  dir_.write("Kvqt.Prs", LoginFile("1", "p"));
  ProgramData data;
  Formats formats;
  ASSERT_EQ(data.load(dir_.path(), formats), 0);
  EXPECT_TRUE(data.loginRecordRead());
  EXPECT_NE(formats.findBySymbol("OLD"), nullptr);
  ASSERT_EQ(data.save(dir_.path(), formats), 0);
  EXPECT_EQ(Files(), (std::vector<std::string>{"KVQT.DAT", "Kvqt.Prs"}));
}

TEST_F(ProgramDataTest, TheDataFileNameComesFromTheSettings) {
  settings_.write("kvqt.ini", "[configure]\nprogramdatafile=mine.dat\n");
  dir_.write("mine.dat", DataFile(13));
  ProgramData data;
  Formats formats;
  ASSERT_EQ(data.load(dir_.path(), formats), 0);
  EXPECT_NE(formats.findBySymbol("OLD"), nullptr);
  ASSERT_EQ(data.save(dir_.path(), formats), 0);
  EXPECT_FALSE(dir_.exists("kvqt.dat"));
  EXPECT_TRUE(dir_.exists("mine.dat"));
}

TEST_F(ProgramDataTest, TooManyFormatsLeavesTheStoredFileAlone) {
  std::string stored = std::string(":") + Le32(257) + Le32(30204) + EncodeUserInfo(UserInfo{}) + Le32(0) + Le32(24) +
                       "whatever follows";
  dir_.write("kvqt.dat", stored);
  dir_.write("sintab.fd", "feed");
  bool imported = false;
  ProgramData data;
  Formats formats;
  EXPECT_EQ(data.load(dir_.path(), formats, [&](const std::string&) {
    imported = true;
    return 0;
  }),
            kTooManyFormats);
  EXPECT_EQ(formats.count(), 0);
  EXPECT_TRUE(data.keepStoredDataFile());
  EXPECT_FALSE(imported);

  EXPECT_EQ(data.save(dir_.path(), formats), 0);
  EXPECT_EQ(dir_.read("kvqt.dat"), stored);
  EXPECT_TRUE(dir_.exists("kvqt.prs"));
}

TEST_F(ProgramDataTest, ADamagedDataFileIsKeptBesideTheNewOne) {
  std::string whole = DataFile(13);
  std::string damaged = whole.substr(0, whole.size() - 3);
  dir_.write("kvqt.dat", damaged);
  ProgramData data;
  Formats formats;
  ASSERT_EQ(data.load(dir_.path(), formats), 0);
  EXPECT_TRUE(data.dataFileDamaged());
  EXPECT_NE(formats.findBySymbol("OLD"), nullptr);
  ASSERT_EQ(data.save(dir_.path(), formats), 0);
  EXPECT_EQ(dir_.read("kvqt.dat.damaged"), damaged);
  EXPECT_EQ(ToHex(dir_.read("kvqt.dat").substr(0, 10)), ToHex(whole.substr(0, 10)));
}

// The damage is told (the text for the user, and the debug log), and every
// damaged file stays: a second, different damage gets a copy of its own, the
// same damaged file met again no further one.
TEST_F(ProgramDataTest, EveryDamageIsToldAndEveryDamagedFileKept) {
  settings_.write("kvqt.ini", "[configure]\ndebugmode=1\n");
  const std::string whole = DataFile(13);
  // Cut inside the last entry's factor, which is where the reading stops.
  const std::string first = whole.substr(0, whole.size() - 1);
  dir_.write("kvqt.dat", first);
  {
    ProgramData data;
    Formats formats;
    ASSERT_EQ(data.load(dir_.path(), formats), 0);
    EXPECT_EQ(data.damagedCopy(), dir_.file("kvqt.dat.damaged"));
    EXPECT_EQ(data.damageReport(), "The program data file " + dir_.file("kvqt.dat") +
                                       " is damaged: it could be read up to byte " + std::to_string(first.size() - 3) +
                                       " of " + std::to_string(first.size()) +
                                       ". Kept: 1 of its 1 formats, 0 lists, 1 directories. The damaged file is "
                                       "kept as " + dir_.file("kvqt.dat.damaged") + ".");
    EXPECT_NE(dir_.read("kvqt.dbg").find(data.damageReport()), std::string::npos);
  }
  // The run ended without a save; the next one meets the same damage.
  {
    ProgramData data;
    Formats formats;
    ASSERT_EQ(data.load(dir_.path(), formats), 0);
    EXPECT_EQ(data.damagedCopy(), dir_.file("kvqt.dat.damaged"));
  }
  const std::string second = whole.substr(0, whole.size() - 2);
  dir_.write("kvqt.dat", second);
  ProgramData data;
  Formats formats;
  ASSERT_EQ(data.load(dir_.path(), formats), 0);
  EXPECT_EQ(data.damagedCopy(), dir_.file("kvqt.dat.damaged.2"));
  ASSERT_EQ(data.save(dir_.path(), formats), 0);
  EXPECT_EQ(dir_.read("kvqt.dat.damaged"), first);
  EXPECT_EQ(dir_.read("kvqt.dat.damaged.2"), second);
  EXPECT_EQ(Files(), (std::vector<std::string>{"kvqt.dat", "kvqt.dat.damaged", "kvqt.dat.damaged.2", "kvqt.dbg",
                                               "kvqt.prs"}));
}

TEST_F(ProgramDataTest, AWholeDataFileHasNoDamageReport) {
  dir_.write("kvqt.dat", DataFile(13));
  ProgramData data;
  Formats formats;
  ASSERT_EQ(data.load(dir_.path(), formats), 0);
  EXPECT_EQ(data.damageReport(), "");
  EXPECT_EQ(data.damagedCopy(), "");
}

TEST_F(ProgramDataTest, TemporaryFilesOfAKilledSaveAreRemovedAtStart) {
  for (const char* name : {"kvqt.dat.Ab3xYz", "kvqt.prs.q1W2e3", "kvqt.dat.fresh1", "kvqt.dat.toolong7", "other.Ab3xYz"})
    dir_.write(name, "left");
  // Older than a minute; "fresh1" was just written, perhaps by a save in progress.
  struct timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
  for (const char* name : {"kvqt.dat.Ab3xYz", "kvqt.prs.q1W2e3", "kvqt.dat.toolong7", "other.Ab3xYz"})
    ::utimensat(AT_FDCWD, dir_.file(name).c_str(), old, 0);
  ProgramData data;
  Formats formats;
  data.load(dir_.path(), formats);
  EXPECT_EQ(Files(), (std::vector<std::string>{"kvqt.dat.fresh1", "kvqt.dat.toolong7", "other.Ab3xYz"}));
}

TEST_F(ProgramDataTest, TheDataFileModeFollowsTheUmaskAndTheLoginFileIsPrivate) {
  for (mode_t mask : {mode_t{077}, mode_t{022}}) {
    const mode_t previous = ::umask(mask);
    ProgramData data;
    Formats formats;
    data.load(dir_.path(), formats);
    const int rc = data.save(dir_.path(), formats);
    ::umask(previous);
    ASSERT_EQ(rc, 0);
    struct stat st;
    ASSERT_EQ(::stat(dir_.file("kvqt.dat").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0666u & ~mask) << mask;
    ASSERT_EQ(::stat(dir_.file("kvqt.prs").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u) << mask;
  }
}

TEST_F(ProgramDataTest, TheSymbolFeedIsDeletedOnlyWhenImported) {
  struct Case {
    const char* label;
    bool withImporter;
    int result;
    bool kept;
  } cases[] = {
      {"imported", true, 0, false},
      {"import failed", true, -1, true},
      {"no importer", false, 0, true},
  };
  for (const Case& c : cases) {
    dir_.write("sintab.fd", "feed");
    std::string seen;
    SymbolFeedImporter importer;
    if (c.withImporter) {
      importer = [&](const std::string& path) {
        seen = path;
        return c.result;
      };
    }
    ProgramData data;
    Formats formats;
    EXPECT_EQ(data.load(dir_.path(), formats, importer), 0) << c.label;
    EXPECT_EQ(dir_.exists("sintab.fd"), c.kept) << c.label;
    EXPECT_EQ(seen, c.withImporter ? dir_.file("sintab.fd") : "") << c.label;
  }
}

TEST_F(ProgramDataTest, DebugModeComesFromTheSettings) {
  settings_.write("kvqt.ini", "[configure]\ndebugmode=1x\n");
  ProgramData data;
  Formats formats;
  data.load(dir_.path(), formats);
  EXPECT_TRUE(Logs::DebugMode());
}

TEST_F(ProgramDataTest, NothingIsSavedWithoutALoad) {
  dir_.write("kvqt.dat", DataFile(13));
  ProgramData data;
  Formats formats;
  EXPECT_EQ(data.save(dir_.path(), formats), -1);
  EXPECT_EQ(dir_.read("kvqt.dat"), DataFile(13));
  EXPECT_FALSE(dir_.exists("kvqt.prs"));
}

TEST_F(ProgramDataTest, AFailedSaveIsReportedAndTheOldFileStays) {
  ProgramData data;
  Formats formats;
  data.load(dir_.path(), formats);
  EXPECT_EQ(data.save(dir_.file("no/such/dir/"), formats), -1);

  // The data file's place is taken by a directory: the login file is still written.
  std::filesystem::create_directory(dir_.file("kvqt.dat"));
  EXPECT_EQ(data.save(dir_.path(), formats), -1);
  EXPECT_TRUE(dir_.exists("kvqt.prs"));
  EXPECT_TRUE(std::filesystem::is_directory(dir_.file("kvqt.dat")));
  EXPECT_EQ(Files(), (std::vector<std::string>{"kvqt.dat", "kvqt.prs"}));
}

}  // namespace
}  // namespace kvqt
