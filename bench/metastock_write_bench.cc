// Writes 1,000,000 daily records spread over 1,000 instruments of one MetaStock
// directory (create entry, open for appending, write, finalize) and reports the
// rate next to a plain sequential write of the same number of bytes in the
// same run, so the cost of the format layer shows at once.
//   metastock_write_bench [instruments] [records-per-instrument] [directory]
#include "bench_timing.h"
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/core/messages.h"
#include "formats/format_driver.h"

namespace {

using kvqt::bench::RawWrite;
using kvqt::bench::Seconds;

void RemoveDirectory(const std::string& dir) {
  if (DIR* d = ::opendir(dir.c_str())) {
    while (struct dirent* e = ::readdir(d)) {
      std::string name = e->d_name;
      if (name != "." && name != "..") ::unlink((dir + name).c_str());
    }
    ::closedir(d);
  }
  ::rmdir(dir.c_str());
}

// The same bytes in one new file per instrument: what the file system alone
// costs for as many files.
double RawWritePerFile(const std::string& dir, int files, long long bytesEach) {
  auto start = std::chrono::steady_clock::now();
  std::vector<char> block(static_cast<std::size_t>(bytesEach), 'x');
  for (int i = 0; i < files; ++i) {
    int fd = ::open((dir + "raw" + std::to_string(i)).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return -1;
    if (::write(fd, block.data(), block.size()) != static_cast<ssize_t>(block.size())) {
      ::close(fd);
      return -1;
    }
    ::close(fd);
  }
  return Seconds(start);
}

}  // namespace

int main(int argc, char** argv) {
  const int instruments = argc > 1 ? std::atoi(argv[1]) : 1000;
  const int perInstrument = argc > 2 ? std::atoi(argv[2]) : 1000;
  char dir_template[] = "/tmp/kvqt-metastock-bench-XXXXXX";
  std::string dir;
  if (argc > 3) {
    dir = argv[3];
    if (dir.back() != '/') dir += '/';
  } else {
    if (!mkdtemp(dir_template)) return 1;
    dir = std::string(dir_template) + "/";
  }
  kvqt::ScopedMessages quiet;
  const long long records = static_cast<long long>(instruments) * perInstrument;

  auto start = std::chrono::steady_clock::now();
  std::vector<kvqt::DatafileEntry> entries(static_cast<std::size_t>(instruments));
  for (int i = 0; i < instruments; ++i) {
    char symbol[16];
    std::snprintf(symbol, sizeof symbol, "B%05d", i);
    if (kvqt::CreateEntry(symbol, "Benchmark instrument", 0, entries[static_cast<std::size_t>(i)], 4, dir) != 1) {
      std::fprintf(stderr, "metastock_write_bench: cannot create entry %s\n", symbol);
      return 1;
    }
  }
  double createSeconds = Seconds(start);

  // The same records for every instrument, made before the clock runs.
  std::vector<kvqt::PriceRecord> series(static_cast<std::size_t>(perInstrument));
  kvqt::Date first(1970, 1, 1);
  for (int n = 0; n < perInstrument; ++n) {
    kvqt::PriceRecord& r = series[static_cast<std::size_t>(n)];
    r.date = first.addDays(n);
    r.open = 10.0f + static_cast<float>(n % 100) * 0.25f;
    r.high = r.open + 1;
    r.low = r.open - 1;
    r.close = r.open + 0.5f;
    r.volume = 1000.0f + static_cast<float>(n);
  }

  auto writeStart = std::chrono::steady_clock::now();
  for (kvqt::DatafileEntry& entry : entries) {
    kvqt::DatafileHandle handle;
    if (kvqt::OpenDatafile(entry, handle, 4, kvqt::OpenMode::kAppend, dir) != 0) return 1;
    for (const kvqt::PriceRecord& r : series)
      if (kvqt::WriteRecord(entry, handle, r, 4) != 0) return 1;
    if (kvqt::FinalizeDirectory(entry, handle, 4, dir) != 0) return 1;
  }
  double writeSeconds = Seconds(writeStart);
  double totalSeconds = Seconds(start);

  const long long bytes = records * 7 * 4;
  double rawSeconds = RawWrite(dir + "raw.bin", bytes);
  double rawFilesSeconds = RawWritePerFile(dir, instruments, bytes / instruments);

  std::printf("metastock: %d instruments, %lld records, %lld bytes\n", instruments, records, bytes);
  std::printf("  create entries    %8.3f s\n", createSeconds);
  std::printf("  append + finalize %8.3f s  %12.0f records/s\n", writeSeconds, records / writeSeconds);
  std::printf("  all               %8.3f s  %12.0f records/s\n", totalSeconds, records / totalSeconds);
  std::printf("raw sequential write %7.3f s  %12.0f records/s\n", rawSeconds, records / rawSeconds);
  std::printf("raw, file per instrument %4.3f s  %12.0f records/s\n", rawFilesSeconds, records / rawFilesSeconds);
  std::printf("ratio to raw: all %.2f, append + finalize %.2f; all to raw per file %.2f\n", rawSeconds / totalSeconds,
              rawSeconds / writeSeconds, rawFilesSeconds / totalSeconds);
  if (argc <= 3) RemoveDirectory(dir);
  return 0;
}
