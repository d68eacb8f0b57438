// Runs kvqt-config in the test process against a program directory, a settings
// file and a runtime directory of the test's own, and reads back what it saved
// through the program's own reader.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/datafile/program_data_file.h"
#include "app/core/messages.h"
#include "app/model/formats.h"
#include "app/core/personal_profile.h"
#include "kvqt-config/kvqt_config.h"
#include "platform/program_dir.h"
#include "support/temp_dir.h"

namespace kvqt::config {

struct ConfigRun {
  int rc = 0;
  std::string out, err;
};

inline ConfigRun RunConfig(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  ConfigRun run;
  run.rc = RunKvqtConfig(args, out, err);
  run.out = out.str();
  run.err = err.str();
  return run;
}

// What a saved "kvqt.dat" holds, as the program reads it.
struct SavedData {
  int rc = 0;
  UserInfo userInfo;
  Formats formats;
};

class ConfigTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setProfilePath(settings.file("kvqt.ini"));
    // No copy of the program runs in the test's own runtime directory.
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime) savedRuntime = runtime;
    ::setenv("XDG_RUNTIME_DIR", run.path().c_str(), 1);
  }
  void TearDown() override {
    setProfilePath(platform::SettingsFilePath());
    if (savedRuntime) ::setenv("XDG_RUNTIME_DIR", savedRuntime->c_str(), 1);
    else ::unsetenv("XDG_RUNTIME_DIR");
  }

  // kvqt-config --dir HOME followed by the arguments.
  ConfigRun Config(std::vector<std::string> args) {
    args.insert(args.begin(), {"--dir", home.path()});
    return RunConfig(args);
  }

  // Reads "kvqt.dat" of the program directory through the program's reader.
  void ReadSaved(SavedData& saved) {
    saved.rc = ReadProgramDataFile(home.file("kvqt.dat"), DataFileReadOptions(), saved.userInfo, saved.formats);
  }

  testing::TempDir home;
  testing::TempDir settings;
  testing::TempDir run;
  testing::TempDir data;  // chart directories
  ScopedMessages messages;
  std::optional<std::string> savedRuntime;
};

}  // namespace kvqt::config
