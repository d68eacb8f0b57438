// Chart directories built through the format drivers, the data model over
// them, and a data-manager view that records what it was shown.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/model/datafile.h"
#include "app/model/directory.h"
#include "app/model/format.h"
#include "formats/format_driver.h"
#include "maintenance/data_manager.h"
#include "maintenance/data_manager_view.h"

namespace kvqt::testing {

inline PriceRecord Day(Date date, float price, float volume) {
  PriceRecord r;
  r.date = date;
  r.open = r.high = r.low = r.close = price;
  r.volume = volume;
  return r;
}

// `count` daily records from 3 January 2000 on, one per calendar day.
inline std::vector<PriceRecord> Days(int count, float price, float volume) {
  std::vector<PriceRecord> records;
  for (int i = 0; i < count; ++i) records.push_back(Day(Date(2000, 1, 3).addDays(i), price, volume));
  return records;
}

// A new entry with its records, written by the drivers.
inline void WriteInstrument(const std::string& dir, int formatId, const std::string& symbol,
                            const std::vector<PriceRecord>& records, const std::string& name = "",
                            std::uint16_t interval = 0) {
  DatafileEntry entry;
  ASSERT_EQ(1, CreateEntry(symbol, name, interval, entry, formatId, dir));
  DatafileHandle handle;
  ASSERT_EQ(0, OpenDatafile(entry, handle, formatId, OpenMode::kAppend, dir));
  for (const PriceRecord& r : records) ASSERT_EQ(0, WriteRecord(entry, handle, r, formatId));
  ASSERT_EQ(0, FinalizeDirectory(entry, handle, formatId, dir));
}

inline std::vector<PriceRecord> ReadInstrument(const std::string& dir, int formatId, const std::string& symbol) {
  std::vector<PriceRecord> records;
  DatafileEntry entry;
  if (FindEntry(symbol, entry, formatId, dir) != 0) return records;
  DatafileHandle handle;
  if (OpenDatafile(entry, handle, formatId, OpenMode::kRead, dir) != 0) return records;
  PriceRecord r;
  while (records.size() < 100000 && ReadRecord(entry, handle, r, formatId) == 0) records.push_back(r);
  return records;
}

// One format with one directory, whose entries are given by hand.
struct Model {
  Model(int formatId, const std::string& path) : format("F", "Format", formatId) {
    format.setMaxNameLength(16);
    format.addDirectory(std::make_unique<Directory>(path, formatId));
    directory = format.directoryAt(0);
  }
  Datafile& add(const std::string& symbol, const std::string& name, int recordCount) {
    auto datafile = std::make_unique<Datafile>(symbol, name, format.formatId(), 30);
    datafile->setDates(Date(), Date(), recordCount);
    return *directory->add(std::move(datafile));
  }
  Format format;
  Directory* directory = nullptr;
};

// Notes what the data manager showed on opening and then lets a test act on it.
class RecordingView : public DataManagerView {
 public:
  struct Shown {
    std::string symbol;
    std::string directory;
    int count = 0;
    std::string group;
    bool enabled = false;
    int opening = 0;
    bool announced = false;
  };
  void run(DataManager& m) override {
    shown.push_back({m.datafile().symbol(), m.directory().name(), m.count(), m.groupText(), m.recordsEnabled(),
                     m.openingRecord(), m.announcedSplit() != nullptr});
    if (act) act(m);
  }
  std::vector<Shown> shown;
  std::function<void(DataManager&)> act;
};

// Installs a view for the lifetime of the object.
class ScopedView {
 public:
  explicit ScopedView(DataManagerView& view) : previous_(setDataManagerView(&view)) {}
  ~ScopedView() { setDataManagerView(previous_); }
  ScopedView(const ScopedView&) = delete;
  ScopedView& operator=(const ScopedView&) = delete;

 private:
  DataManagerView* previous_;
};

}  // namespace kvqt::testing
