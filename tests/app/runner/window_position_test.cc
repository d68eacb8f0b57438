#include "app/runner/window_position.h"

#include <gtest/gtest.h>

#include "app/core/personal_profile.h"
#include "platform/program_dir.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

using kvqt::testing::TempDir;

TEST(WindowPositionTest, ClampKeepsTheWholeWindowOnTheDesktop) {
  const WindowRect desktop{0, 0, 1920, 1080};
  struct Case {
    const char* name;
    WindowPoint in;
    long width, height;
    WindowPoint out;
  } cases[] = {
      {"inside stays", {100, 200}, 400, 80, {100, 200}},
      {"negative becomes 0", {-20, -5}, 400, 80, {0, 0}},
      {"past the right edge moves left", {1800, 10}, 400, 80, {1520, 10}},
      {"past the bottom edge moves up", {10, 1050}, 400, 80, {10, 1000}},
      {"touching the edges stays", {1520, 1000}, 400, 80, {1520, 1000}},
      {"far off both edges", {99999, 99999}, 400, 80, {1520, 1000}},
      {"wider than the desktop keeps its left edge visible", {300, 0}, 2500, 80, {0, 0}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ClampToDesktop(c.in, c.width, c.height, desktop), c.out) << c.name;
  }
}

TEST(WindowPositionTest, DesktopNotAtTheOriginClampsToItsOwnEdges) {
  const WindowRect desktop{1920, 24, 1280, 1000};
  EXPECT_EQ(ClampToDesktop({0, 0}, 300, 60, desktop), (WindowPoint{1920, 24}));
  EXPECT_EQ(ClampToDesktop({3500, 2000}, 300, 60, desktop), (WindowPoint{2900, 964}));
  EXPECT_EQ(DefaultWindowPosition(desktop), (WindowPoint{1920 + 426, 24 + 333}));
}

TEST(WindowPositionTest, CenterOverParentRoundsTowardZeroAndClamps) {
  const WindowRect desktop{0, 0, 1000, 800};
  EXPECT_EQ(CenterOver({100, 100, 301, 201}, 100, 100, desktop), (WindowPoint{200, 150}));
  // A dialog larger than its parent: the negative half-difference rounds toward zero.
  EXPECT_EQ(CenterOver({100, 100, 50, 50}, 101, 101, desktop), (WindowPoint{75, 75}));
  EXPECT_EQ(CenterOver({900, 700, 100, 100}, 300, 300, desktop), (WindowPoint{700, 500}));
}

class StoredPositionTest : public ::testing::Test {
 protected:
  void SetUp() override { setProfilePath(dir_.file("kvqt.ini")); }
  void TearDown() override { setProfilePath(platform::SettingsFilePath()); }
  TempDir dir_;
};

TEST_F(StoredPositionTest, DefaultsToOneThirdOfTheDesktop) {
  EXPECT_EQ(ReadWindowPosition(300, 60, {0, 0, 1920, 1080}), (WindowPoint{640, 360}));
}

TEST_F(StoredPositionTest, StoredValuesAreClampedAndWrittenBackAsLongs) {
  dir_.write("kvqt.ini", "[configure]\r\nWindowPositionX=-20\r\nWindowPositionY=5000\r\n");
  EXPECT_EQ(ReadWindowPosition(300, 60, {0, 0, 1920, 1080}), (WindowPoint{0, 1020}));
  WriteWindowPosition({-7, 1020});
  EXPECT_EQ(dir_.read("kvqt.ini"), "[configure]\r\nWindowPositionX=-7\r\nWindowPositionY=1020\r\n");
}

}  // namespace
}  // namespace kvqt
