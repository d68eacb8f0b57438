// The one QApplication of a Qt test program, on the offscreen platform, and a
// test fixture that keeps settings, logs and messages inside a temporary
// directory.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QTest>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/core/logs.h"
#include "app/core/messages.h"
#include "app/core/personal_profile.h"
#include "platform/program_dir.h"
#include "support/temp_dir.h"

namespace kvqt::testing {

// Made on first use; the test program's end deletes it, before the static
// objects go (the leak checker of sanitizer builds would report it otherwise).
QApplication& TestApp();

// Polls until the condition holds (at most five seconds), letting Qt work meanwhile.
inline bool QtWaitUntil(const std::function<bool()>& condition, int ms = 5000) {
  return QTest::qWaitFor(condition, ms);
}

class QtTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApp();
    char cwd[4096];
    ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
    oldCwd_ = cwd;
    ASSERT_EQ(::chdir(dir_.path().c_str()), 0);
    Logs::SetDirectory(dir_.path());
    setProfilePath(dir_.file("kvqt.ini"));
  }
  void TearDown() override {
    (void)!::chdir(oldCwd_.c_str());
    Logs::SetDirectory("");
    setProfilePath(platform::SettingsFilePath());
  }

  // The texts of the messages shown so far, in order.
  std::vector<std::string> Shown() {
    std::vector<std::string> texts;
    for (const auto& shown : messages_->shown()) texts.push_back(shown.text);
    return texts;
  }

  TempDir dir_;
  ScopedMessages messages_;
  std::string oldCwd_;
};

}  // namespace kvqt::testing
