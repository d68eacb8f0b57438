// A date-range import of a local data file killed at many moments: every
// data file then holds its old records or its new ones, and the directory
// takes the next import, which brings every instrument up to date.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "app/core/action_info.h"
#include "app/datafile/login_record.h"
#include "app/datafile/user_info.h"
#include "app/datafile/writer_settings.h"
#include "app/runner/headless_progress.h"
#include "app/core/logs.h"
#include "app/core/messages.h"
#include "app/model/directory.h"
#include "app/model/format.h"
#include "app/core/personal_profile.h"
#include "formats/directory_refresh.h"
#include "formats/format_test_util.h"
#include "formats/merged_records.h"
#include "platform/program_dir.h"
#include "service/import/result_import.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

using testing::TempDir;

constexpr int kInstruments = 12;
constexpr int kStoredDays = 400;
constexpr int kKills = 24;

void NoReleaseCheck() {}

std::string Symbol(int i) { return "S" + std::to_string(100 + i); }

Date Day(int n) { return Date(1995, 1, 1).addDays(n); }

// What a reader sees of one instrument: dates, closes and volumes.
struct Seen {
  std::vector<std::int32_t> dates;
  std::vector<float> closes, volumes;
  bool operator==(const Seen&) const = default;
};

Seen Read(const std::string& dir, int formatId, const std::string& symbol) {
  Seen seen;
  DatafileEntry entry;
  if (FindEntry(symbol, entry, formatId, dir, kScanReadHeader) != 0) return seen;
  for (const PriceRecord& r : testing::ReadAll(dir, formatId, entry)) {
    seen.dates.push_back(r.date.value());
    seen.closes.push_back(r.close);
    seen.volumes.push_back(r.volume);
  }
  return seen;
}

// The format id, and the days each data file holds before the import: 400,
// or none (instruments just added, whose data files are filled in place).
class MergeInterruptionTest : public ::testing::TestWithParam<std::tuple<int, int>> {
 protected:
  void SetUp() override {
    saved_ = writerSettings();
    writerSettings().technicalInvestorFileType = 257;
    writerSettings().technicalInvestorMaxRecords = 2000;
    setProfilePath(home.file("kvqt.ini"));
    Logs::SetDirectory(home.path());
    previousRefresh = Directory::SetRefreshHook(nullptr);
    InstallDirectoryRefresh();
    previousRelease = SetReleaseCheck(&NoReleaseCheck);
    login.sessionDate = Date(2004, 1, 6);
    action.userInfo = &userInfo;
    action.login = &login;
    MakeFixture();
  }
  void TearDown() override {
    SetReleaseCheck(previousRelease);
    Directory::SetRefreshHook(previousRefresh);
    Logs::SetDirectory("");
    setProfilePath(platform::SettingsFilePath());
    writerSettings() = saved_;
  }

  int formatId() const { return std::get<0>(GetParam()); }
  int storedDays() const { return std::get<1>(GetParam()); }

  // Stored days 0 to 399 (or none) for every instrument; the local file
  // brings days 200 to 599 with other prices, so every data file is rewritten.
  void MakeFixture() {
    std::string lines;
    for (int i = 0; i < kInstruments; ++i) {
      DatafileEntry entry;
      ASSERT_EQ(1, CreateEntry(Symbol(i), "Instrument", 0, entry, formatId(), fixture.path()));
      std::vector<PriceRecord> days;
      for (int d = 0; d < storedDays(); ++d) days.push_back(testing::Daily(Day(d), 1, 2, 1, 1.5f + d, 100 + d));
      ASSERT_EQ(0, testing::AppendRecords(fixture.path(), formatId(), entry, days));
      for (int d = kStoredDays / 2; d < kStoredDays + kStoredDays / 2; ++d) {
        char line[128];
        std::snprintf(line, sizeof line, "%s,%d,%d,%d.0625\r\n", Symbol(i).c_str(), Day(d).value(), 7000 + d, d);
        lines += line;
      }
    }
    home.write("local.txt", lines);
    for (int i = 0; i < kInstruments; ++i) before.push_back(Read(fixture.path(), formatId(), Symbol(i)));
  }

