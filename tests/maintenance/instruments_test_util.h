// A chart directory of one of the built-in formats, in the data model, for the
// tests of adding and renaming instruments; settings in a file of its own.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/core/messages.h"
#include "app/model/directory.h"
#include "app/model/format.h"
#include "app/model/format_table.h"
#include "app/model/formats.h"
#include "app/core/personal_profile.h"
#include "formats/format_driver.h"
#include "platform/program_dir.h"
#include "support/temp_dir.h"

namespace kvqt::testing {

class InstrumentsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setProfilePath(settings.file("kvqt.ini"));
    MergeFormatTable(formats);
  }
  void TearDown() override { setProfilePath(platform::SettingsFilePath()); }

  // The built-in format with that id, with `dir` as its directory.
  Format& Use(int formatId) {
    Format* format = formats.findById(formatId);
    EXPECT_NE(nullptr, format);
    format->addDirectory(std::make_unique<Directory>(dir.path(), formatId));
    directory = format->directoryByName(dir.path());
    return *format;
  }

  // Every entry a scan of the directory's master returns, in master order.
  std::vector<DatafileEntry> Entries(int formatId) const {
    std::vector<DatafileEntry> entries;
    MasterHandles masters;
    if (OpenMaster(masters, formatId, dir.path()) != 0) return entries;
    DatafileEntry entry;
    int flags = 0;
    while (entries.size() < 10000 && ScanEntries(masters, formatId, entry, "", flags, dir.path()) == 0) {
      entries.push_back(entry);
      flags = kScanContinue;
    }
    CloseMaster(masters);
    return entries;
  }

  // The texts of the messages and questions shown so far.
  std::vector<std::string> Shown() {
    std::vector<std::string> texts;
    for (const auto& shown : messages->shown()) texts.push_back(shown.text);
    return texts;
  }

  TempDir settings;
  TempDir dir;
  ScopedMessages messages;
  Formats formats;
  Directory* directory = nullptr;
};

}  // namespace kvqt::testing
