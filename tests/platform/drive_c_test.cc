#include "platform/drive_c.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "support/temp_dir.h"

namespace kvqt::platform {
namespace {

class DriveCTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saveHome_ = Saved("HOME");
    savePrefix_ = Saved("WINEPREFIX");
    ::setenv("HOME", home_.path().c_str(), 1);
    ::unsetenv("WINEPREFIX");
  }
  void TearDown() override {
    Restore("HOME", saveHome_);
    Restore("WINEPREFIX", savePrefix_);
  }
  static std::string Saved(const char* name) {
    const char* v = std::getenv(name);
    return v == nullptr ? std::string("\x01") : std::string(v);
  }
  static void Restore(const char* name, const std::string& v) {
    if (v == "\x01") ::unsetenv(name);
    else ::setenv(name, v.c_str(), 1);
  }

  testing::TempDir home_;
  std::string saveHome_, savePrefix_;
};

TEST_F(DriveCTest, IsTheWinePrefixDriveWhenItExistsElseTheHome) {
  EXPECT_EQ(DriveCDirectory(), home_.path());

  ASSERT_EQ(::mkdir(home_.file(".wine").c_str(), 0755), 0);
  ASSERT_EQ(::mkdir(home_.file(".wine/drive_c").c_str(), 0755), 0);
  EXPECT_EQ(DriveCDirectory(), home_.file(".wine/drive_c/"));

  testing::TempDir prefix;
  ::setenv("WINEPREFIX", prefix.path().c_str(), 1);
  EXPECT_EQ(DriveCDirectory(), home_.path()) << "a prefix without drive_c";
  ASSERT_EQ(::mkdir(prefix.file("drive_c").c_str(), 0755), 0);
  EXPECT_EQ(DriveCDirectory(), prefix.file("drive_c/"));
}

TEST_F(DriveCTest, WindowsPathsOnDriveCLandUnderIt) {
  const std::string c = home_.path();
  const struct {
    const char* windows;
    std::string expected;
  } cases[] = {
      {"c:\\Equis\\Data\\", c + "Equis/Data/"},
      {"C:\\Program Files\\Orvista2000", c + "Program Files/Orvista2000"},
      {"c:/sis/data/", c + "sis/data/"},
      {"c:Program Files", c + "Program Files"},
      {"c:", c},
      {"/home/user/data/", "/home/user/data/"},
      {"d:\\data\\", "d:\\data\\"},
      {"koersen\\", "koersen\\"},
      {"", ""},
  };
  for (const auto& k : cases) EXPECT_EQ(FromWindowsPath(k.windows), k.expected) << k.windows;
}

}  // namespace
}  // namespace kvqt::platform
