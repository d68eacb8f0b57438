// The import of a local data file (what "-datafile" runs: a date-range merge
// into every instrument's data file) beside a minimal one-pass converter for
// the same format written here: parse a line, encode the record, append it
// to the instrument's file with one write per instrument.
//
//   datafile_bench prepare FORMAT INSTRUMENTS DAYS DIR   input file and new directory
//   datafile_bench import FORMAT DIR                      the program's import
//   datafile_bench convert FORMAT DIR                     the converter
//   datafile_bench both FORMAT INSTRUMENTS DAYS [PAIRS]   both in turn, with the ratios
//
// FORMAT is metastock, ascii, ti or topvest. The timed modes copy the new
// directory first and remove what they wrote afterwards, so two processes
// compare the work itself.
#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/core/action_info.h"
#include "app/datafile/login_record.h"
#include "app/datafile/user_info.h"
#include "app/datafile/writer_settings.h"
#include "app/runner/headless_progress.h"
#include "app/core/logs.h"
#include "app/core/messages.h"
#include "app/model/directory.h"
#include "app/model/format.h"
#include "app/core/personal_profile.h"
#include "bench_timing.h"
#include "result_lines.h"
#include "formats/directory_refresh.h"
#include "formats/format_driver.h"
#include "service/import/result_import.h"

namespace {

using kvqt::bench::Seconds;

// Processor seconds of this process so far: in the program and in the system.
struct Cpu {
  double user = 0, system = 0;
};
Cpu CpuNow() {
  struct rusage usage;
  ::getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
  return Cpu{seconds(usage.ru_utime), seconds(usage.ru_stime)};
}
// The processor seconds of the last timed part, and the system's share of them.
double g_cpu = 0;
double g_cpuSystem = 0;
void TakeCpu(const Cpu& since) {
  const Cpu now = CpuNow();
  g_cpuSystem = now.system - since.system;
  g_cpu = now.user - since.user + g_cpuSystem;
}

struct Target {
  const char* name;
  int formatId;
};
constexpr Target kTargets[] = {{"metastock", 4}, {"ascii", 5}, {"ti", 0}, {"topvest", 8}};

const Target* FindTarget(const char* name) {
  for (const Target& t : kTargets)
    if (std::strcmp(t.name, name) == 0) return &t;
  return nullptr;
}

void UseRingTemplates() {
  kvqt::writerSettings().technicalInvestorFileType = 257;
  kvqt::writerSettings().technicalInvestorMaxRecords = 8000;
  kvqt::writerSettings().topVestFileType = 264;
  kvqt::writerSettings().topVestMaxRecords = 8000;
}

int Prepare(const Target& t, int instruments, int days, const std::string& dir) {
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir + "/new");
  if (!WriteResultLines(dir + "/input.txt", instruments, days, kvqt::Date(1990, 1, 1))) return 1;
  for (int i = 0; i < instruments; ++i) {
    kvqt::DatafileEntry entry;
    if (kvqt::CreateEntry(Symbol(i), "Benchmark instrument", 0, entry, t.formatId, dir + "/new/") != 1) return 1;
  }
  return 0;
}

std::string FreshCopy(const std::string& dir) {
  std::string work = dir + "/work";
  std::filesystem::remove_all(work);
  std::filesystem::copy(dir + "/new", work, std::filesystem::copy_options::recursive);
  return work + "/";
}

double Import(const Target& t, const std::string& dir) {
  const std::string work = FreshCopy(dir);
  kvqt::Format format("BENCH", "Benchmark", t.formatId);
  format.addDirectory(std::make_unique<kvqt::Directory>(work, t.formatId));
  kvqt::UserInfo userInfo;
  kvqt::LoginRecord login;
  kvqt::ActionInfo action;
  action.userInfo = &userInfo;
  action.login = &login;
  action.kind = 8;
  action.type = 2;
  action.localDataFile = dir + "/input.txt";
  action.sourceFormat = &format;
  action.sourceDirectory = format.directoryByName(work);
  kvqt::HeadlessProgress progress;
  const Cpu cpu = CpuNow();
  auto start = std::chrono::steady_clock::now();
  int rc = progress.run(kvqt::actionPostDatafile, action, 2);
  double seconds = Seconds(start);
  TakeCpu(cpu);
  action.importState.reset();
  std::filesystem::remove_all(work);
  return rc == kvqt::kStepFinished ? seconds : -1;
}

