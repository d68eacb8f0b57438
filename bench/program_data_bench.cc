// Saving and loading a program data file ("kvqt.dat") whose directories hold
// many entries, beside the same at a tenth of the entries, so that a cost
// that grows faster than the file shows at once.
//   program_data_bench [entries [directories [reversed]]]
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/datafile/program_data_file.h"
#include "app/datafile/user_info.h"
#include "app/model/datafile.h"
#include "app/model/directory.h"
#include "app/model/format.h"
#include "app/model/formats.h"
#include "bench_timing.h"

namespace {

using kvqt::bench::Seconds;

// Entries spread over directories of one format, every one selected so that it is stored.
void Fill(kvqt::Formats& formats, int entries, int directories) {
  auto format = std::make_unique<kvqt::Format>("BENCH", "Benchmark", 4);
  const int kDirectories = directories;
  for (int d = 0; d < kDirectories; ++d) {
    auto directory = std::make_unique<kvqt::Directory>("/data/bench" + std::to_string(d) + "/", 4);
    directory->setSelectionMode(kvqt::Directory::kSelectStored);
    for (int i = d; i < entries; i += kDirectories) {
      char symbol[16], name[48];
      std::snprintf(symbol, sizeof symbol, "S%07d", i);
      std::snprintf(name, sizeof name, "Instrument %07d", i);
      auto datafile = std::make_unique<kvqt::Datafile>(symbol, name, 4);
      datafile->setSelected(true);
      directory->add(std::move(datafile));
    }
    format->addDirectory(std::move(directory));
  }
  formats.add(std::move(format));
}

struct Timing {
  double save = -1, load = -1;
};

// Saves and loads a tree of `entries`; the file holds them in the opposite
// order when `reversed`.
Timing Measure(int entries, int directories, bool reversed) {
  kvqt::Formats formats;
  Fill(formats, entries, directories);
  kvqt::UserInfo userInfo;

  auto start = std::chrono::steady_clock::now();
  const std::string bytes = kvqt::EncodeProgramDataFile(userInfo, formats);
  const double save = Seconds(start);

  // The entries in the opposite order, as a file written by another program
  // may hold them: the records of one directory all have the same length.
  std::string reversedBytes = bytes;
  std::size_t first = bytes.find("S0000000");
  const std::size_t record = bytes.find("S0000001") - first;
  // Back to the symbol's length field.
  for (std::size_t length : {4, 2, 1}) {
    if (first != std::string::npos && first >= length && bytes[first - length] == 8 &&
        bytes.compare(first - length + 1, length - 1, std::string(length - 1, '\0')) == 0) {
      first -= length;
      break;
    }
  }
  if (directories == 1 && first != std::string::npos && record < 100 && first + record * entries <= bytes.size()) {
    for (int i = 0; i < entries; ++i)
      std::memcpy(&reversedBytes[first + record * static_cast<std::size_t>(i)],
                  &bytes[first + record * static_cast<std::size_t>(entries - 1 - i)], record);
  }

  // Through a file, as the start-up reads it.
  char path[] = "/tmp/kvqt-program-data-bench-XXXXXX";
  const int fd = ::mkstemp(path);
  const std::string& stored = reversed ? reversedBytes : bytes;
  if (fd < 0 || ::write(fd, stored.data(), stored.size()) != static_cast<ssize_t>(stored.size())) return Timing();
  ::close(fd);
  start = std::chrono::steady_clock::now();
  kvqt::Formats loaded;
  kvqt::UserInfo loadedInfo;
  const int rc = kvqt::ReadProgramDataFile(path, kvqt::DataFileReadOptions(), loadedInfo, loaded);
  const double load = Seconds(start);
  ::unlink(path);

  const kvqt::Format* back = loaded.findBySymbol("BENCH");
  int count = 0;
  for (int i = 0; back && i < back->directoryCount(); ++i) count += back->directoryAt(i)->size();
  if (rc != 0 || count != entries) return Timing();
  return Timing{save, load};
}

}  // namespace

// The yardstick is the same work at a tenth of the entries: a linear cost
// gives the same time per entry for both.
int main(int argc, char** argv) {
  const int entries = argc > 1 ? std::max(10, std::atoi(argv[1])) : 300000;
  const int directories = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1;
  const bool reversed = argc > 3 && std::strcmp(argv[3], "reversed") == 0;
  const Timing small = Measure(entries / 10, directories, reversed);
  const Timing large = Measure(entries, directories, reversed);
  if (small.load < 0 || large.load < 0) return 1;
  auto perEntry = [](double seconds, int n) { return seconds / n * 1e9; };
  std::printf("kvqt.dat of %d entries%s: save %.3f s, load %.3f s; per entry %.0f / %.0f ns, at a tenth %.0f / %.0f ns "
              "(growth %.2f / %.2f)\n",
              entries, reversed ? " stored in another order" : "", large.save, large.load,
              perEntry(large.save, entries), perEntry(large.load, entries), perEntry(small.save, entries / 10),
              perEntry(small.load, entries / 10), large.save / 10 / small.save, large.load / 10 / small.load);
  return 0;
}
