// Program directory, formats from the built-in table and chart directories
// written through the drivers, for the convert, append and query tests.
#pragma once

#include <unistd.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/core/action_info.h"
#include "app/core/logs.h"
#include "app/core/messages.h"
#include "app/model/datafile.h"
#include "app/model/directory.h"
#include "app/model/format.h"
#include "app/model/format_table.h"
#include "app/core/personal_profile.h"
#include "formats/directory_refresh.h"
#include "formats/format_driver.h"
#include "platform/program_dir.h"
#include "support/temp_dir.h"

namespace kvqt::testing {

// Trading days (Monday to Friday) from `first` on, prices with fractions that
// every format keeps to within its own precision.
inline std::vector<PriceRecord> TradingDays(Date first, int count, float base = 20.0f) {
  std::vector<PriceRecord> records;
  for (Date d = first; static_cast<int>(records.size()) < count; d = d.addDays(1)) {
    if (d.dayOfWeek() == 0 || d.dayOfWeek() == 6) continue;
    const float step = static_cast<float>(records.size());
    PriceRecord r;
    r.date = d;
    r.open = base + step * 0.25f;
    r.high = r.open + 1.5f;
    r.low = r.open - 0.75f;
    r.close = r.open + 0.5f;
    r.volume = 1000.0f + step * 10.0f;
    records.push_back(r);
  }
  return records;
}

inline std::vector<PriceRecord> ReadRecords(const std::string& dir, int formatId, const std::string& symbol) {
  std::vector<PriceRecord> records;
  DatafileEntry entry;
  if (FindEntry(symbol, entry, formatId, dir, kScanReadHeader) != 0) return records;
  DatafileHandle handle;
  if (OpenDatafile(entry, handle, formatId, OpenMode::kRead, dir) != 0) return records;
  PriceRecord r;
  while (records.size() < 100000 && ReadRecord(entry, handle, r, formatId) == 0) records.push_back(r);
  return records;
}

// A new instrument with its records, written by the drivers.
inline void WriteSymbol(const std::string& dir, int formatId, const std::string& symbol,
                        const std::vector<PriceRecord>& records, const std::string& name = "",
                        std::uint16_t interval = 0) {
  DatafileEntry entry;
  ASSERT_EQ(1, CreateEntry(symbol, name.empty() ? symbol + " Inc" : name, interval, entry, formatId, dir));
  ASSERT_EQ(0, FindEntry(symbol, entry, formatId, dir, kScanReadHeader));
  DatafileHandle handle;
  ASSERT_EQ(0, OpenDatafile(entry, handle, formatId, OpenMode::kAppend, dir));
  for (const PriceRecord& r : records) ASSERT_EQ(0, WriteRecord(entry, handle, r, formatId));
  ASSERT_EQ(0, FinalizeDirectory(entry, handle, formatId, dir));
}

inline std::string Describe(const PriceRecord& r) {
  char text[160];
  std::snprintf(text, sizeof text, "%d %.4f %.4f %.4f %.4f %.1f", r.date.value(), r.open, r.high, r.low, r.close,
                r.volume);
  return text;
}

inline std::vector<std::string> Describe(const std::vector<PriceRecord>& records) {
  std::vector<std::string> lines;
  for (const PriceRecord& r : records) lines.push_back(Describe(r));
  return lines;
}

// What a format keeps of `records`: the records written straight into a
// fresh directory of that format and read back.
inline std::vector<PriceRecord> AsKeptBy(int formatId, const std::vector<PriceRecord>& records) {
  TempDir scratch;
  WriteSymbol(scratch.path(), formatId, "REF", records);
  return ReadRecords(scratch.path(), formatId, "REF");
}

// A program directory of its own (logs, settings), the directory refresh
// installed and the messages captured.
class ConvertTestBase : public ::testing::Test {
 protected:
  void SetUp() override {
    char cwd[PATH_MAX];
    ASSERT_NE(nullptr, ::getcwd(cwd, sizeof cwd));
    oldCwd_ = cwd;
    ASSERT_EQ(0, ::chdir(program.path().c_str()));
    setProfilePath(program.file("kvqt.ini"));
    Logs::SetDirectory(program.path());
    previousRefresh_ = Directory::SetRefreshHook(nullptr);
    InstallDirectoryRefresh();
  }
  void TearDown() override {
    Directory::SetRefreshHook(previousRefresh_);
    Logs::SetDirectory("");
    setProfilePath(platform::SettingsFilePath());
    ASSERT_EQ(0, ::chdir(oldCwd_.c_str()));
  }

  // A format as the built-in table defines it (name, flags, separators).
  Format& AddFormat(int formatId) {
    for (const FormatTableRow& row : FormatTable()) {
      if (row.formatId != formatId) continue;
      auto format = std::make_unique<Format>(row.symbol, row.name, row.formatId);
      format->setFormatflags(row.formatflags);
      format->setMaxNameLength(row.maxNameLength);
      format->setSeparators(row.fsep, row.dsep, row.frsep);
      formats_.push_back(std::move(format));
      return *formats_.back();
    }
    ADD_FAILURE() << "no format " << formatId;
    formats_.push_back(std::make_unique<Format>("X", "X", formatId));
    return *formats_.back();
  }
  Directory& AddDirectory(Format& format, const std::string& path) {
    auto directory = std::make_unique<Directory>(path, format.formatId());
    Directory* added = directory.get();
    EXPECT_TRUE(format.addDirectory(std::move(directory)));
    return *added;
  }

  std::vector<std::string> Shown() {
    std::vector<std::string> texts;
    for (const auto& shown : messages->shown()) texts.push_back(shown.text);
    return texts;
  }

  TempDir program;
  ScopedMessages messages;

 private:
  std::string oldCwd_;
  Directory::RefreshHook previousRefresh_ = nullptr;
  std::vector<std::unique_ptr<Format>> formats_;
};

// Selects the listed indexes, as a multi-select list would.
class IndexSelection : public ListSelection {
 public:
  explicit IndexSelection(std::vector<int> indexes) : indexes_(std::move(indexes)) {}
  bool isSelected(int index) const override {
    for (int i : indexes_)
      if (i == index) return true;
    return false;
  }

 private:
  std::vector<int> indexes_;
};

}  // namespace kvqt::testing