// The converter's encoders.
void PutLe16(unsigned char* p, unsigned v) {
  p[0] = static_cast<unsigned char>(v);
  p[1] = static_cast<unsigned char>(v >> 8);
}
void PutFloat(unsigned char* p, float f) { std::memcpy(p, &f, 4); }
void PutMbf(unsigned char* p, float f) {
  std::uint32_t bits;
  std::memcpy(&bits, &f, 4);
  std::uint32_t mbf = 0;
  if ((bits & 0x7fffffffu) != 0) mbf = ((((bits >> 23) & 0xffu) + 2u) << 24) | ((bits >> 31) << 23) | (bits & 0x7fffffu);
  std::memcpy(p, &mbf, 4);
}

struct Line {
  std::string_view symbol;
  int date = 0;
  float volume = 0, open = 0, high = 0, low = 0, close = 0;
};

bool ParseLine(std::string_view text, Line& line) {
  std::size_t comma = text.find(',');
  if (comma == std::string_view::npos) return false;
  line.symbol = text.substr(0, comma);
  const char* p = text.data() + comma + 1;
  const char* end = text.data() + text.size();
  auto number = [&](float& out) {
    double v = 0;
    auto r = std::from_chars(p, end, v);
    out = static_cast<float>(v);
    p = r.ptr < end ? r.ptr + 1 : end;
  };
  auto r = std::from_chars(p, end, line.date);
  p = r.ptr < end ? r.ptr + 1 : end;
  number(line.volume);
  number(line.open);
  number(line.high);
  number(line.low);
  number(line.close);
  return true;
}

// Appends one record of the format to `out`.
void Encode(int formatId, const Line& l, std::string& out) {
  unsigned char r[32] = {};
  std::size_t size = 0;
  int y = l.date / 10000, m = l.date / 100 % 100, d = l.date % 100;
  switch (formatId) {
    case 4:
      PutMbf(r, static_cast<float>((y - 1900) * 10000 + m * 100 + d));
      PutMbf(r + 4, l.open);
      PutMbf(r + 8, l.high);
      PutMbf(r + 12, l.low);
      PutMbf(r + 16, l.close);
      PutMbf(r + 20, l.volume);
      size = 28;
      break;
    case 0:
    case 8:
      r[0] = static_cast<unsigned char>(d);
      r[1] = static_cast<unsigned char>(m);
      PutLe16(r + 2, static_cast<unsigned>(y));
      PutFloat(r + 4, l.high);
      PutFloat(r + 8, l.low);
      PutFloat(r + 12, l.close);
      PutFloat(r + 16, l.volume);
      size = 20;
      if (formatId == 8) {
        PutFloat(r + 20, l.open);
        size = 24;
      }
      break;
    default: {
      char text[128];
      char* p = text;
      p = std::to_chars(p, text + sizeof text, l.date).ptr;
      for (float v : {l.open, l.high, l.low, l.close}) {
        *p++ = ',';
        p = std::to_chars(p, text + sizeof text, static_cast<double>(v), std::chars_format::fixed, 3).ptr;
      }
      *p++ = ',';
      p = std::to_chars(p, text + sizeof text, static_cast<long>(l.volume)).ptr;
      *p++ = '\r';
      *p++ = '\n';
      out.append(text, p);
      return;
    }
  }
  out.append(reinterpret_cast<const char*>(r), size);
}

std::string FileName(int formatId, const std::string& symbol, int number) {
  switch (formatId) {
    case 4:
      return "f" + std::to_string(number) + ".DAT";
    case 0:
      return symbol + ".dS1";
    case 8:
      return symbol + ".dS8";
    default:
      return symbol + ".prn";
  }
}

bool WriteWhole(const std::string& path, const std::string& bytes) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) return false;
  bool ok = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  return ::close(fd) == 0 && ok;
}

