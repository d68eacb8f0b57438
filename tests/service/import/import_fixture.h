// Imports of hand-written sksdat.dat files through the headless step runner:
// a program directory made current (settings, logs, working directory), the
// directory refresh of the drivers, a session date, and formats with
// directories and instruments made for the test.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "app/core/action_info.h"
#include "app/core/logs.h"
#include "app/core/messages.h"
#include "app/core/personal_profile.h"
#include "app/datafile/login_record.h"
#include "app/datafile/user_info.h"
#include "app/model/directory.h"
#include "app/model/format.h"
#include "app/runner/headless_progress.h"
#include "formats/directory_refresh.h"
#include "formats/format_test_util.h"
#include "platform/program_dir.h"
#include "service/import/result_import.h"
#include "support/temp_dir.h"

namespace kvqt::testing {

class ImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setProfilePath(home.file("kvqt.ini"));
    Logs::SetDirectory(home.path());
    previousRefresh = Directory::SetRefreshHook(nullptr);
    previousListFile = Directory::SetListFileHook(nullptr);
    InstallDirectoryRefresh();
    previousRelease = SetReleaseCheck(&CountReleaseCheck);
    releaseChecks = 0;
    char cwd[4096];
    ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
    oldCwd = cwd;
    ASSERT_EQ(::chdir(home.path().c_str()), 0);
    login.sessionDate = Date(2004, 1, 6);
    action.userInfo = &userInfo;
    action.login = &login;
  }
  void TearDown() override {
    action.importState.reset();
    (void)!::chdir(oldCwd.c_str());
    SetReleaseCheck(previousRelease);
    Directory::SetRefreshHook(previousRefresh);
    Directory::SetListFileHook(previousListFile);
    Logs::SetDirectory("");
    setProfilePath(platform::SettingsFilePath());
  }

  Format& AddFormat(int formatId) {
    formats.push_back(std::make_unique<Format>("F" + std::to_string(formatId), "Format", formatId));
    return *formats.back();
  }
  Directory& AddDirectory(Format& format, const TempDir& dir) {
    format.addDirectory(std::make_unique<Directory>(dir.path(), format.formatId()));
    return *format.directoryByName(dir.path());
  }
  // The instrument in the directory, holding the records; format 21 keeps intraday (5-minute) data.
  void Instrument(const TempDir& dir, int formatId, const std::string& symbol,
                  const std::vector<PriceRecord>& records = {}) {
    DatafileEntry entry;
    ASSERT_EQ(1, CreateEntry(symbol, symbol + " Inc", formatId == 21 ? 5 : 0, entry, formatId, dir.path()));
    if (!records.empty()) {
      ASSERT_EQ(0, AppendRecords(dir.path(), formatId, entry, records));
    }
  }

  // The result file and the import's choices, without running it.
  void Prepare(const std::string& sksdat, int kind, int type, Format& format, Directory* directory) {
    home.write("sksdat.dat", sksdat);
    action.kind = kind;
    action.type = type;
    action.sourceFormat = &format;
    action.sourceDirectory = directory;
  }
  int Import(const std::string& sksdat, int kind, int type, Format& format, Directory* directory) {
    Prepare(sksdat, kind, type, format, directory);
    progress = std::make_unique<HeadlessProgress>();
    return progress->run(actionPostDatafile, action, 2);
  }

  // How often the import asked for a new release of the program.
  static inline int releaseChecks = 0;
  static void CountReleaseCheck() { ++releaseChecks; }

  TempDir home;
  ScopedMessages messages;
  std::vector<std::unique_ptr<Format>> formats;
  UserInfo userInfo;
  LoginRecord login;
  ActionInfo action;
  std::unique_ptr<HeadlessProgress> progress;
  std::string oldCwd;
  Directory::RefreshHook previousRefresh = nullptr;
  Directory::ListFileHook previousListFile = nullptr;
  ReleaseCheck previousRelease = nullptr;
};

}  // namespace kvqt::testing
