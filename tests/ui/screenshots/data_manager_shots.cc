#include <QApplication>
#include <cmath>
#include <memory>

#include "app/model/datafile.h"
#include "app/model/directory.h"
#include "app/model/format.h"
#include "maintenance/data_manager.h"
#include "ui/data_manager_dialog.h"
#include "ui/edit_price_dialog.h"
#include "ui/goto_dialog.h"
#include "ui/price_chart.h"
#include "ui/screenshots/screenshot.h"
#include "ui/split_dialog.h"

namespace kvqt::screenshots {
namespace {

// Trading days from 2 January 2023: a walk of the close with a two-for-one
// split before record `split` (0: none).
std::vector<PriceRecord> Walk(int count, int split) {
  std::vector<PriceRecord> records;
  unsigned seed = 12345;
  double close = 84.0;
  Date date(2023, 1, 2);
  for (int k = 1; k <= count; ++k) {
    while (date.dayOfWeek() == 0 || date.dayOfWeek() == 6) date = date.addDays(1);
    seed = seed * 1103515245u + 12345u;
    const double step = ((seed >> 16) % 1000) / 1000.0 - 0.48;
    const double open = close;
    close = std::max(5.0, close + step * 1.6);
    PriceRecord r;
    r.date = date;
    r.open = static_cast<float>(open);
    r.close = static_cast<float>(close);
    r.high = static_cast<float>(std::max(open, close) + 0.6);
    r.low = static_cast<float>(std::min(open, close) - 0.6);
    r.volume = static_cast<float>(150000 + (seed >> 8) % 250000);
    records.push_back(r);
    date = date.addDays(1);
  }
  // Before the split the prices were twice as high and the volumes half.
  for (int k = 1; k < split && k <= count; ++k) {
    PriceRecord& r = records[static_cast<std::size_t>(k - 1)];
    r.open *= 2;
    r.high *= 2;
    r.low *= 2;
    r.close *= 2;
    r.volume /= 2;
  }
  return records;
}

// The model a shot's data manager works on, kept for the program's run.
struct Shown {
  Format format{"MS", "Metastock", 4};
  Directory* directory = nullptr;
  Datafile* datafile = nullptr;
  std::unique_ptr<DataManager> manager;
};

DataManager& Manager(int count, int split) {
  static std::vector<std::unique_ptr<Shown>> kept;
  kept.push_back(std::make_unique<Shown>());
  Shown& s = *kept.back();
  s.format.setMaxNameLength(45);
  const std::string path = "/home/user/.wine/drive_c/Equis/Data/";
  s.format.addDirectory(std::make_unique<Directory>(path, 4));
  s.directory = s.format.directoryAt(0);
  s.datafile = s.directory->add(std::make_unique<Datafile>("ASML", "ASML Holding", 4, 30));
  std::vector<PriceRecord> records = Walk(count, split);
  s.datafile->setDates(records.front().date, records.back().date, count);
  s.manager = std::make_unique<DataManager>(s.format, *s.directory, *s.datafile, RecordArray(records));
  return *s.manager;
}

// Lays the chart out before the picture is taken: it draws to the columns
// of its plot once that has its size.
QWidget* Settled(Scene& scene, QWidget* dialog) {
  dialog->show();
  dialog->adjustSize();
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
  return scene.keep(dialog);
}

constexpr int kRecords = 320;
constexpr int kSplitRecord = 201;

const Shot kDataManager("korv_datamanager", [](Scene& scene) {
  auto* dialog = new ui::DataManagerDialog(Manager(kRecords, 0), nullptr);
  dialog->showRecord(kRecords - 3, true);
  return Settled(scene, dialog);
});

// The data before a split was applied, the jump selected and the split marked.
const Shot kDataManagerSplit("korv_datamanager-split", [](Scene& scene) {
  auto* dialog = new ui::DataManagerDialog(Manager(kRecords, kSplitRecord), nullptr);
  dialog->showRecord(kSplitRecord, true);
  dialog->chart()->setSplitRecord(kSplitRecord);
  return Settled(scene, dialog);
});

// Tick data: the date with seconds, only the close and the volume.
const Shot kDataManagerTick("korv_datamanager-tick", [](Scene& scene) {
  static Format format("MSI", "Metastock Intraday", 20);
  static Directory* directory = nullptr;
  static std::unique_ptr<DataManager> manager;
  format.setMaxNameLength(45);
  format.addDirectory(std::make_unique<Directory>("/home/user/.wine/drive_c/Equis/Ticks/", 20));
  directory = format.directoryAt(0);
  Datafile* ticks = directory->add(std::make_unique<Datafile>("ASML", "ASML Holding", 20, 30));
  ticks->setInterval(0);
  std::vector<PriceRecord> records = Walk(240, 0);
  int seconds = 9 * 3600;
  for (std::size_t i = 0; i < records.size(); ++i) {
    seconds += 7 + static_cast<int>(i * 37 % 41);
    records[i].date = Date(2024, 3, 22);
    records[i].time = Time(seconds / 3600, seconds / 60 % 60, seconds % 60);
    records[i].volume = static_cast<float>(100 * (1 + i * 13 % 20));
  }
  ticks->setDates(records.front().date, records.front().time, records.back().date, records.back().time, 240);
  manager = std::make_unique<DataManager>(format, *directory, *ticks, RecordArray(records));
  auto* dialog = new ui::DataManagerDialog(*manager, nullptr);
  return Settled(scene, dialog);
});

const Shot kEditPrice("korv_edit_price", [](Scene& scene) {
  return scene.keep(new ui::EditPriceDialog(Manager(kRecords, 0), kRecords - 3, nullptr));
});

const Shot kGoto("korv_goto", [](Scene& scene) {
  return scene.keep(new ui::GotoDialog(Manager(kRecords, 0), kRecords - 3, nullptr));
});

const Shot kSplit("korv_split", [](Scene& scene) {
  return scene.keep(new ui::SplitDialog(Manager(kRecords, kSplitRecord), kSplitRecord, nullptr));
});

}  // namespace
}  // namespace kvqt::screenshots
