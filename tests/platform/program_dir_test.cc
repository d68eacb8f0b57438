#include "platform/program_dir.h"

#include <cstdlib>
#include <gtest/gtest.h>

#include "platform/path.h"
#include "support/temp_dir.h"

namespace kvqt::platform {
namespace {

using kvqt::testing::TempDir;

// Sets environment variables for one test and restores them.
class EnvGuard {
 public:
  void set(const char* name, const char* value) {
    const char* old = std::getenv(name);
    saved_.push_back({name, old ? std::string(old) : std::string(), old != nullptr});
    if (value) ::setenv(name, value, 1);
    else ::unsetenv(name);
  }
  ~EnvGuard() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      if (it->had) ::setenv(it->name.c_str(), it->value.c_str(), 1);
      else ::unsetenv(it->name.c_str());
    }
  }

 private:
  struct Saved {
    std::string name, value;
    bool had;
  };
  std::vector<Saved> saved_;
};

TEST(ProgramDirTest, ChoosesKvqtHomeThenPortableInstallThenXdgDataDir) {
  TempDir dir;
  EnvGuard env;
  env.set("XDG_DATA_HOME", dir.file("data").c_str());
  env.set("KVQT_HOME", dir.file("home").c_str());
  const std::string exe = dir.file("bin/kvqt");
  MakeDirectories(dir.file("bin"));

  EXPECT_EQ(ResolveProgramDirectory(exe), dir.file("home/"));
  EXPECT_TRUE(DirectoryExists(dir.file("home")));

  env.set("KVQT_HOME", nullptr);
  EXPECT_EQ(ResolveProgramDirectory(exe), dir.file("data/kvqt/"));
  EXPECT_TRUE(DirectoryExists(dir.file("data/kvqt")));

  dir.write("bin/KVQT.DAT", "x");  // a portable install, found regardless of case
  EXPECT_EQ(ResolveProgramDirectory(exe), dir.file("bin/"));
}

TEST(ProgramDirTest, SettingsFileFollowsXdgConfigHome) {
  EnvGuard env;
  env.set("XDG_CONFIG_HOME", "/tmp/cfg");
  EXPECT_EQ(SettingsFilePath(), "/tmp/cfg/kvqt/kvqt.ini");
  env.set("XDG_CONFIG_HOME", nullptr);
  env.set("HOME", "/home/u");
  EXPECT_EQ(SettingsFilePath(), "/home/u/.config/kvqt/kvqt.ini");
}

}  // namespace
}  // namespace kvqt::platform