  // A fresh copy of the fixture as the directory `dir`.
  void CopyFixture(const TempDir& dir) {
    std::filesystem::copy(fixture.path(), dir.path(),
                          std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
  }

  int Import(const TempDir& dir) {
    Format format("F", "Format", formatId());
    format.addDirectory(std::make_unique<Directory>(dir.path(), formatId()));
    action.kind = 8;
    action.type = 2;
    action.localDataFile = home.file("local.txt");
    action.sourceFormat = &format;
    action.sourceDirectory = format.directoryByName(dir.path());
    HeadlessProgress progress;
    int rc = progress.run(actionPostDatafile, action, 2);
    action.importState.reset();
    return rc;
  }

  TempDir home, fixture;
  ScopedMessages messages;
  UserInfo userInfo;
  LoginRecord login;
  ActionInfo action;
  std::vector<Seen> before;
  WriterSettings saved_;
  Directory::RefreshHook previousRefresh = nullptr;
  ReleaseCheck previousRelease = nullptr;
};

TEST_P(MergeInterruptionTest, EveryDataFileHoldsItsOldOrItsNewRecords) {
  std::vector<Seen> after;
  {
    TempDir dir;
    CopyFixture(dir);
    ASSERT_EQ(Import(dir), kStepFinished);
    for (int i = 0; i < kInstruments; ++i) {
      after.push_back(Read(dir.path(), formatId(), Symbol(i)));
      const int days = storedDays() > 0 ? kStoredDays + kStoredDays / 2 : kStoredDays;
      ASSERT_EQ(after.back().dates.size(), static_cast<std::size_t>(days));
      ASSERT_NE(after.back(), before[static_cast<std::size_t>(i)]);
    }
  }
  // How long an import takes in a child process, from the fork to its end.
  double seconds = 0;
  {
    TempDir dir;
    CopyFixture(dir);
    std::fflush(nullptr);
    auto start = std::chrono::steady_clock::now();
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      (void)!std::freopen("/dev/null", "w", stdout);
      _exit(Import(dir) == kStepFinished ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }

  int oldSeen = 0, newSeen = 0;
  // On a loaded machine an import can run longer than the one timed: then
  // the kills go on, each waiting twice as long, until one falls after it.
  for (int k = 0; k < kKills || (newSeen == 0 && k < kKills + 8); ++k) {
    SCOPED_TRACE(k);
    TempDir dir;
    CopyFixture(dir);
    std::fflush(nullptr);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      (void)!std::freopen("/dev/null", "w", stdout);
      _exit(Import(dir) == kStepFinished ? 0 : 1);
    }
    // From the start of the import to a little past its usual end.
    double share = k < kKills ? 1.2 * k / (kKills - 1) : 1.2 * (2 << (k - kKills));
    long nanos = static_cast<long>(seconds * 1e9 * share);
    struct timespec wait = {nanos / 1000000000L, nanos % 1000000000L};
    ::nanosleep(&wait, nullptr);
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);

    for (int i = 0; i < kInstruments; ++i) {
      SCOPED_TRACE(Symbol(i));
      Seen seen = Read(dir.path(), formatId(), Symbol(i));
      const bool isOld = seen == before[static_cast<std::size_t>(i)];
      const bool isNew = seen == after[static_cast<std::size_t>(i)];
      EXPECT_TRUE(isOld || isNew) << seen.dates.size() << " records";
      oldSeen += isOld;
      newSeen += isNew;
    }
    // The directory takes the next import, which finishes what was cut short.
    ASSERT_EQ(Import(dir), kStepFinished);
    for (int i = 0; i < kInstruments; ++i)
      EXPECT_EQ(Read(dir.path(), formatId(), Symbol(i)), after[static_cast<std::size_t>(i)]) << Symbol(i);
  }
  // The kills fell before, within and after the import.
  EXPECT_GT(oldSeen, 0);
  EXPECT_GT(newSeen, 0);
}

// MetaStock, ASCII comma delimited, Technical Investor.
INSTANTIATE_TEST_SUITE_P(Formats, MergeInterruptionTest,
                         ::testing::Combine(::testing::Values(4, 5, 0), ::testing::Values(kStoredDays, 0)));

}  // namespace
}  // namespace kvqt
