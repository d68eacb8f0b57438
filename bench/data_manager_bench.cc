// Opening a long data file in the data manager beside reading its records
// alone: the records are read once either way, so what the window adds is the
// difference.
//
//   data_manager_bench [RECORDS [RUNS]]      default 100000 records, 5 runs
//
// The data file is an intraday ASCII file of 5-minute records (a daily file
// cannot hold 100,000 days between 1970 and 2037). The window is the real
// dialog on the offscreen platform, shown and painted once.
#include <unistd.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/core/logs.h"
#include "app/core/messages.h"
#include "app/core/personal_profile.h"
#include "app/model/datafile.h"
#include "app/model/directory.h"
#include "app/model/format.h"
#include "app/model/format_table.h"
#include "app/model/formats.h"
#include "bench_timing.h"
#include "formats/format_driver.h"
#include "maintenance/data_manager.h"
#include "maintenance/data_manager_open.h"
#include "maintenance/data_manager_view.h"
#include "maintenance/datafile_records.h"
#include "ui/data_manager_dialog.h"

namespace {

using kvqt::bench::Seconds;
using Clock = std::chrono::steady_clock;

constexpr int kIntradayAscii = 21;

bool WriteFile(const std::string& dir, int records) {
  kvqt::DatafileEntry entry;
  if (kvqt::CreateEntry("BIG", "Benchmark instrument", 5, entry, kIntradayAscii, dir) != 1) return false;
  kvqt::DatafileHandle handle;
  if (kvqt::OpenDatafile(entry, handle, kIntradayAscii, kvqt::OpenMode::kAppend, dir) != 0) return false;
  kvqt::Date date(2000, 1, 3);
  int minute = 0;
  for (int i = 0; i < records; ++i) {
    // 100 five-minute bars a trading day from 9:00.
    if (minute == 500) {
      minute = 0;
      do date = date.addDays(1);
      while (date.dayOfWeek() == 0 || date.dayOfWeek() == 6);
    }
    kvqt::PriceRecord r;
    r.date = date;
    r.time = kvqt::Time(9 + minute / 60, minute % 60, 0);
    r.open = 10.0f + static_cast<float>(i % 100) * 0.25f;
    r.high = r.open + 1;
    r.low = r.open - 1;
    r.close = r.open + 0.5f;
    r.volume = static_cast<float>(1000 + i % 5000);
    if (kvqt::WriteRecord(entry, handle, r, kIntradayAscii) != 0) return false;
    minute += 5;
  }
  return kvqt::FinalizeDirectory(entry, handle, kIntradayAscii, dir) == 0;
}

// Shows the dialog, lets it lay out and paint, and closes it: what the user
// waits for before the list and the chart are there.
class TimedWindow : public kvqt::DataManagerView {
 public:
  void run(kvqt::DataManager& manager) override {
    kvqt::ui::DataManagerDialog dialog(manager, nullptr);
    dialog.show();
    QApplication::processEvents();
    dialog.repaint();
    shownAt = Clock::now();
    rows = manager.count();
    dialog.reject();
  }
  Clock::time_point shownAt;
  int rows = 0;
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? -1 : values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int records = argc > 1 ? std::atoi(argv[1]) : 100000;
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  kvqt::ScopedMessages quiet;

  const std::string dir =
      (std::filesystem::temp_directory_path() / ("data_manager_bench." + std::to_string(::getpid()))).string() + "/";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  kvqt::Logs::SetDirectory(dir);
  kvqt::setProfilePath(dir + "kvqt.ini");
  if (!WriteFile(dir, records)) {
    std::fprintf(stderr, "data_manager_bench: cannot write the data file in %s\n", dir.c_str());
    return 1;
  }

  kvqt::Formats formats;
  kvqt::MergeFormatTable(formats);
  kvqt::Format& format = *formats.findById(kIntradayAscii);
  format.addDirectory(std::make_unique<kvqt::Directory>(dir, kIntradayAscii));
  kvqt::Directory& directory = *format.directoryByName(dir);
  auto* datafile = directory.add(std::make_unique<kvqt::Datafile>("BIG", "Benchmark instrument", kIntradayAscii, 30));
  datafile->setInterval(5);
  datafile->setDates(kvqt::Date(), kvqt::Date(), records);

  TimedWindow window;
  kvqt::DataManagerView* previous = kvqt::setDataManagerView(&window);
  std::vector<double> reads, opens;
  for (int run = 0; run < runs; ++run) {
    auto start = Clock::now();
    kvqt::DatafileRecords read;
    const int rc = kvqt::ReadDatafileRecords(&format, kIntradayAscii, dir, "BIG", read);
    reads.push_back(Seconds(start));
    if (rc != 0 || static_cast<int>(read.records.size()) != records) {
      std::fprintf(stderr, "data_manager_bench: read %zu of %d records (%d)\n", read.records.size(), records, rc);
      return 1;
    }
    start = Clock::now();
    if (kvqt::OpenDataManager(format, directory, *datafile) != 1 || window.rows != records) {
      std::fprintf(stderr, "data_manager_bench: the data manager did not open on %d records\n", records);
      return 1;
    }
    opens.push_back(std::chrono::duration<double>(window.shownAt - start).count());
  }
  kvqt::setDataManagerView(previous);
  std::filesystem::remove_all(dir);

  const double read = Median(reads);
  const double open = Median(opens);
  std::printf("records %d, median of %d runs\n", records, runs);
  std::printf("read the records alone        %8.3f s\n", read);
  std::printf("open in the data manager      %8.3f s  (the window adds %.3f s)\n", open, open - read);
  return open < 1.0 ? 0 : 2;
}
