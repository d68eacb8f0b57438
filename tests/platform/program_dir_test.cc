#include "platform/program_dir.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <gtest/gtest.h>

#include "platform/absolute_path.h"
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

// The temporary directory as the kernel names it (getcwd resolves links).
std::string CurrentDirectoryOf(const TempDir& dir) {
  const std::string start = CurrentDirectory();
  if (::chdir(dir.path().c_str()) != 0) return "";
  std::string here = CurrentDirectory();
  if (::chdir(start.c_str()) != 0) return "";
  return here;
}

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

TEST(ProgramDirTest, RelativeKvqtHomeIsTakenFromTheCurrentDirectoryAndLocatingMakesNothing) {
  TempDir dir;
  EnvGuard env;
  const std::string start = CurrentDirectory();
  ASSERT_EQ(::chdir(dir.path().c_str()), 0);
  env.set("KVQT_HOME", "homes/./one");
  const std::string located = LocateProgramDirectory("/nowhere/kvqt");
  const std::string resolved = ResolveProgramDirectory("/nowhere/kvqt");
  ASSERT_EQ(::chdir(start.c_str()), 0);
  EXPECT_EQ(located, CurrentDirectoryOf(dir) + "homes/one/");
  EXPECT_EQ(resolved, located);
  EXPECT_TRUE(DirectoryExists(dir.file("homes/one")));

  env.set("KVQT_HOME", nullptr);
  env.set("XDG_DATA_HOME", dir.file("data").c_str());
  EXPECT_EQ(LocateProgramDirectory("/nowhere/kvqt"), dir.file("data/kvqt/"));
  EXPECT_FALSE(DirectoryExists(dir.file("data")));
}

TEST(ProgramDirTest, AnInstalledProgramCannotReplaceItself) {
  TempDir dir;
  ASSERT_TRUE(MakeDirectories(dir.file("portable")));
  EXPECT_TRUE(ExecutableReplaceable(dir.file("portable/kvqt")));
  ASSERT_TRUE(MakeDirectories(dir.file("usr/share/doc/kvqt")));
  ASSERT_TRUE(MakeDirectories(dir.file("usr/bin")));
  EXPECT_EQ(InstalledDocumentationDirectory(dir.file("usr/bin/kvqt")), dir.file("usr/share/doc/kvqt/"));
  EXPECT_FALSE(ExecutableReplaceable(dir.file("usr/bin/kvqt")));
  EXPECT_FALSE(ExecutableReplaceable(""));
  if (::getuid() != 0) {  // the superuser may write everywhere
    ::chmod(dir.file("portable").c_str(), 0555);
    EXPECT_FALSE(ExecutableReplaceable(dir.file("portable/kvqt")));
    ::chmod(dir.file("portable").c_str(), 0755);
  }
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
