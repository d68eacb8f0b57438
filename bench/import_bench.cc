// Imports a result of 1,000,000 daily lines for 1,000 instruments into a new
// MetaStock directory and into a new ASCII directory, through
// actionPostDatafile and the step runner as a session does, and reports the
// lines per second next to the limit of the machine: one buffered sequential
// write of the bytes the import put into the data files, in the same run.
//   import_bench [instruments] [days-per-instrument]
#include "bench_timing.h"
#include "result_lines.h"
#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/core/action_info.h"
#include "app/datafile/login_record.h"
#include "app/datafile/user_info.h"
#include "app/runner/headless_progress.h"
#include "app/core/logs.h"
#include "app/core/messages.h"
#include "app/model/directory.h"
#include "app/model/format.h"
#include "app/core/personal_profile.h"
#include "formats/directory_refresh.h"
#include "formats/format_driver.h"
#include "service/import/result_import.h"

namespace {

using kvqt::bench::RawWrite;
using kvqt::bench::Seconds;

// User and system time of the process so far.
double CpuSeconds() {
  struct rusage usage;
  ::getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

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

long long DirectoryBytes(const std::string& dir) {
  long long bytes = 0;
  if (DIR* d = ::opendir(dir.c_str())) {
    while (struct dirent* e = ::readdir(d)) {
      struct stat st;
      if (e->d_name[0] != '.' && ::stat((dir + e->d_name).c_str(), &st) == 0) bytes += st.st_size;
    }
    ::closedir(d);
  }
  return bytes;
}

struct Run {
  double seconds = 0;
  double cpuSeconds = 0;
  long long dataBytes = 0;
  int result = 0;
};

Run ImportInto(int formatId, const std::string& home, int instruments) {
  Run run;
  const std::string dir = home + "f" + std::to_string(formatId) + "/";
  ::mkdir(dir.c_str(), 0755);
  for (int i = 0; i < instruments; ++i) {
    kvqt::DatafileEntry entry;
    if (kvqt::CreateEntry(Symbol(i), "Benchmark instrument", 0, entry, formatId, dir) != 1) {
      run.result = -1;
      return run;
    }
  }
  kvqt::Format format("BENCH", "Benchmark", formatId);
  format.addDirectory(std::make_unique<kvqt::Directory>(dir, formatId));
  kvqt::Directory* directory = format.directoryByName(dir);
  directory->refresh();
  const long long before = DirectoryBytes(dir);

  kvqt::UserInfo userInfo;
  kvqt::LoginRecord login;
  login.sessionDate = kvqt::Date(2004, 1, 6);
  kvqt::ActionInfo action;
  action.userInfo = &userInfo;
  action.login = &login;
  action.kind = 0;
  action.type = 1;
  action.sourceFormat = &format;
  action.sourceDirectory = directory;
  kvqt::HeadlessProgress progress;

  auto start = std::chrono::steady_clock::now();
  double cpuStart = CpuSeconds();
  run.result = progress.run(kvqt::actionPostDatafile, action, 2);
  run.seconds = Seconds(start);
  run.cpuSeconds = CpuSeconds() - cpuStart;
  run.dataBytes = DirectoryBytes(dir) - before;
  RemoveDirectory(dir);
  return run;
}

void NoReleaseCheck() {}

}  // namespace

int main(int argc, char** argv) {
  const int instruments = argc > 1 ? std::atoi(argv[1]) : 1000;
  const int days = argc > 2 ? std::atoi(argv[2]) : 1000;
  if (instruments < 1 || days < 1) return 2;
  char dir_template[] = "/tmp/kvqt-import-bench-XXXXXX";
  if (!mkdtemp(dir_template)) return 1;
  const std::string home = std::string(dir_template) + "/";
  if (::chdir(home.c_str()) != 0) return 1;
  kvqt::setProfilePath(home + "kvqt.ini");
  kvqt::Logs::SetDirectory(home);
  kvqt::ScopedMessages quiet;
  kvqt::InstallDirectoryRefresh();
  kvqt::SetReleaseCheck(NoReleaseCheck);

  if (!WriteResultLines(home + kvqt::kResultFileName, instruments, days, kvqt::Date(1998, 1, 1))) return 1;
  const long long lines = static_cast<long long>(instruments) * days;
  std::printf("import of %lld daily lines for %d instruments\n", lines, instruments);

  struct Target {
    int formatId;
    const char* name;
  } targets[] = {{4, "metastock"}, {5, "ascii"}};
  int status = 0;
  for (const Target& t : targets) {
    Run run = ImportInto(t.formatId, home, instruments);
    if (run.result != kvqt::kStepFinished) {
      std::fprintf(stderr, "import_bench: %s import ended with %d\n", t.name, run.result);
      status = 1;
      continue;
    }
    double raw = RawWrite(home + "raw.bin", run.dataBytes);
    ::unlink((home + "raw.bin").c_str());
    std::printf("%-9s import %8.3f s  %12.0f lines/s  (%lld bytes of data files; %.3f s cpu)\n", t.name,
                run.seconds, lines / run.seconds, run.dataBytes, run.cpuSeconds);
    std::printf("%-9s raw    %8.3f s  %12.0f lines/s  (the same bytes, one buffered sequential write)\n", "", raw,
                lines / raw);
    std::printf("%-9s raw/import: %.2f\n", "", raw / run.seconds);
  }
  ::unlink((home + kvqt::kResultFileName).c_str());
  ::unlink((home + "kvqt.rpt").c_str());
  RemoveDirectory(home);
  return status;
}