double Convert(const Target& t, const std::string& dir) {
  const std::string work = FreshCopy(dir);
  const Cpu cpu = CpuNow();
  auto start = std::chrono::steady_clock::now();
  std::FILE* in = std::fopen((dir + "/input.txt").c_str(), "rb");
  if (!in) return -1;
  std::unordered_map<std::string, int> numbers;
  std::string current, bytes;
  bool ok = true;
  auto flush = [&] {
    if (current.empty()) return;
    int& number = numbers[current];
    if (number == 0) number = static_cast<int>(numbers.size());
    std::string path = work + FileName(t.formatId, current, number);
    if (t.formatId == 0 || t.formatId == 8) {
      // A ring file: appended at its slots from the start.
      int fd = ::open(path.c_str(), O_WRONLY | O_CREAT, 0644);
      ok = ok && fd >= 0 && ::pwrite(fd, bytes.data(), bytes.size(), 0) == static_cast<ssize_t>(bytes.size());
      if (fd >= 0) ::close(fd);
    } else if (t.formatId == 4) {
      unsigned char header[28] = {};
      PutLe16(header + 2, static_cast<unsigned>(bytes.size() / 28 + 1));
      ok = ok && WriteWhole(path, std::string(reinterpret_cast<char*>(header), 28) + bytes);
    } else {
      ok = ok && WriteWhole(path, bytes);
    }
    bytes.clear();
  };
  char buffer[512];
  Line line;
  while (std::fgets(buffer, sizeof buffer, in)) {
    std::string_view text(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
    if (!ParseLine(text, line)) continue;
    if (line.symbol != current) {
      flush();
      current.assign(line.symbol);
    }
    Encode(t.formatId, line, bytes);
  }
  flush();
  std::fclose(in);
  double seconds = Seconds(start);
  TakeCpu(cpu);
  std::filesystem::remove_all(work);
  return ok ? seconds : -1;
}

long PeakKilobytes() {
  struct rusage usage;
  ::getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

void Quiet(const std::string& dir) {
  static kvqt::ScopedMessages quiet;
  kvqt::setProfilePath(dir + "/kvqt.ini");
  kvqt::Logs::SetDirectory(dir + "/");
  kvqt::InstallDirectoryRefresh();
  kvqt::SetReleaseCheck([] {});
  UseRingTemplates();
  (void)!std::freopen("/dev/null", "w", stdout);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: datafile_bench prepare|import|convert|both FORMAT ...\n");
    return 2;
  }
  const std::string mode = argv[1];
  const Target* t = FindTarget(argv[2]);
  if (!t) return 2;
  UseRingTemplates();
  kvqt::ScopedMessages quiet;
  if (mode == "prepare" && argc == 6) return Prepare(*t, std::atoi(argv[3]), std::atoi(argv[4]), argv[5]);
  if ((mode == "import" || mode == "convert") && argc == 4) {
    const std::string dir = argv[3];
    FILE* report = fdopen(dup(1), "w");
    Quiet(dir);
    double seconds = mode == "import" ? Import(*t, dir) : Convert(*t, dir);
    std::fprintf(report, "%s %s %.3f s (processor %.3f s, system %.3f s), peak %ld KiB\n", t->name, mode.c_str(), seconds, g_cpu, g_cpuSystem,
                 PeakKilobytes());
    std::fclose(report);
    return seconds < 0 ? 1 : 0;
  }
  if (mode == "both" && argc >= 5) {
    const int instruments = std::atoi(argv[3]);
    const int days = std::atoi(argv[4]);
    const int pairs = argc > 5 ? std::atoi(argv[5]) : 5;
    char dir_template[] = "/tmp/kvqt-datafile-bench-XXXXXX";
    if (!mkdtemp(dir_template)) return 1;
    const std::string dir = dir_template;
    if (Prepare(*t, instruments, days, dir) != 0) return 1;
    FILE* report = fdopen(dup(1), "w");
    Quiet(dir);
    std::vector<double> ratios, cpuRatios;
    double ours = 0, theirs = 0;
    for (int i = 0; i < pairs; ++i) {
      double a = Import(*t, dir);
      const double cpuA = g_cpu;
      double b = Convert(*t, dir);
      if (a <= 0 || b <= 0) return 1;
      ratios.push_back(b / a);
      if (cpuA > 0) cpuRatios.push_back(g_cpu / cpuA);
      ours += a;
      theirs += b;
    }
    std::sort(ratios.begin(), ratios.end());
    std::sort(cpuRatios.begin(), cpuRatios.end());
    const double lines = static_cast<double>(instruments) * days;
    std::fprintf(report,
                 "%-9s %d x %d: import %.3f s (%.0f ns/line), converter %.3f s; converter/import median %.2f "
                 "(min %.2f, max %.2f); processor time median %.2f\n",
                 t->name, instruments, days, ours / pairs, ours / pairs / lines * 1e9, theirs / pairs,
                 ratios[ratios.size() / 2], ratios.front(), ratios.back(),
                 cpuRatios.empty() ? 0.0 : cpuRatios[cpuRatios.size() / 2]);
    std::fclose(report);
    std::filesystem::remove_all(dir);
    return 0;
  }
  return 2;
}
