// Whole download sessions for tests: a program directory made current, a
// chart directory with instruments, the reference server on its own thread
// with the small store, and the session run through the headless step runner
// with short waits.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/core/action_info.h"
#include "app/datafile/login_record.h"
#include "app/datafile/user_info.h"
#include "app/runner/headless_progress.h"
#include "app/core/logs.h"
#include "app/core/messages.h"
#include "app/model/directory.h"
#include "app/model/format.h"
#include "app/model/formats.h"
#include "app/core/personal_profile.h"
#include "formats/directory_refresh.h"
#include "formats/format_driver.h"
#include "maintenance/split_factors.h"
#include "platform/clock.h"
#include "platform/program_dir.h"
#include "server_thread.h"
#include "service/import/result_import.h"
#include "service/session/download_session.h"
#include "service/session/session_options.h"
#include "small_store.h"
#include "support/temp_dir.h"

namespace kvqt::testing {

inline constexpr int kMetaStockId = 4;
inline constexpr int kAsciiId = 5;

inline int g_release_checks = 0;
inline void CountReleaseCheck() { ++g_release_checks; }

// Waits (bounded) until the file exists; for programs the session started.
inline bool AppearsWithin(const std::string& path, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!std::filesystem::exists(path)) {
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

inline SessionOptions ShortSessionOptions() {
  using std::chrono::milliseconds;
  SessionOptions options;
  SessionTimeouts& t = options.timeouts;
  t.connect = milliseconds(1500);
  t.authorization = t.credit = t.creditLine = t.uploadPrompt = milliseconds(1500);
  t.result = milliseconds(1500);
  t.fileName = t.fileSize = t.ack = t.block = milliseconds(1500);
  t.send = milliseconds(1500);
  return options;
}

class DownloadSessionFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    // The program directory lies inside a directory of its own, so that a
    // file written next to it (through "../") would show.
    programDir = outer.path() + "program/";
    std::filesystem::create_directory(programDir);
    setProfilePath(programDir + "kvqt.ini");
    Logs::SetDirectory(programDir);
    previousRefresh = Directory::SetRefreshHook(nullptr);
    previousListFile = Directory::SetListFileHook(nullptr);
    InstallDirectoryRefresh();
    InstallSplitFactorStep();
    previousRelease = SetReleaseCheck(&CountReleaseCheck);
    g_release_checks = 0;
    const char* editor = std::getenv("KVQT_EDITOR");
    if (editor != nullptr) previousEditor = editor;
    hadEditor = editor != nullptr;
    // The message of the day opens with a harmless command that leaves a mark.
    ::setenv("KVQT_EDITOR", "touch motd-opened", 1);
    char cwd[4096];
    ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
    oldCwd = cwd;
    ASSERT_EQ(::chdir(programDir.c_str()), 0);

    store = MakeSmallStore(storeDir.file("store.db"));
    ASSERT_NE(store, nullptr);

    Fresh();
  }

  // Everything as before the first session: the program directory emptied,
  // the record of the run and the connection settings anew.
  void Fresh() {
    action.network.reset();
    action.importState.reset();
    server.reset();
    for (const auto& entry : std::filesystem::directory_iterator(programDir)) {
      std::filesystem::remove_all(entry.path());
    }
    formats.clear();
    g_release_checks = 0;
    userInfo = UserInfo();
    userInfo.connection = 4;
    login = LoginRecord();
    login.userNumber = "demo0vqx";
    login.password = "demopass";
    action = ActionInfo();
    action.formats = &formats;
    action.userInfo = &userInfo;
    action.login = &login;
    options = std::make_shared<SessionOptions>(ShortSessionOptions());
    action.sessionOptions = options;
  }

  void TearDown() override {
    action.network.reset();
    action.importState.reset();
    server.reset();
    (void)!::chdir(oldCwd.c_str());
    if (hadEditor) {
      ::setenv("KVQT_EDITOR", previousEditor.c_str(), 1);
    } else {
      ::unsetenv("KVQT_EDITOR");
    }
    SetReleaseCheck(previousRelease);
    Directory::SetRefreshHook(previousRefresh);
    Directory::SetListFileHook(previousListFile);
    Logs::SetDirectory("");
    setProfilePath(platform::SettingsFilePath());
  }

  // A format with one directory holding the instruments, selected for download.
  Directory& ChartDirectory(int formatId, const std::vector<std::string>& symbols) {
    formats.add(std::make_unique<Format>("F" + std::to_string(formatId), "Format " + std::to_string(formatId),
                                         formatId));
    Format& format = *formats.findById(formatId);
    chartDir = outer.path() + "chart" + std::to_string(++chartDirs) + "/";
    std::filesystem::create_directory(chartDir);
    for (const std::string& symbol : symbols) {
      DatafileEntry entry;
      EXPECT_EQ(1, CreateEntry(symbol, symbol + " Inc", 0, entry, formatId, chartDir)) << symbol;
    }
    format.addDirectory(std::make_unique<Directory>(chartDir, formatId));
    Directory& directory = *format.directoryByName(chartDir);
    action.kind = 0;
    action.type = 1;
    action.sourceFormat = &format;
    action.sourceDirectory = &directory;
    return directory;
  }

  // Starts the server with the faults; the connection setting points at it.
  void StartServer(server::Faults faults = {}) {
    server::ServerOptions serverOptions = TestOptions();
    serverOptions.stall_time = std::chrono::seconds(1);
    serverOptions.faults = std::move(faults);
    server = std::make_unique<ServerThread>(*store, serverOptions);
    ASSERT_TRUE(server->listening());
    userInfo.NetworkDestination = "127.0.0.1 " + std::to_string(server->port());
  }

  int Run() {
    progress = std::make_unique<HeadlessProgress>();
    return progress->run(DownloadSession, action, kDownloadSessionSteps);
  }

  std::vector<std::string> Errors() const { return progress->errors(); }
  std::vector<std::string> Statuses() const { return progress->statusLines(); }
  bool StatusShown(const std::string& text) const {
    for (const std::string& s : progress->statusLines()) {
      if (s == text) return true;
    }
    return false;
  }

  TempDir outer;
  TempDir storeDir;
  std::string programDir;
  std::string chartDir;
  int chartDirs = 0;
  ScopedMessages messages;
  platform::ScopedFixedClock clock{platform::LocalDateTime{2024, 1, 12, 18, 0, 0}};
  std::unique_ptr<server::Store> store;
  std::unique_ptr<ServerThread> server;
  std::shared_ptr<SessionOptions> options;
  Formats formats;
  UserInfo userInfo;
  LoginRecord login;
  ActionInfo action;
  std::unique_ptr<HeadlessProgress> progress;
  std::string oldCwd;
  std::string previousEditor;
  bool hadEditor = false;
  Directory::RefreshHook previousRefresh = nullptr;
  Directory::ListFileHook previousListFile = nullptr;
  ReleaseCheck previousRelease = nullptr;
};

}  // namespace kvqt::testing
